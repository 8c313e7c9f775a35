#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

#include "EngineFixture.h"
#include "engine/AlarmCycle.h"

namespace {

class AlarmCycle : public EngineFixture {
protected:
    AlarmCycle() {
        QLocale::setDefault(QLocale::c());
        host.addStation("OWN", 0.0f, 295.12f, 3132.34f);
        for (const char* name : {kWavFewStations, kWavManyStations, kWavSiren})
            touch(name);
        ctx.wavFolder = wavDir.path();
        ctx.gblnScanStations = [this] { return scanStations; };
        ctx.gblnScanOverlays = [this] { return scanOverlays; };
        ctx.gblnAudibleAlarm = [this] { return audible; };
        ctx.gblnBringToFront = [this] { return toFront; };
        ctx.bringToFront = [this] { ++broughtToFront; };
        ctx.reportFailure = [this](const QString& message) { failures << message; };
        ctx.failureCleared = [this] { ++cleared; };
        ctx.overlaysFolder = [this] { return overlayDir.path(); };
    }

    void touch(const char* name) {
        QFile file(QDir(wavDir.path()).filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    void removeWav(const char* name) {
        ASSERT_TRUE(QDir(wavDir.path()).remove(QString::fromLatin1(name)));
    }
    QString wav(const char* name) const {
        return QDir(wavDir.path()).filePath(QString::fromLatin1(name));
    }
    void addInRange(int count) {
        for (int i = 0; i < count; ++i)
            host.addStation(QStringLiteral("ST%1").arg(i), 1.0f + float(i));
    }
    QStringList alerted() const {
        QStringList result;
        for (const QVariantList& args : argsOf("AlertStation"))
            result << args.at(0).toString();
        return result;
    }

    QTemporaryDir wavDir;
    QTemporaryDir overlayDir;
    bool scanStations = true;
    bool scanOverlays = false;
    bool audible = true;
    bool toFront = true;
    int broughtToFront = 0;
    int cleared = 0;
    QStringList failures;
};

TEST_F(AlarmCycle, drawsTheRingAndThirtyTwoArcsRoundTheOwnStation) {
    radius = "25";
    Timer1_Timer(ctx);
    const auto circles = argsOf("DrawCircle");
    ASSERT_EQ(circles.size(), 33u);
    EXPECT_EQ(circles[0], (QVariantList{295.12f, 3132.34f, 22.0, 16776960, 0.0, 6.283186, 1.0}));
    double a = 0.0;
    for (size_t i = 1; i < circles.size(); ++i, a += 0.2) {
        const QVariantList arc{295.12f, 3132.34f, 22.0, 65280, double(float(a)), a + 0.2, 0.5};
        EXPECT_EQ(circles[i], arc) << i;
    }
    EXPECT_NEAR(circles.back().at(4).toDouble(), 6.2, 1e-6);
    // The own station is asked for once, and every arc lets events run.
    EXPECT_EQ(argsOf("GetStation").at(0), QVariantList{"OWN"});
    EXPECT_EQ(host.callNames().at(0), "GetStation");
    // The sweep, then the station scan (the own entry and once at the end), then the
    // watch-list scan (the own entry).
    EXPECT_EQ(eventRuns, 32 + 2 + 1);
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(AlarmCycle, radiusIsReadForEveryArc) {
    int arcs = 0;
    duringEvents = [&] {
        if (++arcs == 1)
            radius = "100";
    };
    Timer1_Timer(ctx);
    const auto circles = argsOf("DrawCircle");
    EXPECT_EQ(circles.at(1).at(2), 9.0);
    EXPECT_EQ(circles.at(2).at(2), 90.0);
}

TEST_F(AlarmCycle, unknownOwnStationDrawsNothingButScans) {
    host.stations.front().known = false;
    addInRange(1);
    Timer1_Timer(ctx);
    EXPECT_EQ(host.callsNamed("DrawCircle").size(), 1u); // the station's red ring only
    EXPECT_EQ(lstStations.items(), QStringList({"ST0 distance 1."}));
}

TEST_F(AlarmCycle, fewStationsPlayToTheEndThenAlertEachCallsign) {
    addInRange(4);
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, wav(kWavFewStations));
    EXPECT_TRUE(sound.plays[0].synchronous);
    EXPECT_EQ(alerted(), QStringList({"ST0", "ST1", "ST2", "ST3"}));
    EXPECT_EQ(broughtToFront, 1);
    // Sound, alerts, events, then the window comes forward.
    const QStringList names = host.callNames();
    EXPECT_EQ(names.last(), "AlertStation");
}

TEST_F(AlarmCycle, fiveStationsStartTheBigAlarmAndAlertNone) {
    addInRange(5);
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, wav(kWavManyStations));
    EXPECT_FALSE(sound.plays[0].synchronous);
    EXPECT_TRUE(alerted().isEmpty());
    EXPECT_EQ(broughtToFront, 1);
}

TEST_F(AlarmCycle, sirenStandsInForTheMissingBigAlarm) {
    addInRange(7);
    removeWav(kWavManyStations);
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, wav(kWavSiren));
    EXPECT_FALSE(sound.plays[0].synchronous);
}

TEST_F(AlarmCycle, noSoundFileStillBringsTheWindowForward) {
    addInRange(5);
    removeWav(kWavManyStations);
    removeWav(kWavSiren);
    Timer1_Timer(ctx);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_EQ(broughtToFront, 1);
}

TEST_F(AlarmCycle, missingSmallAlarmIsSilentButStillAlerts) {
    addInRange(2);
    removeWav(kWavFewStations);
    Timer1_Timer(ctx);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_EQ(alerted(), QStringList({"ST0", "ST1"}));
}

TEST_F(AlarmCycle, missingWavFolderIsSilent) {
    ctx.wavFolder = wavDir.path() + "/none";
    addInRange(2);
    Timer1_Timer(ctx);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(AlarmCycle, soundLookupIgnoresCase) {
    removeWav(kWavFewStations);
    touch("RW_LE_4_STATIONS_ALARM.WAV");
    addInRange(1);
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, wav("RW_LE_4_STATIONS_ALARM.WAV"));
}

TEST_F(AlarmCycle, stationCountAloneChoosesTheBranch) {
    addInRange(4);
    host.addStation("W1", 500.0f);
    host.addStation("W2", 600.0f);
    lstWatch.add("W1");
    lstWatch.add("W2");
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_TRUE(sound.plays[0].synchronous);
    // Every line of the list, watch lines included, in list order.
    EXPECT_EQ(alerted(), QStringList({"ST0", "ST1", "ST2", "ST3", "W1", "W2"}));
}

TEST_F(AlarmCycle, watchedStationAloneRaisesTheAlarm) {
    host.addStation("FAR", 500.0f);
    lstWatch.add("FAR");
    Timer1_Timer(ctx);
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(sound.plays[0].path, wav(kWavFewStations));
    EXPECT_EQ(alerted(), QStringList({"FAR"}));
    EXPECT_EQ(broughtToFront, 1);
}

TEST_F(AlarmCycle, listChangedDuringTheSoundIsWhatIsAlerted) {
    addInRange(2);
    sound.duringPlay = [this] {
        lstStations.removeAt(0);
        lstStations.add("NOBLANK");
    };
    Timer1_Timer(ctx);
    EXPECT_EQ(alerted(), QStringList({"NOBLANK", "ST1"}));
}

TEST_F(AlarmCycle, noStationScanningMeansNoAlarm) {
    scanStations = false;
    scanOverlays = true;
    addInRange(3);
    host.addStation("FAR", 500.0f);
    lstWatch.add("FAR");
    QFile file(QDir(overlayDir.path()).filePath("a.pos"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("HERE!5212.34N/00455.12E#at home\r\n");
    file.close();
    Timer1_Timer(ctx);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_EQ(broughtToFront, 0);
    EXPECT_TRUE(alerted().isEmpty());
    EXPECT_EQ(lstStations.count(), 0);
    EXPECT_EQ(lstOverlayItems.items(), QStringList({"HERE .km (at home)"}));
}

TEST_F(AlarmCycle, soundOffNeverAlerts) {
    audible = false;
    addInRange(2);
    Timer1_Timer(ctx);
    EXPECT_TRUE(sound.plays.empty());
    EXPECT_TRUE(alerted().isEmpty());
    EXPECT_EQ(broughtToFront, 1);
}

TEST_F(AlarmCycle, bringToFrontOffLeavesTheWindow) {
    toFront = false;
    addInRange(1);
    Timer1_Timer(ctx);
    EXPECT_EQ(broughtToFront, 0);
    EXPECT_EQ(sound.plays.size(), 1u);
}

TEST_F(AlarmCycle, noPlayerIsSilent) {
    ctx.sound = nullptr;
    addInRange(1);
    Timer1_Timer(ctx);
    EXPECT_EQ(alerted(), QStringList({"ST0"}));
}

struct FailureCase {
    const char* call;
    int afterCalls;
    bool reported; // false: a scan traps it
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.call << " after " << c.afterCalls;
}

class AlarmCycleFailure : public AlarmCycle, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(AlarmCycleFailure, endsTheTickAndReportsOnce) {
    scanOverlays = true;
    addInRange(2);
    host.failOn(QString::fromLatin1(GetParam().call), GetParam().afterCalls);
    Timer1_Timer(ctx);
    Timer1_Timer(ctx);
    EXPECT_EQ(failures.size(), GetParam().reported ? 1 : 0) << failures.join("; ").toStdString();
    host.clearFailures();
    Timer1_Timer(ctx);
    EXPECT_EQ(failures.size(), GetParam().reported ? 1 : 0);
    EXPECT_EQ(cleared, GetParam().reported ? 1 : 0);
    EXPECT_FALSE(ctx.tickRunning);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, AlarmCycleFailure,
    ::testing::Values(FailureCase{"GetStation", 0, true}, // the own station
                      FailureCase{"DrawWidth", 0, true}, FailureCase{"DrawStyle", 3, true},
                      FailureCase{"FillColor", 10, true}, FailureCase{"DrawCircle", 5, true},
                      FailureCase{"GetStation", 3, true}, // the overlay scan's own station
                      FailureCase{"AlertStation", 1, true}, FailureCase{"StationCount", 0, false},
                      FailureCase{"StationListItem", 1, false},
                      FailureCase{"ScaleHeight", 0, false}, FailureCase{"PixelHeight", 1, false}));

TEST_F(AlarmCycle, failureBeforeTheScansLeavesTheListsAlone) {
    addInRange(1);
    lstStations.add("KEPT distance 1.");
    host.failOn("DrawCircle", 3, 1);
    Timer1_Timer(ctx);
    EXPECT_EQ(lstStations.items(), QStringList({"KEPT distance 1."}));
    EXPECT_TRUE(sound.plays.empty());
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("DrawCircle"));
}

TEST_F(AlarmCycle, lastingFailureIsReportedOnceAndAgainAfterRecovery) {
    host.failOn("GetStation");
    for (int i = 0; i < 5; ++i)
        Timer1_Timer(ctx);
    EXPECT_EQ(failures.size(), 1);
    host.clearFailures();
    Timer1_Timer(ctx);
    EXPECT_EQ(cleared, 1);
    host.failOn("GetStation");
    Timer1_Timer(ctx);
    EXPECT_EQ(failures.size(), 2);
}

TEST_F(AlarmCycle, zeroPixelHeightOnlyEndsTheScan) {
    host.pixelHeight = 0;
    addInRange(3);
    Timer1_Timer(ctx);
    EXPECT_TRUE(failures.isEmpty());
    // The failed station scan counts 0, but the watch-list scan counts the line it left:
    // the alarm takes the fewer-than-five branch.
    EXPECT_EQ(lstStations.items(), QStringList({"ST0 distance 1."}));
    ASSERT_EQ(sound.plays.size(), 1u);
    EXPECT_TRUE(sound.plays[0].synchronous);
    EXPECT_EQ(alerted(), QStringList({"ST0"}));
}

TEST_F(AlarmCycle, hugeRadiusEndsTheTickWithAReport) {
    radius = "1e300";
    Timer1_Timer(ctx);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_TRUE(failures[0].contains("too large"));
}

TEST_F(AlarmCycle, failingBringToFrontIsReported) {
    addInRange(1);
    ctx.bringToFront = [] { throw HostError("window gone"); };
    Timer1_Timer(ctx);
    EXPECT_EQ(failures, QStringList({"window gone"}));
}

TEST_F(AlarmCycle, tickThatFiresDuringATickIsDropped) {
    addInRange(1);
    int nested = 0;
    duringEvents = [&] {
        ++nested;
        Timer1_Timer(ctx);
    };
    sound.duringPlay = [&] { Timer1_Timer(ctx); };
    Timer1_Timer(ctx);
    EXPECT_GT(nested, 32);
    EXPECT_EQ(sound.plays.size(), 1u);
    EXPECT_EQ(host.callsNamed("StationCount").size(), 2u); // one station and one watch scan
    EXPECT_FALSE(ctx.tickRunning);
    Timer1_Timer(ctx); // and the next one runs
    EXPECT_EQ(sound.plays.size(), 2u);
}

TEST_F(AlarmCycle, closeDuringATickWaitsForItsEnd) {
    addInRange(1);
    int closed = 0;
    bool closedDuringTick = false;
    ctx.closeWindow = [&] {
        ++closed;
        closedDuringTick = ctx.tickRunning;
    };
    int plays = 0;
    sound.duringPlay = [&] { ctx.closeRequested = ++plays == 1; };
    Timer1_Timer(ctx);
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(closedDuringTick);
    EXPECT_EQ(alerted(), QStringList({"ST0"})); // the tick finished first
    Timer1_Timer(ctx);
    EXPECT_EQ(closed, 1);
}

TEST_F(AlarmCycle, timer2FoldsTheWatchListAway) {
    QStringList steps;
    ctx.setShowWatchList = [&](bool show) { steps << (show ? "show" : "hide"); };
    ctx.show_hide_watchlist = [&] { steps << "show_hide_watchlist"; };
    ctx.disableTimer2 = [&] { steps << "disable"; };
    Timer2_Timer(ctx);
    EXPECT_EQ(steps, QStringList({"hide", "show_hide_watchlist", "disable"}));
}

} // namespace
