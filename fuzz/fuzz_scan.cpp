// The station scan over entry texts as the host lists them: the callsign cut (from the second
// character up to the first blank, one trailing "*" dropped) and what the scan lists.
// Input: radius text LF own callsign LF then one entry text a line; the byte after each
// entry's first character sets its distance, and a "!" ending an entry marks it acknowledged.
#include <QCoreApplication>

#include "FakeKestrelHost.h"
#include "FuzzInput.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"

namespace {

// The cut as the host's entry texts are documented; used only to name the fake stations.
QString documentedCut(const QString& entry) {
    const qsizetype blank = entry.indexOf(u' ', 1);
    if (blank < 0)
        return QString();
    QString callsign = entry.mid(1, blank - 1);
    if (callsign.endsWith(u'*'))
        callsign.chop(1);
    return callsign;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The tick goes on from the event loop.
    static int argc = 1;
    static char name[] = "fuzz_scan";
    static char* argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    const HeadAndBody input = splitHead(fuzzBytes(data, size), 2);
    FakeKestrelHost host;
    host.recording = false;
    AlarmEngine engine(host, host.Map(), nullptr);
    engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
    engine.setSwitch(AlarmEngine::Switch::BringToFront, false);
    engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
    engine.setRadiusText(QString::fromLatin1(input.head[0]));
    const QString ownCallsign = QString::fromLatin1(input.head[1]);
    engine.setOwnCallsign(ownCallsign);
    QString caption;
    QObject::connect(&engine, &AlarmEngine::minDistCaptionChanged,
                     [&caption](const QString& text) { caption = text; });
    const TextList& stations = engine.alarmLines();
    const TextList& acked = engine.ackedCalls();
    QStringList ackedCalls;

    const QList<QByteArray> lines = input.body.split('\n');
    for (const QByteArray& line : lines) {
        if (host.stations.size() >= 2000)
            break;
        FakeStation heard;
        heard.entryText = QString::fromLatin1(line);
        heard.callsign = documentedCut(heard.entryText);
        heard.distance = line.size() > 1 ? float(quint8(line[1])) / 8.0f : 0.0f;
        host.addEntry(heard);
        if (line.endsWith('!') && !ackedCalls.contains(heard.callsign))
            ackedCalls << heard.callsign;
    }
    engine.loadLists(ackedCalls, {});
    host.buildIndex();

    FUZZ_CHECK(tickToEnd(engine));
    FUZZ_CHECK(stations.count() <= int(host.stations.size()));
    for (int i = 0; i < stations.count(); ++i) {
        const QString& text = stations.at(i);
        const qsizetype at = text.lastIndexOf(QStringLiteral(" distance "));
        FUZZ_CHECK(at >= 0);
        const QString callsign = text.left(at);
        // Acknowledged stations and the own station are never listed.
        FUZZ_CHECK(!acked.contains(callsign));
        FUZZ_CHECK(callsign != ownCallsign);
        // The cut never keeps a blank.
        FUZZ_CHECK(!callsign.contains(u' '));
        if (i > 0)
            FUZZ_CHECK(!TextList::lessThan(text, stations.at(i - 1)));
    }
    // A caption is set only by a pass that went through; it then tells the minimum.
    if (!caption.isEmpty() && stations.count() > 0)
        FUZZ_CHECK(caption.startsWith(QStringLiteral("(minimum distance observed is ")));
    return 0;
}
