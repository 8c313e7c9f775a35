// Station scan, sorted listing and overlay load+scan against the in-process fake host, with
// recording off and no event processing between stations.
#include <algorithm>
#include <ctime>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "FakeKestrelHost.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"

namespace {

struct Setup {
    FakeKestrelHost host;
    AlarmEngine engine{host, host.Map(), nullptr};

    Setup() {
        host.recording = false;
        engine.setOwnCallsign(QStringLiteral("OWN"));
        engine.setRadiusText(QStringLiteral("10"));
        engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
        engine.setSwitch(AlarmEngine::Switch::BringToFront, false);
        engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
    }

    // `count` stations in a scrambled order; `inRange` of them within the radius.
    void addStations(int count, int inRange) {
        for (int i = 0; i < count; ++i) {
            const int n = int((qint64(i) * 7919) % count);
            host.addStation(QStringLiteral("S%1").arg(n), n < inRange ? 5.0f : 50.0f);
        }
        host.buildIndex();
    }
};

// Most stations out of range: the walk itself.
void BM_ScanStations(benchmark::State& state) {
    Setup s;
    const int count = int(state.range(0));
    s.addStations(count, count / 100);
    for (auto _ : state)
        benchmark::DoNotOptimize(tickToEnd(s.engine));
    state.SetItemsProcessed(state.iterations() * count);
    state.counters["stations/s"] =
        benchmark::Counter(double(state.iterations()) * count, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanStations)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// 5,000 stations all within range, listed into the sorted alarm list.
void BM_ListFiveThousandInRange(benchmark::State& state) {
    Setup s;
    s.addStations(5000, 5000);
    for (auto _ : state)
        benchmark::DoNotOptimize(tickToEnd(s.engine));
    state.SetItemsProcessed(state.iterations() * 5000);
}
BENCHMARK(BM_ListFiveThousandInRange)->Unit(benchmark::kMillisecond);

// A whole tick over a list of N entries (the own station included, one in a hundred of the
// others in range), run from the event loop as the window runs it: its cost per station,
// which must stay flat as the list grows.
void BM_Tick(benchmark::State& state) {
    Setup s;
    const int count = int(state.range(0));
    s.host.addStation(QStringLiteral("OWN"), 0.0f);
    s.addStations(count - 1, count / 100);
    // Thread CPU time: on a shared machine the wall clock mostly measures other processes.
    const auto cpuNow = [] {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
    };
    std::vector<qint64> tickCpu;
    for (auto _ : state) {
        const qint64 start = cpuNow();
        tickToEnd(s.engine);
        tickCpu.push_back(cpuNow() - start);
    }
    std::sort(tickCpu.begin(), tickCpu.end());
    state.counters["per_station_us"] = double(tickCpu[tickCpu.size() / 2]) / 1000.0 / count;
}
BENCHMARK(BM_Tick)->Arg(1000)->Arg(10000)->Arg(32767)->Unit(benchmark::kMillisecond);

// 2,500 objects in 20 files, read from disk and measured on every scan (warm cache).
void BM_OverlayLoadAndScan(benchmark::State& state) {
    Setup s;
    s.host.addStation(QStringLiteral("OWN"), 0.0f, 295.12f, 3132.34f);
    s.host.buildIndex();
    QTemporaryDir folder;
    for (int f = 0; f < 20; ++f) {
        QByteArray content;
        for (int i = 0; i < 125; ++i) {
            const int minutes = (f * 125 + i) % 60;
            content += "OBJ" + QByteArray::number(f * 125 + i) + "!52" +
                       QByteArray::number(minutes).rightJustified(2, '0') +
                       ".34N/00455.12E#an overlay object " + QByteArray::number(i) + "\r\n";
        }
        QFile file(QDir(folder.path()).filePath(QStringLiteral("f%1.pos").arg(f)));
        file.open(QIODevice::WriteOnly);
        file.write(content);
    }
    s.engine.setOverlaysFolder([&] { return folder.path(); });
    s.engine.setRadiusText(QStringLiteral("30"));
    for (auto _ : state)
        s.engine.scanOverlays();
    if (s.engine.overlays().count != 2500)
        state.SkipWithError("expected 2500 objects");
    state.counters["listed"] = double(s.engine.overlayLines().count());
}
BENCHMARK(BM_OverlayLoadAndScan)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return runBenchmarks(argc, argv);
}
