// Guards against a station or object listed or marked wrongly, lost mid-scan, or a failure mistold.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "TestFiles.h"
#include "engine/AlarmEngine.h"
#include "engine/Geodesy.h"
#include "engine/SoundPlayer.h"
#include "numbers/NumericText.h"

namespace {

class RecordingSound final : public SoundPlayer {
public:
    void playAsync(const QString& path) override { plays << QFileInfo(path).fileName(); }
    void playToEnd(const QString& path) override {
        plays << QFileInfo(path).fileName() + QStringLiteral(" (to end)");
        duringPlay();
    }
    QStringList plays;
    std::function<void()> duringPlay = [] {};
};

class Engine : public ::testing::Test {
protected:
    Engine() {
        for (const char* name : {kWavFewStations, kWavManyStations})
            EXPECT_TRUE(putFile(wav.filePath(name), {}));
        engine.setWavFolder(wav.path());
        engine.setOwnCallsign(QStringLiteral("OWN"));
        engine.setRadiusText(QStringLiteral("10"));
        engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
        QObject::connect(&engine, &AlarmEngine::tickFailed,
                         [this](auto text) { failures << text; });
        QObject::connect(&engine, &AlarmEngine::minDistCaptionChanged,
                         [this](auto text) { caption = text; });
        QObject::connect(&engine, &AlarmEngine::bringToFrontRequested, [this] { ++fronts; });
        host.addStation(QStringLiteral("OWN"), 0.0f, 1.0f, 2.0f);
    }

    void addStations(std::initializer_list<const char*> callsigns, float distance = 1.0f) {
        for (const char* callsign : callsigns)
            host.addStation(QString::fromLatin1(callsign), distance);
    }
    // The `index`-th argument of each recorded call named `name`.
    QVariantList argsOf(const char* name, int index) const {
        QVariantList result;
        for (const RecordedCall& call : host.callsNamed(QString::fromLatin1(name)))
            result << call.args.value(index);
        return result;
    }
    static QString line(const char* callsign, double distance) {
        return QString::fromLatin1(callsign) + " distance " + distanceText(distance);
    }

    QTemporaryDir wav;
    FakeKestrelHost host;
    RecordingSound sound;
    std::function<void()> duringEvents = [] {};
    AlarmEngine engine{host, host.Map(), &sound, [this] { duringEvents(); }};
    QStringList failures;
    QString caption;
    int fronts = 0;
};

// The same walk whether the host answers one call per station or blocks of them.
class EngineScan : public Engine, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { host.offerBlocks = GetParam(); }
};

TEST_P(EngineScan, listsAndMarksWhatIsInRange) {
    host.addStation(QStringLiteral("NEAR"), 4.5f);
    host.addStation(QStringLiteral("EDGE"), 10.0f); // at the radius: out
    host.addStation(QStringLiteral("ACKED"), 2.0f);
    host.addStation(QStringLiteral("ALSO"), 7.25f);
    host.addEntry({QStringLiteral("#GONE* x"), QStringLiteral("GONE"), 0, 0, 1.0f, false});
    host.addStation(QStringLiteral("WATCHED"), 500.0f);
    engine.loadLists({QStringLiteral("ACKED")}, {QStringLiteral("WATCHED")});

    EXPECT_EQ(engine.scan_stations(), 2);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("ALSO", 7.25), line("NEAR", 4.5)}));
    EXPECT_EQ(caption, "(minimum distance observed is " + distanceText(4.5) + ")");
    // In walk order: red, green (acknowledged), red; nothing for the own station.
    EXPECT_EQ(argsOf("DrawCircle", 3), QVariantList({255, 65280, 255}));
    EXPECT_EQ(engine.scan_watchlist(), 3);
    EXPECT_TRUE(engine.alarmLines().contains("WATCHED (watch) " + distanceText(500.0)));
}

TEST_P(EngineScan, aHostFailureEndsThePassAndKeepsWhatItListed) {
    addStations({"A1", "B2", "C3", "D4"});
    // The second lookup fails however it is asked: a failing block call is finished with
    // single calls, so the pass still ends at that very station.
    host.failOn(QStringLiteral("GetStation"), 1);
    host.failOn(QStringLiteral("GetStations"));
    host.failOn(QStringLiteral("StationListItems"));
    EXPECT_EQ(engine.scan_stations(), 0);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("A1", 1.0)}));
    EXPECT_EQ(argsOf("DrawCircle", 3), QVariantList({255}));
}

TEST_P(EngineScan, aCommandBetweenStationsTakesEffectAtTheNextOne) {
    addStations({"A1", "B2", "C3"});
    host.onGetStation = [this](const QString& callsign) {
        if (callsign == QStringLiteral("A1"))
            engine.watchCalls().add(QStringLiteral("C3"));
        if (callsign == QStringLiteral("B2"))
            engine.ackedCalls().add(QStringLiteral("C3"));
    };
    engine.scan_stations();
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("A1", 1.0), line("B2", 1.0)}));
}

