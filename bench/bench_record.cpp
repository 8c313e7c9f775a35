// The figures of the performance record that need the real programs: a whole alarm tick
// over 10,000 stations through kestrel32 on the bus (with the longest time the window would
// go without processing events), start-up of Ringwarden beside kestrel32 to its window being
// shown, and Ringwarden's resident memory once idle. scripts/bench.sh runs this beside
// bench_engine and gathers the figures into bench.json.
//
// Run: build/bench/bench_record. Without a session bus it restarts itself under
// dbus-run-session, so it measures on a private bus with nothing else on it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "engine/AlarmEngine.h"
#include "host/KestrelHost.h"
#include "host/dbus/KestrelHostConnection.h"

namespace {

constexpr int tickStations = 10000; // the own station included
constexpr int inRange = 100;

// The own station and 9,999 others: `inRange` of them within 5 km, the rest 40 km and more
// away (the alarm radius is 10 km), in a scrambled order.
QByteArray scenario() {
    QByteArray json = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0}, "stations": [)";
    for (int i = 1; i < tickStations; ++i) {
        const int n = int((qint64(i) * 7919) % tickStations);
        const bool near = n <= inRange; // n runs from 1
        const double lat = near ? 52.0 + (n % 10) * 0.004 : 52.4 + (n % 100) * 0.01;
        const double lon = near ? -1.0 + (n / 10) * 0.006 : -1.5 + (n / 100) * 0.01;
        json += QStringLiteral(R"(%1{"callsign": "ST%2", "lat": %3, "lon": %4})")
                    .arg(i > 1 ? "," : "")
                    .arg(n)
                    .arg(lat, 0, 'f', 5)
                    .arg(lon, 0, 'f', 5)
                    .toUtf8();
    }
    return json + "]}";
}

// kestrel32 and, on request, Ringwarden beside it: each with the same private settings
// home, so that Ringwarden finds this tracker's folder and own callsign.
class Programs {
public:
    bool startTracker() {
        QFile file(m_dir.filePath(QStringLiteral("scenario.json")));
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(scenario());
        file.close();
        m_tracker.setProcessEnvironment(environment());
        m_tracker.start(QStringLiteral(KESTREL32_PROGRAM),
                        {QStringLiteral("--scenario"), file.fileName(), QStringLiteral("--folder"),
                         m_dir.filePath(QStringLiteral("k32")), QStringLiteral("--journal"),
                         journalPath()});
        QDeadlineTimer deadline(30000);
        while (!kestrelHostOnBus()) {
            if (deadline.hasExpired() || m_tracker.state() == QProcess::NotRunning)
                return false;
            QThread::msleep(20);
        }
        return true;
    }

    // A copy of the program and its sounds in a folder of its own, as installed portably,
    // so that its settings and list files land there and not in the build.
    bool copyRingwarden() {
        const QString bin = QStringLiteral(RINGWARDEN_BIN_DIR);
        const QDir target(m_dir.filePath(QStringLiteral("rw")));
        if (!QDir().mkpath(target.filePath(QStringLiteral("WAV"))))
            return false;
        if (!QFile::copy(bin + QStringLiteral("/Ringwarden"), program()))
            return false;
        const QDir wav(bin + QStringLiteral("/WAV"));
        for (const QString& name : wav.entryList(QDir::Files))
            QFile::copy(wav.filePath(name), target.filePath(QStringLiteral("WAV/") + name));
        return true;
    }

    // Milliseconds from starting Ringwarden to its EventsEnabled call, which it makes right
    // after showing its window and letting the first paint run; -1 when it never came.
    qint64 startRingwarden() {
        const int before = eventsEnabledCalls();
        m_ringwarden.setProcessEnvironment(environment());
        QElapsedTimer clock;
        clock.start();
        m_ringwarden.start(program(), {});
        while (eventsEnabledCalls() == before) {
            if (clock.elapsed() > 30000 || m_ringwarden.state() == QProcess::NotRunning)
                return -1;
            QThread::usleep(500);
        }
        return clock.elapsed();
    }

    void stopRingwarden() {
        m_ringwarden.kill();
        m_ringwarden.waitForFinished(5000);
    }

    // Resident memory of Ringwarden in MiB (VmRSS), or -1.
    double ringwardenRssMb() const {
        QFile status(QStringLiteral("/proc/%1/status").arg(m_ringwarden.processId()));
        if (!status.open(QIODevice::ReadOnly))
            return -1.0;
        for (const QByteArray& line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        return -1.0;
    }

    ~Programs() {
        stopRingwarden();
        m_tracker.terminate();
        if (!m_tracker.waitForFinished(5000))
            m_tracker.kill();
    }

private:
    QString program() const { return m_dir.filePath(QStringLiteral("rw/Ringwarden")); }
    QString journalPath() const { return m_dir.filePath(QStringLiteral("journal.jsonl")); }
    int eventsEnabledCalls() const {
        QFile journal(journalPath());
        if (!journal.open(QIODevice::ReadOnly))
            return 0;
        return int(journal.readAll().count(R"("call":"EventsEnabled")"));
    }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_dir.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
        env.insert(QStringLiteral("HOME"), m_dir.path());
        QDir().mkpath(m_dir.filePath(QStringLiteral("run")));
        return env;
    }

