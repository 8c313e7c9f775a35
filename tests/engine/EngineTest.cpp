// Guards against a station or object listed or marked wrongly, lost mid-scan, or a failure mistold.
#include <gtest/gtest.h>

#include <QMetaObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "FakeKestrelHost.h"
#include "TestFiles.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"
#include "engine/Geodesy.h"
#include "engine/SoundPlayer.h"
#include "host/HostCursor.h"
#include "numbers/NumericText.h"

namespace {

// Plays nothing; a sound played to its end ends from the event loop, as a real one does.
class RecordingSound final : public SoundPlayer {
public:
    void playAsync(const QString& path) override { plays << QFileInfo(path).fileName(); }
    void playToEnd(const QString& path, std::function<void()> ended) override {
        plays << QFileInfo(path).fileName() + QStringLiteral(" (to end)");
        QTimer::singleShot(0, [this, ended = std::move(ended)] {
            duringPlay();
            ended();
        });
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
    // The colours of the station marks (what follows the range ring and its 32 arcs).
    QVariantList markColours() const {
        QVariantList colours;
        for (const RecordedCall& call : host.callsNamed(QStringLiteral("DrawCircle")))
            colours << call.args.value(3);
        return colours.mid(33);
    }
    static QString line(const char* callsign, double distance) {
        return QString::fromLatin1(callsign) + " distance " + distanceText(distance);
    }
    void tick() { ASSERT_TRUE(tickToEnd(engine)) << "the tick did not end"; }
    void quietly(bool blocks) {
        host.offerBlocks = blocks;
        engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
    }

    QTemporaryDir wav;
    FakeKestrelHost host;
    RecordingSound sound;
    AlarmEngine engine{host, host.Map(), &sound};
    QStringList failures;
    QString caption;
    int fronts = 0;
};

// The same walk whether the host answers one call per station or blocks of them.
class EngineScan : public Engine, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override { quietly(GetParam()); }
};

TEST_P(EngineScan, listsAndMarksWhatIsInRange) {
    host.addStation(QStringLiteral("NEAR"), 4.5f);
    host.addStation(QStringLiteral("EDGE"), 10.0f); // at the radius: out
    host.addStation(QStringLiteral("ACKED"), 2.0f);
    host.addStation(QStringLiteral("ALSO"), 7.25f);
    host.addEntry({QStringLiteral("#GONE* x"), QStringLiteral("GONE"), 0, 0, 1.0f, false});
    host.addStation(QStringLiteral("WATCHED"), 500.0f);
    engine.loadLists({QStringLiteral("ACKED")}, {QStringLiteral("WATCHED")});
    QStringList listed;
    QObject::connect(&engine, &AlarmEngine::stationsListed, [&](auto lines) { listed = lines; });

    tick();
    EXPECT_EQ(listed, QStringList({line("ALSO", 7.25), line("NEAR", 4.5),
                                   "WATCHED (watch) " + distanceText(500.0)}));
    EXPECT_EQ(caption, "(minimum distance observed is " + distanceText(4.5) + ")");
    // In walk order: red, green (acknowledged), red; nothing for the own station.
    EXPECT_EQ(markColours(), QVariantList({255, 65280, 255}));
    EXPECT_EQ(fronts, 1);
}

// How a failing call ends the walk: a refusal ends the pass at that very station and the
// tick goes on (the watch pass walks the list again and asks for D4); a tracker that is
// gone ends the tick at once, so that a stopped tracker costs one wait, not one a call.
class EngineFailure : public Engine,
                      public ::testing::WithParamInterface<std::tuple<bool, HostError::Kind>> {};

TEST_P(EngineFailure, aFailureEndsThePassOrTheTickAndKeepsWhatWasListed) {
    const auto& [blocks, kind] = GetParam();
    const bool gone = kind == HostError::Kind::Unreachable;
    quietly(blocks);
    addStations({"A1", "B2", "C3", "D4"});
    engine.loadLists({}, {QStringLiteral("D4")});
    // The own station, A1, then B2 fails, however it is asked: a block call that fails is
    // finished with single calls.
    host.failOn(QStringLiteral("GetStation"), 2, -1, kind);
    host.failOn(QStringLiteral("GetStations"), 0, -1, HostError::Kind::Refused);
    tick();
    EXPECT_EQ(engine.alarmLines().items(), QStringList{"A1 distance 1."});
    EXPECT_EQ(markColours(), QVariantList{255});
    EXPECT_EQ(host.callsNamed(QStringLiteral("GetStation")).size(), gone ? 3u : 4u);
    ASSERT_EQ(failures.size(), gone ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Kinds, EngineFailure,
                         ::testing::Combine(::testing::Bool(),
                                            ::testing::Values(HostError::Kind::Refused,
                                                              HostError::Kind::Unreachable)));

TEST_P(EngineScan, aCommandBetweenBlocksIsSeenByEveryStationNotYetHandled) {
    const int n = HostCursor::blockSize + 450;
    for (int i = 0; i < n; ++i)
        host.addStation(QStringLiteral("S%1").arg(i), 1.0f);
    const QString later = QStringLiteral("S%1").arg(HostCursor::blockSize + 300);
    const QString watched = QStringLiteral("S%1").arg(HostCursor::blockSize + 400);
    // Pressed while the walk handles the first block (run at the next return to the event
    // loop, as a press of the operator's): it acts before the second.
    host.onGetStation = [&](const QString& callsign) {
        if (callsign != QStringLiteral("S10"))
            return;
        QMetaObject::invokeMethod(
            &engine,
            [&] {
                // S5 is handled already and stays listed; `later` is still to come: green,
                // no line.
                engine.loadLists({QStringLiteral("S5"), later}, {watched});
            },
            Qt::QueuedConnection);
    };
    tick();
    EXPECT_TRUE(engine.alarmLines().contains(line("S5", 1.0)));
    EXPECT_FALSE(engine.alarmLines().contains(later + " distance " + distanceText(1.0)));
    EXPECT_TRUE(engine.alarmLines().contains(watched + " (watch) " + distanceText(1.0)));
    EXPECT_EQ(engine.alarmLines().count(), n - 1 + 1);
    EXPECT_EQ(markColours().count(65280), 1);
}

// The watch pass chose the stations of its later blocks before a command changed the watch
// list: the command still decides at each station's turn.
TEST_P(EngineScan, aWatchListChangedMidPassDecidesTheStationsStillToCome) {
    const int n = HostCursor::blockSize + 450;
    for (int i = 0; i < n; ++i)
        host.addStation(QStringLiteral("S%1").arg(i), 500.0f); // all out of range
    engine.loadLists({}, {QStringLiteral("S20"), QStringLiteral("S1100")});
    int asked = 0;
    host.onGetStation = [&](const QString& callsign) {
        // The second time is the watch pass.
        if (callsign == QStringLiteral("S20") && ++asked == 2)
            QMetaObject::invokeMethod(
                &engine,
                [&] { engine.loadLists({QStringLiteral("S1100")}, {QStringLiteral("S1200")}); },
                Qt::QueuedConnection);
    };
    tick();
    const QString far = QStringLiteral(" (watch) ") + distanceText(500.0);
    EXPECT_EQ(engine.alarmLines().items(), QStringList({"S1200" + far, "S20" + far}));
}

INSTANTIATE_TEST_SUITE_P(SingleAndBlockCalls, EngineScan, ::testing::Bool());

// A ring that cannot be drawn ends the pass at its station, whether a block's rings go in
// one call or one by one; the scale is asked once for a block's rings.
TEST_P(EngineScan, aRingThatCannotBeDrawnEndsThePassAtItsStation) {
    const bool blocks = GetParam();
    addStations({"A1", "B2", "C3", "D4"});
    engine.loadLists({QStringLiteral("B2")}, {});
    tick(); // a tick as the map allows, before it changes
    // B2 is acknowledged: its refused ring ends the pass, it has no line, and C3 and D4 are
    // not reached. (A red station's refused ring, which keeps its line, is the test below's.)
    host.failOn(QStringLiteral("DrawCircle"), 33 + 1, 1, HostError::Kind::Refused);
    host.clearCalls();
    tick();
    EXPECT_EQ(engine.alarmLines().items(), QStringList{"A1 distance 1."});
    EXPECT_EQ(host.callsNamed(QStringLiteral("DrawCircle")).size(), 33u + 2u);
    EXPECT_EQ(host.callsNamed(QStringLiteral("ScaleHeight")).size(), blocks ? 1u : 2u);
    // A map that gives no ring at all.
    host.pixelHeight = 0;
    host.clearCalls();
    tick();
    EXPECT_EQ(engine.alarmLines().items(), QStringList{"A1 distance 1."});
    EXPECT_EQ(host.callsNamed(QStringLiteral("DrawCircle")).size(), 33u);
    EXPECT_EQ(host.callsNamed(QStringLiteral("ScaleHeight")).size(), 1u);
}

// A long list's rings go in few calls that span blocks; a refusal in the middle of one still
// ends the pass at its station.
TEST_P(EngineScan, aRingRefusedAmongManyEndsThePassAtItsStation) {
    const int stations = HostCursor::blockSize + 300;
    for (int i = 0; i < stations; ++i)
        host.addStation(QStringLiteral("S%1").arg(i, 4, 10, QLatin1Char('0')), 1.0f);
    const int refused = 1100; // in the second call
    host.failOn(QStringLiteral("DrawCircle"), 33 + refused, -1, HostError::Kind::Refused);
    tick();
    EXPECT_EQ(engine.alarmLines().count(), refused + 1);
    EXPECT_TRUE(engine.alarmLines().contains(line("S1100", 1.0)));
    EXPECT_FALSE(engine.alarmLines().contains(line("S1101", 1.0)));
    EXPECT_EQ(host.callsNamed(QStringLiteral("DrawCircle")).size(), size_t(33 + refused + 1));
    EXPECT_EQ(host.callsNamed(QStringLiteral("ScaleHeight")).size(),
              GetParam() ? 2u : size_t(refused + 1));
}

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
    tick();
    EXPECT_EQ(sound.plays, GetParam().plays);
    EXPECT_EQ(host.callsNamed("AlertStation").size(), GetParam().alerts);
    EXPECT_EQ(fronts, GetParam().stations > 0 ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Counts, EngineSound,
                         ::testing::Values(SoundCase{0, {}, 0},
                                           SoundCase{4, {"rw_le_4_stations_alarm.wav (to end)"}, 4},
                                           SoundCase{5, {"rw_gt_4_stations_alarm.wav"}, 0}));

TEST_F(Engine, aTickDrawsTheRingAndTheSweepBetweenEventsAndATickMeanwhileIsDropped) {
    int steps = 0; // returns to the event loop while the tick runs
    QTimer probe;
    probe.setInterval(0);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!engine.tickRunning())
            return;
        ++steps;
        engine.timer1Timer(); // a tick that falls due meanwhile
    });
    probe.start();
    tick();
    probe.stop();
    EXPECT_GE(steps, 32);
    const auto circles = host.callsNamed(QStringLiteral("DrawCircle"));
    ASSERT_EQ(circles.size(), 33u);
    EXPECT_EQ(circles.front().args.mid(0, 2), QVariantList({1.0, 2.0}));
    EXPECT_NEAR(circles.back().args.value(4).toDouble(), 6.2, 1e-5);
    EXPECT_EQ(host.callsNamed(QStringLiteral("GetStation")).size(), 1u) << "a second tick ran";
}