INSTANTIATE_TEST_SUITE_P(SingleAndBlockCalls, EngineScan, ::testing::Bool());

struct SoundCase {
    int stations;
    QStringList plays;
    size_t alerts;
};

class EngineSound : public Engine, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(EngineSound, theStationCountChoosesTheSoundAndTheAlertsComeAfterIt) {
    for (int i = 0; i < GetParam().stations; ++i)
        host.addStation(QStringLiteral("ST%1").arg(i), 1.0f);
    sound.duringPlay = [this] { EXPECT_TRUE(host.callsNamed("AlertStation").empty()); };
    engine.Timer1_Timer();
    EXPECT_EQ(sound.plays, GetParam().plays);
    EXPECT_EQ(host.callsNamed("AlertStation").size(), GetParam().alerts);
    EXPECT_EQ(fronts, GetParam().stations > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, EngineSound,
                         ::testing::Values(SoundCase{0, {}, 0},
                                           SoundCase{4, {"rw_le_4_stations_alarm.wav (to end)"}, 4},
                                           SoundCase{5, {"rw_gt_4_stations_alarm.wav"}, 0}));

TEST_F(Engine, aTickDrawsTheRingAndTheSweepRoundTheOwnStationAndANestedTickIsDropped) {
    duringEvents = [this] { engine.Timer1_Timer(); };
    engine.Timer1_Timer();
    EXPECT_FALSE(engine.tickRunning());
    const auto circles = host.callsNamed(QStringLiteral("DrawCircle"));
    ASSERT_EQ(circles.size(), 33u);
    EXPECT_EQ(circles.front().args.mid(0, 2), QVariantList({1.0, 2.0}));
    EXPECT_NEAR(circles.back().args.value(4).toDouble(), 6.2, 1e-5);
}

TEST_F(Engine, aFailureIsToldOnceWithWhatFailedUntilATickRunsThrough) {
    engine.setRadiusText(QStringLiteral("1e300")); // beyond what the map can take
    engine.Timer1_Timer();
    engine.Timer1_Timer();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith("The alarm cycle could not draw on Kestrel32's map"))
        << failures[0].toStdString();
    engine.setRadiusText(QStringLiteral("10"));
    engine.Timer1_Timer();
    host.failOn(QStringLiteral("GetStation"));
    engine.Timer1_Timer();
    ASSERT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures[1].startsWith("The alarm cycle could not talk to Kestrel32: "));
}

TEST_F(Engine, scanningSwitchedOffOrTheHostLeavingMidTickRaisesNothingAndSaysNothing) {
    host.addStation(QStringLiteral("NEAR"), 1.0f);
    engine.setSwitch(AlarmEngine::Switch::ScanStations, false);
    engine.Timer1_Timer();
    EXPECT_EQ(engine.alarmLines().items(), QStringList({QStringLiteral("disabled")}));
    engine.setSwitch(AlarmEngine::Switch::ScanStations, true);
    duringEvents = [this] {
        engine.hostClosing();
        host.failOn(QStringLiteral("GetStation"));
        host.failOn(QStringLiteral("AlertStation"));
    };
    engine.Timer1_Timer();
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_TRUE(sound.plays.isEmpty());
    EXPECT_EQ(fronts, 0);
}

TEST_F(Engine, commandsMoveLinesBetweenTheListsAndRefuseBadWatchEntries) {
    addStations({"AA1", "BB2"});
    engine.scan_stations();
    engine.acknowledge(0);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("BB2", 1.0)}));
    engine.acknowledgeAll();
    engine.rearm(1);
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({QStringLiteral("AA1")}));
    EXPECT_EQ(engine.addWatch(QStringLiteral("  ")),
              QStringLiteral("You're supposed to put a callsign in the box!"));
    EXPECT_TRUE(engine.addWatch(QStringLiteral(" XY9 ")).isEmpty());
    EXPECT_EQ(engine.watchCalls().items(), QStringList({QStringLiteral("XY9")}));
    EXPECT_TRUE(engine.Timer1().isActive()); // the commands hold and restart it
}

TEST_F(Engine, overlaysWithinTheRadiusOfTheOwnStationAreListed) {
    const QString file = wav.filePath("b.POS");
    ASSERT_TRUE(
        putFile(file, "TOWER!0003.00N/00001.00E#water tower\r\nFAR!1000.00S/00001.00E#x\r\n"));
    engine.setOverlaysFolder([this] { return wav.path(); });
    const double tower = calc_dist(2.0f, 1.0f, 3.0f, 1.0f);
    engine.setRadiusText(QString::number(tower, 'g', 17)); // at the radius: out
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
    engine.setRadiusText(QStringLiteral("100"));
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().items(),
              QStringList({"TOWER " + distanceText(tower) + "km (water tower)"}));
    QFile::remove(file);
    engine.scan_overlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
}

} // namespace
