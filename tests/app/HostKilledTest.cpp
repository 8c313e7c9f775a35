// kestrel32 killed (SIGKILL) while Ringwarden's window is in the middle of a tick over the
// bus: the tick ends, the window stays and keeps ticking, the operator is told once, a new
// kestrel32 taking the name is found again without a restart, and the lists are written
// when the window closes. kestrel32 stopped (SIGSTOP) while a tick waits on it: the tick
// ends after the first call that times out, and a close meanwhile is carried out, whatever
// box the failure opens.
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include "AppFixture.h"
#include "HostProcess.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"
#include "host/dbus/DbusKestrelHost.h"
#include "host/dbus/KestrelHostConnection.h"
#include "lists/ListFile.h"
#include "ui/frmMain.h"

namespace {

const QByteArray killedScene = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "stations": [
    {"callsign": "NEAR1", "lat": 52.01, "lon": -1.0},
    {"callsign": "NEAR2", "lat": 52.02, "lon": -1.0},
    {"callsign": "FAR3", "lat": 53.0, "lon": -1.0}]})";

class HostKilled : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        installHost(QStringLiteral("G0OWN"));
        ASSERT_TRUE(tracker->start(killedScene));
        env.createHost = [] { return createKestrelHost(); };
        start();
        engine().setRadiusText(QStringLiteral("10"));
        engine().loadLists({QStringLiteral("NEAR2")}, {QStringLiteral("FAR3")});
    }

    AlarmEngine& engine() { return *app->engine(); }
    frmMain& window() { return *app->window(); }
    std::unique_ptr<HostProcess> tracker = std::make_unique<HostProcess>();
};

TEST_F(HostKilled, tickEndsOperatorIsToldOnceAndANewHostIsFoundAgain) {
    ASSERT_TRUE(tickToEnd(engine()));
    ASSERT_EQ(engine().alarmLines().items(),
              (QStringList{"FAR3 (watch) 111.12", "NEAR1 distance 1.111"}));
    ASSERT_TRUE(shown.isEmpty());

    // The kill lands at the first moment the tick lets events run.
    bool killedInTick = false;
    QTimer::singleShot(0, &window(), [&] {
        killedInTick = engine().tickRunning();
        ::kill(pid_t(tracker->process().processId()), SIGKILL);
        tracker->process().waitForFinished(5000);
    });
    EXPECT_TRUE(tickToEnd(engine())) << "the tick did not end";
    EXPECT_TRUE(killedInTick);
    tickToEnd(engine());
    tickToEnd(engine());
    QApplication::processEvents();
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(window().isUnloaded());
    EXPECT_TRUE(engine().isTicking());
    ASSERT_EQ(shown.size(), 1) << "the operator must be told once, not per tick";
    EXPECT_TRUE(
        shown[0].startsWith(QStringLiteral("The alarm cycle could not talk to Kestrel32: ")));

    // A new tracker takes the name: the window hands it the beacon and switches its events
    // on by itself, and the next tick lists from it.
    tracker = std::make_unique<HostProcess>();
    ASSERT_TRUE(tracker->start(killedScene));
    ASSERT_TRUE(waitUntil([&] {
        return tracker->calls(QStringLiteral("SetBeacon")).size() == 1 &&
               tracker->calls(QStringLiteral("EventsEnabled")).size() == 1;
    })) << "the window did not re-attach to the new tracker";
    ASSERT_TRUE(tickToEnd(engine()));
    EXPECT_EQ(engine().alarmLines().items(),
              (QStringList{"FAR3 (watch) 111.12", "NEAR1 distance 1.111"}));
    EXPECT_FALSE(tracker->calls(QStringLiteral("DrawCircle")).isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), 1);

    // The lists are written when the window closes, with the host gone.
    window().close();
    EXPECT_TRUE(window().isUnloaded());
    const LoadedLists saved = LoadLists(listFile());
    EXPECT_EQ(saved.acked, QStringList{"NEAR2"});
    EXPECT_EQ(saved.watch, QStringList{"FAR3"});
}

TEST_F(HostKilled, aStoppedTrackerCostsOneWaitAndACloseMeanwhileIsCarriedOutWhateverBoxOpens) {
    ASSERT_TRUE(tickToEnd(engine()));
    const pid_t pid = pid_t(tracker->process().processId());
    ::kill(pid, SIGSTOP);
    // The failure's box is open when the operator closes the window.
    int unloads = 0;
    QObject::connect(&window(), &frmMain::unloading, [&] { ++unloads; });
    duringBox = [this] { window().close(); };
    QElapsedTimer clock;
    clock.start();
    const bool ended = tickToEnd(engine(), 3 * DbusKestrelHost::callTimeoutMs);
    const qint64 waited = clock.elapsed();
    QApplication::processEvents();
    ::kill(pid, SIGCONT);
    ASSERT_TRUE(ended);
    // One call timed out; the next would have doubled the wait.
    EXPECT_LT(waited, 2 * DbusKestrelHost::callTimeoutMs - 500);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith(QStringLiteral("The alarm cycle could not talk to Kestrel32")));
    EXPECT_TRUE(window().isUnloaded());
    EXPECT_EQ(unloads, 1);
    EXPECT_FALSE(engine().isTicking());
    EXPECT_EQ(LoadLists(listFile()).watch, QStringList{"FAR3"});
}

} // namespace
