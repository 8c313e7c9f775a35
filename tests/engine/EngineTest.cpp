// The alarm cycle: a station listed or marked wrongly, lost when the host fails mid-scan, an
// alert before its sound, a failure blamed on the wrong thing or a tick that outlives the host.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "FakeKestrelHost.h"
#include "engine/AlarmEngine.h"
#include "engine/SoundPlayer.h"
#include "numbers/NumericText.h"

namespace {

class RecordingSound final : public SoundPlayer {
public:
    void playAsync(const QString& path) override { plays << QFileInfo(path).fileName(); }
    void playToEnd(const QString& path) override {
        plays << QFileInfo(path).fileName() + QStringLiteral(" (to end)");
        if (duringPlay)
            duringPlay();
    }
    QStringList plays;
    std::function<void()> duringPlay;
};

class Engine : public ::testing::Test {
protected:
    Engine() {
        for (const char* name : {kWavFewStations, kWavManyStations}) {
            QFile file(QDir(wav.path()).filePath(QString::fromLatin1(name)));
            EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        }
        engine.setWavFolder(wav.path());
        engine.setOwnCallsign(QStringLiteral("OWN"));
        engine.setRadiusText(QStringLiteral("10"));
        engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
        QObject::connect(&engine, &AlarmEngine::tickFailed,
                         [this](const QString& text) { failures << text; });
        QObject::connect(&engine, &AlarmEngine::minDistCaptionChanged,
                         [this](const QString& text) { caption = text; });
        QObject::connect(&engine, &AlarmEngine::bringToFrontRequested, [this] { ++fronts; });
        host.addStation(QStringLiteral("OWN"), 0.0f, 1.0f, 2.0f);
        host.clearCalls();
    }

    // The callsign argument of each recorded call named `name`.
    QStringList argsOf(const QString& name) const {
        QStringList result;
        for (const RecordedCall& call : host.callsNamed(name))
            result << call.args.value(0).toString();
        return result;
    }
    QList<qint32> markColours() const {
        QList<qint32> colours;
        for (const RecordedCall& call : host.callsNamed(QStringLiteral("DrawCircle")))
            colours << call.args.value(3).toInt();
        return colours;
    }
    static QString line(const char* callsign, double distance) {
        return QString::fromLatin1(callsign) + QStringLiteral(" distance ") +
               distanceText(distance);
    }

    QTemporaryDir wav;
    FakeKestrelHost host;
    RecordingSound sound;
    std::function<void()> duringEvents;
    AlarmEngine engine{host, host.Map(), &sound, [this] {
                           if (duringEvents)
                               duringEvents();
                       }};
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
    host.clearCalls();

    EXPECT_EQ(engine.scan_stations(), 2);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("ALSO", 7.25), line("NEAR", 4.5)}));
    EXPECT_EQ(caption, QStringLiteral("(minimum distance observed is ") + distanceText(4.5) + ")");
    // In walk order: red, green (acknowledged), red; nothing for the own station.
    EXPECT_EQ(markColours(), QList<qint32>({255, 65280, 255}));
    EXPECT_EQ(engine.scan_watchlist(), 3);
    EXPECT_TRUE(
        engine.alarmLines().contains(QStringLiteral("WATCHED (watch) ") + distanceText(500.0)));
}

TEST_P(EngineScan, aHostFailureEndsThePassAndKeepsWhatItListed) {
    for (const char* callsign : {"A1", "B2", "C3", "D4"})
        host.addStation(QString::fromLatin1(callsign), 1.0f);
    // The second station's lookup fails however it is asked; a failing block call falls back
    // to single calls, so the pass still ends at that very station.
    host.failOn(QStringLiteral("GetStation"), 1);
    host.failOn(QStringLiteral("GetStations"));
    host.failOn(QStringLiteral("StationListItems"));
    EXPECT_EQ(engine.scan_stations(), 0);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("A1", 1.0)}));
    EXPECT_EQ(markColours(), QList<qint32>({255}));
}

