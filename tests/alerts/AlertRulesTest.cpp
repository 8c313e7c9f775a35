// A callsign breaking a history line, a change missed or doubled, a wrong text, a lost rotation.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "alerts/AlarmHistory.h"
#include "alerts/AlarmSpeaker.h"
#include "alerts/DesktopNotifier.h"
#include "alerts/LineEscape.h"

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
}

TEST(AlarmHistory, AnAppendAfterATornLastLineStartsALineOfItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"Ringwarden.HST"_qs);
    QFile torn(path);
    ASSERT_TRUE(torn.open(QIODevice::WriteOnly));
    torn.write("2026-12-08T10:00:00Z|entered|G1A|1.5\n2026-12-08T10:00:10Z|entered|TO");
    torn.close();
    AlarmHistory history(path);
    ASSERT_TRUE(history.append(HistoryEvent::Entered, u"PD1AAA"_qs, u"1.999"_qs));
    ASSERT_TRUE(history.append(HistoryEvent::Left, u"PD1AAA"_qs, u"2."_qs));
    QStringList callsigns;
    for (const HistoryEntry& entry : AlarmHistory::readLast(path, 10))
        callsigns << entry.event + u' ' + entry.callsign;
    EXPECT_EQ(callsigns, (QStringList{u"left PD1AAA"_qs, u"entered PD1AAA"_qs, u"entered TO"_qs,
                                      u"entered G1A"_qs}));
    ASSERT_TRUE(torn.open(QIODevice::ReadOnly));
    EXPECT_EQ(torn.readAll().count('\n'), 4);
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