TEST_F(Engine, aFailureIsToldOnceWithWhatFailedUntilATickRunsThrough) {
    engine.setRadiusText(QStringLiteral("1e300")); // beyond what the map can take
    tick();
    tick();
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].startsWith("The alarm cycle could not draw on Kestrel32's map"))
        << failures[0].toStdString();
    engine.setRadiusText(QStringLiteral("10"));
    tick();
    host.failOn(QStringLiteral("GetStation"));
    tick();
    ASSERT_EQ(failures.size(), 2);
    EXPECT_TRUE(failures[1].startsWith("The alarm cycle could not talk to Kestrel32: "));
}

// The speech engine is asked only when the switch is set on or toggled (asking may start a
// daemon); the operator's toggle never leaves it on without one, a setting read as on does.
TEST_F(Engine, aSwitchWhoseNeedIsMissingStaysOffWhenToggledAndSaysSo) {
    bool speechThere = false;
    int asked = 0;
    engine.setSwitchNeed(AlarmEngine::Switch::SpeakAlarm, [&] {
        ++asked;
        return speechThere;
    });
    QList<bool> shown;
    QObject::connect(&engine, &AlarmEngine::switchChanged, [&](AlarmEngine::Switch which, bool on) {
        if (which == AlarmEngine::Switch::SpeakAlarm)
            shown << on;
    });
    enum Action { SetOff, SetOn, Toggle };
    const struct {
        bool speechThere;
        Action action;
        bool on, available;
        int asked;
    } rows[] = {{false, SetOff, false, true, 0}, {false, Toggle, false, false, 1},
                {true, Toggle, true, true, 2},   {true, Toggle, false, true, 3},
                {false, SetOn, true, false, 4},  {false, Toggle, false, false, 5}};
    for (const auto& row : rows) {
        speechThere = row.speechThere;
        if (row.action == Toggle)
            engine.toggleSwitch(AlarmEngine::Switch::SpeakAlarm);
        else
            engine.setSwitch(AlarmEngine::Switch::SpeakAlarm, row.action == SetOn);
        const int line = int(&row - rows);
        EXPECT_EQ(engine.isOn(AlarmEngine::Switch::SpeakAlarm), row.on) << line;
        EXPECT_EQ(engine.isAvailable(AlarmEngine::Switch::SpeakAlarm), row.available) << line;
        EXPECT_EQ(asked, row.asked) << line;
        EXPECT_EQ(shown.size(), line + 1);
        EXPECT_EQ(shown.value(line), row.on) << line;
    }
    engine.toggleSwitch(AlarmEngine::Switch::DesktopNotify);
    EXPECT_TRUE(engine.isOn(AlarmEngine::Switch::DesktopNotify));
    EXPECT_TRUE(engine.isAvailable(AlarmEngine::Switch::DesktopNotify));
    EXPECT_EQ(asked, 5);
}

