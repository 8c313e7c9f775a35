// A callsign breaking a history line, a change missed or doubled, a wrong text, a lost rotation.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTimeZone>

#include "TestFiles.h"
#include "alerts/AlarmHistory.h"
#include "alerts/AlarmSpeaker.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/LineEscape.h"
#include "alerts/SpeechLocale.h"
#include "alerts/SpeechQueue.h"

namespace {

TEST(LineEscape, KeepsARecordOnOneLineAndPrintableTextAsItIs) {
    const std::pair<QString, QString> rows[] = {
        {u"PD1AAA Ü\u00A0\U0001F4E1"_qs, u"PD1AAA Ü\u00A0\U0001F4E1"_qs},
        {u"A|B\t\\x41\n\r\x7F"_qs, u"A\\x7CB\\x09\\x5Cx41\\x0A\\x0D\\x7F"_qs},
        {u"A\u2028"_qs + QChar(0xD800) + u'A', u"A\\u{2028}\\u{D800}A"_qs}};
    for (const auto& [text, escaped] : rows)
        EXPECT_EQ(escapeForLine(text), escaped) << text.toStdString();
}

TEST(ListedStations, AreReadFromTheEnginesLinesAndChangeByCallsignOnly) {
    const StationChanges changes = compareListedStations(
        listedStations({u"A distance 1"_qs, u"B distance 2"_qs, u"disabled"_qs}),
        listedStations({u"B distance 3"_qs, u"C distance 4"_qs, u"C (watch) 4"_qs}));
    EXPECT_EQ(changes.entered, (QList<ListedStation>{{u"C"_qs, u"4"_qs}}));
    EXPECT_EQ(changes.left, (QList<ListedStation>{{u"A"_qs, u"1"_qs}, {u"disabled"_qs, {}}}));
    // Newest first: the new ones in list order, then the earlier ones at their new distance.
    EXPECT_EQ(
        newestFirst({{u"B"_qs, u"2"_qs}, {u"A"_qs, u"1"_qs}, {u"Z"_qs, u"9"_qs}},
                    listedStations({u"A distance 5"_qs, u"B distance 6"_qs, u"C distance 7"_qs,
                                    u"D (watch) 8"_qs, u"C (watch) 7"_qs})),
        (QList<ListedStation>{
            {u"C"_qs, u"7"_qs}, {u"D"_qs, u"8"_qs}, {u"B"_qs, u"6"_qs}, {u"A"_qs, u"5"_qs}}));
}

TEST(HistoryLine, ReadsBackWhatItWroteAndNothingElse) {
    const HistoryEntry entry{QDateTime({2026, 3, 1}, {12, 0, 5}, Qt::UTC), u"acked"_qs,
                             u"PD1AAA"_qs, u"2.5"_qs};
    EXPECT_EQ(historyLine(entry), u"2026-03-01T12:00:05Z|acked|PD1AAA|2.5"_qs);
    EXPECT_EQ(parseHistoryLine(historyLine(entry)), entry);
    EXPECT_FALSE(parseHistoryLine(u"yesterday|left|A|1"_qs));
    EXPECT_FALSE(parseHistoryLine(u"2026-03-01T12:00:05Z|left|A|1|x"_qs));
}

TEST(AlertTexts, SpeakOnlyWhatCanBeSaidAndShowNoMarkup) {
    EXPECT_EQ(spokenStation({u"DL9X-7\n|"_qs, {}}), u"D L 9 X - 7"_qs);
    EXPECT_EQ(DesktopNotifier::bodyText({{u"PD1AAA"_qs, u"2.5"_qs}, {u"<b>|&"_qs, u"3"_qs}}),
              u"PD1AAA 2.5\n&lt;b&gt;\\x7C&amp; 3"_qs);
    EXPECT_EQ(DesktopNotifier::summaryText(1), u"Ringwarden: 1 station in range"_qs);
    for (const int count : {10, 11, 25}) {
        QList<ListedStation> stations;
        for (int i = 0; i < count; ++i)
            stations.append({u"S%1"_qs.arg(i), u"1."_qs});
        const QStringList lines = DesktopNotifier::bodyText(stations).split(u'\n');
        ASSERT_EQ(lines.size(), DesktopNotifier::kMaxBodyLines) << count;
        EXPECT_EQ(lines.first(), u"S0 1."_qs);
        EXPECT_EQ(lines.last(), count == 10 ? u"S9 1."_qs : u"and %1 more"_qs.arg(count - 9));
    }
}

TEST(SpeechLocale, TheOperatorsLanguageElseEnglishElseWhatTheEngineHas) {
    const QLocale us(QLocale::English, QLocale::UnitedStates),
        gb(QLocale::English, QLocale::UnitedKingdom), de(QLocale::German, QLocale::Germany),
        at(QLocale::German, QLocale::Austria), fr(QLocale::French, QLocale::France);
    const struct {
        QLocale wanted;
        QList<QLocale> offered;
        std::optional<QLocale> chosen;
    } rows[] = {{QLocale::c(), {de, gb, us}, gb},
                {at, {de, at, us}, at},
                {at, {fr, de, us}, de},
                {fr, {de, us}, us},
                {QLocale::c(), {de, fr}, de},
                {us, {}, std::nullopt},
                {QLocale(QLocale::English, QLocale::Australia), {de, us, gb}, us}};
    for (const auto& row : rows)
        EXPECT_EQ(speechLocale(row.wanted, row.offered), row.chosen)
            << row.wanted.name().toStdString();
}

TEST(SpeechQueue, HoldsAFewTextsAndSumsUpTheRest) {
    SpeechQueue queue;
    queue.add({{u"A"_qs, u"1"_qs}, {u"B"_qs, u"2"_qs}});
    queue.add({{u"C"_qs, {}}, {u"D"_qs, {}}, {u"E"_qs, {}}});
    EXPECT_EQ(queue.texts(), (QStringList{u"A, 1"_qs, u"B, 2"_qs, u"C"_qs, u"and 2 more"_qs}));
    queue.drop({u"B"_qs, u"E"_qs});
    EXPECT_EQ(queue.texts(), (QStringList{u"A, 1"_qs, u"C"_qs, u"and 1 more"_qs}));
    queue.add({{u"F"_qs, {}}}); // after the "more", in order of arrival
    EXPECT_EQ(queue.takeNext(), u"A, 1"_qs);
    EXPECT_EQ(queue.takeNext(), u"C"_qs);
    EXPECT_EQ(queue.takeNext(), u"and 2 more"_qs);
    EXPECT_EQ(queue.takeNext(), std::nullopt);
    queue.add({{u"G"_qs, {}}});
    queue.drop({u"G"_qs});
    EXPECT_TRUE(queue.isEmpty());
}

TEST(AlarmHistory, AnAppendAfterATornLastLineStartsALineOfItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Ringwarden.HST"_qs);
    ASSERT_TRUE(
        putFile(path, "2026-12-08T10:00:00Z|entered|G1A|1.5\n2026-12-08T10:00:10Z|entered|TO"));
    // A clock an hour ahead of UTC: the line is stamped in UTC all the same.
    const QDateTime stamp({2026, 12, 8}, {11, 0, 20}, QTimeZone(3600));
    AlarmHistory history(path, [&] { return stamp; });
    ASSERT_TRUE(history.append(HistoryEvent::Entered, u"PD1AAA"_qs, u"1.999"_qs));
    ASSERT_TRUE(history.append(HistoryEvent::Left, u"PD1AAA"_qs, u"2."_qs));
    EXPECT_EQ(fileBytes(path), "2026-12-08T10:00:00Z|entered|G1A|1.5\n"
                               "2026-12-08T10:00:10Z|entered|TO\n"
                               "2026-12-08T10:00:20Z|entered|PD1AAA|1.999\n"
                               "2026-12-08T10:00:20Z|left|PD1AAA|2.\n");
    QStringList callsigns;
    for (const HistoryEntry& entry : AlarmHistory::readLast(path, 10))
        callsigns << entry.event + u' ' + entry.callsign;
    EXPECT_EQ(callsigns, (QStringList{u"left PD1AAA"_qs, u"entered PD1AAA"_qs, u"entered TO"_qs,
                                      u"entered G1A"_qs}));
}

TEST(AlarmHistory, RotatesBeforeOneMebibyteKeepingOneOlderFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Ringwarden.HST"_qs), older = path + u".1"_qs;
    AlarmHistory history(path);
    int written = 0;
    const auto callsign = [&](int i) { return u"C%1"_qs.arg(i) + QString(200, u'X'); };
    for (int rotation = 0; rotation < 2; ++rotation) {
        for (qint64 size = 0; QFileInfo(path).size() >= size;) {
            size = QFileInfo(path).size();
            ASSERT_TRUE(history.append(HistoryEvent::Entered, callsign(written++), u"2.5"_qs));
        }
        EXPECT_LE(QFileInfo(older).size(), AlarmHistory::kRotateBytes);
        EXPECT_GT(QFileInfo(older).size(), AlarmHistory::kRotateBytes - 300);
        // Newest first, none split; the second rotation drops the oldest file.
        const QList<HistoryEntry> last = AlarmHistory::readLast(path, written);
        EXPECT_EQ(last.size() == written, rotation == 0);
        EXPECT_EQ(last.first().callsign, callsign(written - 1));
        EXPECT_EQ(last.last().callsign, callsign(written - int(last.size())));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

} // namespace