    QTemporaryDir m_dir;
    QProcess m_tracker;
    QProcess m_ringwarden;
};

// Hides the host's block calls, for the comparison with one bus round trip per call.
class SingleCallsOnly final : public KestrelHost {
public:
    explicit SingleCallsOnly(KestrelHost& host) : m_host(host) {}
    KestrelMap* Map() override { return m_host.Map(); }
    qint16 StationCount() override { return m_host.StationCount(); }
    QString StationListItem(qint16 index) override { return m_host.StationListItem(index); }
    bool GetStation(KestrelStation& station) override { return m_host.GetStation(station); }
    void setEventsEnabled(qint32 value) override { m_host.setEventsEnabled(value); }
    void AlertStation(const QString& callsign) override { m_host.AlertStation(callsign); }
    void SetBeacon(const KestrelBeacon& beacon) override { m_host.SetBeacon(beacon); }

private:
    KestrelHost& m_host;
};

// One whole Timer1 tick (own station, ring, sweep, station scan, alarm decision) over the
// bus, events let through between stations as the window does. The event-loop gap is wall
// time: while a bus call waits, the window processes nothing.
void tickOverBus(benchmark::State& state, bool blocks) {
    Programs programs;
    if (!programs.startTracker()) {
        state.SkipWithError("kestrel32 did not come onto the bus");
        return;
    }
    std::unique_ptr<KestrelHost> bus = createKestrelHost();
    SingleCallsOnly single(*bus);
    KestrelHost& host = blocks ? *bus : static_cast<KestrelHost&>(single);
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    AlarmEngine engine(host, host.Map(), nullptr, [&] {
        QCoreApplication::processEvents();
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    engine.setOwnCallsign(QStringLiteral("G0OWN"));
    engine.setRadiusText(QStringLiteral("10"));
    engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
    engine.setSwitch(AlarmEngine::Switch::BringToFront, false);
    engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
    QString failure;
    QObject::connect(&engine, &AlarmEngine::tickFailed,
                     [&](const QString& message) { failure = message; });
    std::vector<qint64> perTick;
    for (auto _ : state) {
        longest = 0;
        last = 0;
        clock.start();
        engine.Timer1_Timer();
        longest = std::max(longest, clock.nsecsElapsed() - last);
        perTick.push_back(longest);
    }
    if (!failure.isEmpty() || engine.alarmLines().count() != inRange) {
        const std::string why = QStringLiteral("the tick listed %1 stations (%2)")
                                    .arg(engine.alarmLines().count())
                                    .arg(failure)
                                    .toStdString();
        state.SkipWithError(why.c_str());
        return;
    }
    std::sort(perTick.begin(), perTick.end());
    // Each tick's longest stretch; the median over the ticks is the figure (a shared machine
    // preempts the odd tick for milliseconds), the largest is shown beside it.
    state.counters["gap_median_ms"] = double(perTick[perTick.size() / 2]) / 1e6;
    state.counters["gap_max_ms"] = double(perTick.back()) / 1e6;
    state.counters["listed"] = engine.alarmLines().count();
}

void BM_TickOverBus10000(benchmark::State& state) {
    tickOverBus(state, true);
}
BENCHMARK(BM_TickOverBus10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);

// The same tick with one bus round trip per call, for comparison.
void BM_TickOverBus10000SingleCalls(benchmark::State& state) {
    tickOverBus(state, false);
}
BENCHMARK(BM_TickOverBus10000SingleCalls)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

// Start-up of a copy of Ringwarden beside kestrel32 to its window shown, and its resident
// memory after two idle seconds (no tick has run yet: the first comes after ten).
void BM_StartupAndIdleMemory(benchmark::State& state) {
    Programs programs;
    if (!programs.startTracker() || !programs.copyRingwarden()) {
        state.SkipWithError("kestrel32 did not start or Ringwarden could not be copied");
        return;
    }
    std::vector<double> startMs;
    std::vector<double> rssMb;
    for (auto _ : state) {
        const qint64 ms = programs.startRingwarden();
        if (ms < 0) {
            state.SkipWithError("Ringwarden did not finish starting");
            return;
        }
        startMs.push_back(double(ms));
        state.PauseTiming();
        QThread::sleep(2);
        rssMb.push_back(programs.ringwardenRssMb());
        programs.stopRingwarden();
        state.ResumeTiming();
    }
    std::sort(startMs.begin(), startMs.end());
    std::sort(rssMb.begin(), rssMb.end());
    state.counters["startup_ms"] = startMs[startMs.size() / 2];
    state.counters["idle_rss_mb"] = rssMb[rssMb.size() / 2];
}
BENCHMARK(BM_StartupAndIdleMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS") &&
        qEnvironmentVariableIsEmpty("BENCH_RECORD_UNDER_SESSION")) {
        // No bus: run this very benchmark again on a private one.
        setenv("BENCH_RECORD_UNDER_SESSION", "1", 1);
        std::vector<char*> args{const_cast<char*>("dbus-run-session"), const_cast<char*>("--")};
        for (int i = 0; i < argc; ++i)
            args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("dbus-run-session", args.data());
        perror("bench_record: cannot start dbus-run-session");
        return 2;
    }
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
