// kestrel32 killed (SIGKILL) while Ringwarden's window is in the middle of a tick over the
// bus: the tick ends, the window stays and keeps ticking, the operator is told once, a new
// kestrel32 taking the name is found again without a restart, and the lists are written
// when the window closes.
#include <gtest/gtest.h>

#include <csignal>
#include <memory>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QTimer>

#include "HostProcess.h"
#include "MainWindowFixture.h"
#include "engine/SoundPlayer.h"
#include "host/dbus/KestrelHostConnection.h"
#include "lists/ListFile.h"
#include "lists/TextList.h"
#include "support/WindowTimer.h"

namespace {

const QByteArray scene = R"({"own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.0},
  "stations": [
    {"callsign": "NEAR1", "lat": 52.01, "lon": -1.0},
    {"callsign": "NEAR2", "lat": 52.02, "lon": -1.0},
    {"callsign": "FAR3", "lat": 53.0, "lon": -1.0}]})";

class SilentPlayer final : public SoundPlayer {
public:
    void playAsync(const QString&) override {}
    void playToEnd(const QString&) override {}
};

class HostKilled : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        installHost(QStringLiteral("G0OWN"));
        ASSERT_TRUE(tracker->start(scene));
        env.createHost = [] { return createKestrelHost(); };
        start();
        form->setSoundPlayer(std::make_unique<SilentPlayer>());
        form->txtRadius->setText(QStringLiteral("10"));
        form->ackedCalls->add(QStringLiteral("NEAR2"));
        form->watchCalls->add(QStringLiteral("FAR3"));
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        tracker.reset();
    }

    std::unique_ptr<HostProcess> tracker = std::make_unique<HostProcess>();
};

TEST_F(HostKilled, tickEndsOperatorIsToldOnceAndANewHostIsFoundAgain) {
    form->Timer1->fire();
    ASSERT_EQ(form->stationLines->items(),
              (QStringList{"FAR3 (watch) 111.12", "NEAR1 distance 1.111"}));
    ASSERT_TRUE(shown.empty());

    // The kill lands at the first moment the tick lets events run.
    bool killedInTick = false;
    QTimer::singleShot(0, form.get(), [&] {
        killedInTick = form->isBusy();
        ::kill(pid_t(tracker->process().processId()), SIGKILL);
        tracker->process().waitForFinished(5000);
    });
    form->Timer1->fire();
    EXPECT_TRUE(killedInTick);
    EXPECT_FALSE(form->isBusy()) << "the tick did not end";
    form->Timer1->fire();
    form->Timer1->fire();
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isUnloaded());
    EXPECT_TRUE(form->Timer1->isEnabled());
    ASSERT_EQ(shown.size(), 1u) << "the operator must be told once, not per tick";
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_TRUE(
        shown[0].text.startsWith(QStringLiteral("The alarm cycle could not talk to Kestrel32: ")));

    // A new tracker takes the name: the window hands it the beacon and switches its events
    // on by itself, and the next tick lists from it.
    tracker = std::make_unique<HostProcess>();
    ASSERT_TRUE(tracker->start(scene));
    ASSERT_TRUE(waitUntil([&] {
        return tracker->calls(QStringLiteral("SetBeacon")).size() == 1 &&
               tracker->calls(QStringLiteral("EventsEnabled")).size() == 1;
    })) << "the window did not re-attach to the new tracker";
    form->Timer1->fire();
    EXPECT_EQ(form->stationLines->items(),
              (QStringList{"FAR3 (watch) 111.12", "NEAR1 distance 1.111"}));
    EXPECT_FALSE(tracker->calls(QStringLiteral("DrawCircle")).isEmpty());
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), 1u);

    // The first failure after a tick that ran through is told again, once.
    ::kill(pid_t(tracker->process().processId()), SIGKILL);
    tracker->process().waitForFinished(5000);
    ASSERT_TRUE(HostProcess::waitForBusName(false));
    form->Timer1->fire();
    form->Timer1->fire();
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), 2u);

    // The lists are written when the window closes, with the host gone.
    form->close();
    EXPECT_TRUE(form->isUnloaded());
    const LoadedLists saved = LoadLists(listFile());
    EXPECT_EQ(saved.acked, QStringList{"NEAR2"});
    EXPECT_EQ(saved.watch, QStringList{"FAR3"});
}

} // namespace