TEST_F(Engine, scanningSwitchedOffOrTheProgramLeavingMidTickRaisesNothingAndSaysNothing) {
    host.addStation(QStringLiteral("NEAR"), 1.0f);
    engine.setSwitch(AlarmEngine::Switch::ScanStations, false);
    tick();
    EXPECT_EQ(engine.alarmLines().items(), QStringList({QStringLiteral("disabled")}));
    EXPECT_EQ(fronts, 0);
    engine.setSwitch(AlarmEngine::Switch::ScanStations, true);
    engine.startTicking();
    host.clearCalls();
    // The tracker leaves in the middle of the sweep.
    host.failOn(QStringLiteral("DrawCircle"), 5);
    QTimer::singleShot(0, [this] { engine.shutDown(); });
    engine.timer1Timer();
    QTest::qWait(200);
    EXPECT_FALSE(engine.tickRunning());
    EXPECT_LT(host.callsNamed(QStringLiteral("DrawCircle")).size(), 5u);
    EXPECT_TRUE(host.callsNamed(QStringLiteral("StationCount")).empty());
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_TRUE(sound.plays.isEmpty());
    EXPECT_EQ(fronts, 0);
    EXPECT_FALSE(engine.isTicking());
    engine.timer1Timer();
    EXPECT_FALSE(engine.tickRunning()) << "a tick started after the way out";
}

