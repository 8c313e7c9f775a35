// The cost per station of the walk a station scan makes (StationListItem, then GetStation
// with the callsign cut out of the entry), over 1,000 stations: through the real kestrel32
// on a session bus, and through the in-process fake for comparison.
//
// Run: build/bench/bench_dbus. Without a session bus it restarts itself under
// dbus-run-session, so it always measures on a private bus with nothing else on it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <unistd.h>

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include "BenchMain.h"
#include "BenchPrograms.h"
#include "FakeKestrelHost.h"
#include "host/dbus/KestrelBusNames.h"
#include "host/dbus/KestrelHostConnection.h"

namespace {

constexpr int stationCount = 1000;

QString callsignOf(const QString& entry) {
    const qsizetype blank = entry.indexOf(QLatin1Char(' '), 1);
    QString call = entry.mid(1, blank < 0 ? -1 : blank - 1);
    if (call.endsWith(QLatin1Char('*')))
        call.chop(1);
    return call;
}

// One pass over the list as the station scan makes it; returns the stations found.
int walk(KestrelHost& host) {
    int found = 0;
    KestrelStation station;
    const int count = host.StationCount();
    for (int i = 0; i < count; ++i) {
        const QString entry = host.StationListItem(qint16(i));
        if (entry.isEmpty())
            break;
        station.Callsign = callsignOf(entry);
        found += host.GetStation(station) ? 1 : 0;
    }
    return found;
}

// kestrel32 with 1,000 stations, for as long as the benchmark runs.
class TrackerProcess {
public:
    bool start() {
        return benchprograms::startKestrel32(m_process, m_dir.path(),
                                             benchprograms::scrambledScenario(stationCount, 100));
    }
    ~TrackerProcess() {
        m_process.terminate();
        m_process.waitForFinished(5000);
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
};

void BM_ScanWalkOverBus(benchmark::State& state) {
    TrackerProcess tracker;
    if (!tracker.start()) {
        state.SkipWithError("kestrel32 did not come onto the bus");
        return;
    }
    std::unique_ptr<KestrelHost> host = createKestrelHost();
    int found = 0;
    for (auto _ : state)
        found = walk(*host);
    if (found != stationCount)
        state.SkipWithError("the walk did not find every station");
    state.counters["stations"] = found;
    state.counters["per_station"] =
        benchmark::Counter(double(state.iterations()) * stationCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScanWalkOverBus)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

void BM_ScanWalkInProcess(benchmark::State& state) {
    FakeKestrelHost host;
    host.recording = false;
    for (int i = 0; i < stationCount; ++i)
        host.addStation(QStringLiteral("ST%1").arg(i), float(i) * 0.01f);
    int found = 0;
    for (auto _ : state)
        found = walk(host);
    state.counters["stations"] = found;
    state.counters["per_station"] =
        benchmark::Counter(double(state.iterations()) * stationCount,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ScanWalkInProcess)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    restartOnAPrivateBusIfNone(argv);
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