TEST_P(EngineScan, aCommandBetweenStationsTakesEffectAtTheNextOne) {
    for (const char* callsign : {"A1", "B2", "C3"})
        host.addStation(QString::fromLatin1(callsign), 1.0f);
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
    int alerts;
};

class EngineSound : public Engine, public ::testing::WithParamInterface<SoundCase> {};

TEST_P(EngineSound, theStationCountChoosesTheSoundAndTheAlertsComeAfterIt) {
    for (int i = 0; i < GetParam().stations; ++i)
        host.addStation(QStringLiteral("ST%1").arg(i), 1.0f);
    sound.duringPlay = [this] { EXPECT_TRUE(argsOf(QStringLiteral("AlertStation")).isEmpty()); };
    engine.Timer1_Timer();
    EXPECT_EQ(sound.plays, GetParam().plays);
    EXPECT_EQ(argsOf(QStringLiteral("AlertStation")).size(), GetParam().alerts);
    EXPECT_EQ(fronts, GetParam().stations > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, EngineSound,
    ::testing::Values(SoundCase{0, {}, 0},
                      SoundCase{4, {QStringLiteral("rw_le_4_stations_alarm.wav (to end)")}, 4},
                      SoundCase{5, {QStringLiteral("rw_gt_4_stations_alarm.wav")}, 0}));

TEST_F(Engine, aTickDrawsTheRingAndTheSweepRoundTheOwnStation) {
    engine.Timer1_Timer();
    const auto circles = host.callsNamed(QStringLiteral("DrawCircle"));
    ASSERT_EQ(circles.size(), 33u);
    EXPECT_DOUBLE_EQ(circles.front().args.value(0).toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(circles.front().args.value(1).toDouble(), 2.0);
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

TEST_F(Engine, aTickThatFiresDuringATickIsDropped) {
    int nested = 0;
    duringEvents = [this, &nested] {
        if (nested++ == 0)
            engine.Timer1_Timer();
    };
    engine.Timer1_Timer();
    EXPECT_EQ(host.callsNamed(QStringLiteral("DrawCircle")).size(), 33u);
    EXPECT_FALSE(engine.tickRunning());
}

TEST_F(Engine, theHostLeavingMidTickEndsItWithoutAMessage) {
    host.addStation(QStringLiteral("NEAR"), 1.0f);
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

TEST_F(Engine, scanningSwitchedOffSaysSoAndRaisesNothing) {
    host.addStation(QStringLiteral("NEAR"), 1.0f);
    engine.setSwitch(AlarmEngine::Switch::ScanStations, false);
    engine.Timer1_Timer();
    EXPECT_EQ(engine.alarmLines().items(), QStringList({QStringLiteral("disabled")}));
    EXPECT_TRUE(sound.plays.isEmpty());
    EXPECT_EQ(fronts, 0);
}

TEST_F(Engine, commandsMoveLinesBetweenTheListsAndRefuseBadWatchEntries) {
    host.addStation(QStringLiteral("AA1"), 1.0f);
    host.addStation(QStringLiteral("BB2"), 2.0f);
    engine.scan_stations();
    engine.acknowledge(0);
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({QStringLiteral("AA1")}));
    EXPECT_EQ(engine.alarmLines().items(), QStringList({line("BB2", 2.0)}));
    engine.acknowledgeAll();
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({"AA1", "BB2"}));
    engine.rearm(1);
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({QStringLiteral("AA1")}));
    EXPECT_EQ(engine.addWatch(QStringLiteral("  ")),
              QStringLiteral("You're supposed to put a callsign in the box!"));
    EXPECT_FALSE(engine.addWatch(QStringLiteral("A|B")).isEmpty());
    EXPECT_TRUE(engine.addWatch(QStringLiteral(" XY9 ")).isEmpty());
    EXPECT_EQ(engine.watchCalls().items(), QStringList({QStringLiteral("XY9")}));
    EXPECT_TRUE(engine.Timer1().isActive()); // the commands hold and restart it
}

} // namespace
