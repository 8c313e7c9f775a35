// Decoding cost of the radio feed. A busy APRS-IS full feed carries some hundreds of
// packets a second; a radio channel at 1200 baud a few. These numbers show the margin.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>

#include "BenchMain.h"
#include "FeedGenerator.h"
#include "feed/AprsDecoder.h"
#include "feed/Ax25Frame.h"
#include "feed/FeedStations.h"
#include "feed/KissDeframer.h"
#include "feed/ReplaySource.h"
#include "feed/Tnc2.h"

namespace {

const QList<QByteArray> Lines = {
    "N0CALL-1>APRS,WIDE1-1,WIDE2-1,qAR,N1GATE:!4903.50N/07201.75W-Test 001234",
    "N0CALL-2>APRS,TCPIP*,qAC,T2TEST:@092345z3351.23S\\15112.34E&PHG5132",
    "N0CALL-3>APRS,qAR,N1GATE:=/5L!!<*e7>7P[compressed",
    "N0CALL-4>S32UVT,WIDE1-1,qAR,N1GATE:`(_fn\"O>/]mobile=",
    "N0CALL-5>APRS,TCPIP*,qAC,T2TEST:;LEADER   *092345z4903.50N/07201.75W>088/036",
    "N0CALL-6>APRS,TCPIP*,qAC,T2TEST:>status text without a position",
};

// One APRS-IS line from text to position (or rejection), the whole path of a line.
void BM_Tnc2LineToPosition(benchmark::State& state) {
    qsizetype i = 0;
    for (auto _ : state) {
        const feed::Tnc2Result parsed = feed::parseTnc2(Lines[i++ % Lines.size()]);
        benchmark::DoNotOptimize(feed::decodeAprs(parsed.frame));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Tnc2LineToPosition);

// A KISS byte stream of many frames, deframed and decoded as AX.25 then APRS.
void BM_KissStreamToPositions(benchmark::State& state) {
    QByteArray stream;
    int frames = 0;
    for (int n = 0; n < 100; ++n) {
        for (const QByteArray& line : Lines) {
            feed::Ax25Frame f = feed::parseTnc2(line).frame;
            f.path.clear(); // q-constructs are not on-air addresses
            stream += feed::kissEncode(feed::encodeAx25(f));
            ++frames;
        }
    }
    for (auto _ : state) {
        feed::KissDeframer deframer;
        for (const feed::KissFrame& k : deframer.feed(stream)) {
            const feed::Ax25Result ax25 = feed::decodeAx25(k.data);
            benchmark::DoNotOptimize(feed::decodeAprs(ax25.frame));
        }
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.SetBytesProcessed(state.iterations() * stream.size());
}
BENCHMARK(BM_KissStreamToPositions);

// A generated feed of 40,000 stations replayed as fast as it goes: each line read, decoded
// and put into the station list, which fills to the host's limit and then lets its longest
// unheard stations go; the event loop turns between slices as it does in kestrel32.
void BM_FeedIngest(benchmark::State& state) {
    const int stations = int(state.range(0));
    const benchfeed::GeneratedFeed generated = benchfeed::generateFeed(stations, stations * 2);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.txt"));
    if (!benchfeed::writeFeed(path, generated.lines)) {
        state.SkipWithError("cannot write the feed");
        return;
    }
    int listed = 0;
    quint64 decoded = 0;
    for (auto _ : state) {
        StationStore store;
        store.setOwn(QStringLiteral("G0OWN"), 52.0, -1.0);
        FeedStations stations(store, 60.0);
        feed::ReplaySource replay;
        QObject::connect(&replay, &feed::ReplaySource::reportReceived, &replay,
                         [&](const feed::PositionReport& r) { stations.hear(r, 0); });
        QEventLoop loop;
        QObject::connect(&replay, &feed::ReplaySource::replayFinished, &loop, &QEventLoop::quit);
        QString error;
        if (!replay.play(path, 0, &error)) {
            state.SkipWithError(error.toStdString().c_str());
            return;
        }
        loop.exec();
        listed = store.count();
        decoded = replay.counters().decoded;
    }
    // Every line but the noise gives a station: a kind the decoder refuses shows here.
    if (decoded != quint64(generated.decodable) || listed != FeedStations::MaxEntries) {
        const std::string why = QStringLiteral("decoded %1 of %2 lines, listed %3")
                                    .arg(decoded)
                                    .arg(generated.decodable)
                                    .arg(listed)
                                    .toStdString();
        state.SkipWithError(why.c_str());
        return;
    }
    const double lines = double(generated.lines.size());
    state.counters["lines_per_s"] =
        benchmark::Counter(double(state.iterations()) * lines, benchmark::Counter::kIsRate);
    state.counters["lines"] = lines;
}
BENCHMARK(BM_FeedIngest)->Arg(40000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