// How a line moves between the lists is the commands' own rule (tests/lists); the window's
// test presses the buttons. Here: a rearm, and a watch entry refused with its message.
TEST_F(Engine, commandsRearmAndRefuseBadWatchEntries) {
    addStations({"AA1", "BB2"});
    engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
    tick();
    engine.acknowledgeAll();
    engine.rearm(1);
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({QStringLiteral("AA1")}));
    EXPECT_EQ(engine.addWatch(QStringLiteral("  ")),
              QStringLiteral("You're supposed to put a callsign in the box!"));
    EXPECT_TRUE(engine.addWatch(QStringLiteral(" XY9 ")).isEmpty());
    EXPECT_EQ(engine.watchCalls().items(), QStringList({QStringLiteral("XY9")}));
    EXPECT_TRUE(engine.isTicking()); // the commands hold and restart it
}

TEST_F(Engine, overlaysWithinTheRadiusOfTheOwnStationAreListed) {
    const QString file = wav.filePath("b.POS");
    ASSERT_TRUE(
        putFile(file, "TOWER!0003.00N/00001.00E#water tower\r\nFAR!1000.00S/00001.00E#x\r\n"));
    engine.setOverlaysFolder([this] { return wav.path(); });
    const double tower = calcDist(2.0f, 1.0f, 3.0f, 1.0f);
    engine.setRadiusText(QString::number(tower, 'g', 17)); // at the radius: out
    engine.scanOverlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
    engine.setRadiusText(QStringLiteral("100"));
    engine.scanOverlays();
    EXPECT_EQ(engine.overlayLines().items(),
              QStringList({"TOWER " + distanceText(tower) + "km (water tower)"}));
    QFile::remove(file);
    engine.scanOverlays();
    EXPECT_EQ(engine.overlayLines().count(), 0);
}

} // namespace
