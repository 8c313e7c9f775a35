// Start-up and shutdown: the operator's files written over by a start-up that was cut short or
// refused, a setting lost at shutdown, or a close during a tick that never happens.
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QMetaObject>

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "AppFixture.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"
#include "ui/HistoryWindow.h"
#include "ui/ListBox.h"
#include "ui/frmMain.h"

namespace {

const QByteArray kIni =
    "[SETUP]\r\nMIN_DISTANCE=7.5\r\nBRING_TO_FRONT=TRUE\r\nAUDIBLE_ALARM=FALSE\r\n"
    "SCAN_STATIONS=TRUE\r\nSCAN_OVERLAYS=TRUE\r\nLEFT=1200\r\nTOP=900\r\n"
    "MINIMIZED=FALSE\r\n";
const QByteArray kLists = "AB1CD|Acknowledged\r\nQQ1|Watched\r\n";

class Startup : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        writeAll(iniFile(), kIni);
        writeAll(listFile(), kLists);
        installHost(QStringLiteral("G0OWN")); // a test may install another over it
    }
    void expectFilesUntouched() {
        EXPECT_EQ(fileBytes(iniFile()), kIni);
        EXPECT_EQ(fileBytes(listFile()), kLists);
    }
};

TEST_F(Startup, readsTheFilesAndTalksToTheHostInOrder) {
    start();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(app->engine()->radiusText(), "7.5");
    EXPECT_FALSE(app->engine()->isOn(AlarmEngine::Switch::AudibleAlarm));
    EXPECT_EQ(app->engine()->ownCallsign(), "G0OWN");
    EXPECT_EQ(app->engine()->ackedCalls().items(), QStringList({"AB1CD"}));
    ASSERT_EQ(hosts[1]->calls.size(), 2u); // the beacon, then the events
    EXPECT_EQ(hosts[1]->calls[1].call, "EventsEnabled");
    EXPECT_EQ(hosts[1]->calls[0].args, (QVariantList{"QQ0ZZZ", "Beacon by Ferris"}));
    expectFilesUntouched();
}

TEST_F(Startup, theCallsignBoxRunsNoAlarmCycleAndTheTrackerClosingDuringItWritesNothing) {
    installHost(QString()); // no callsign: the critical box
    // The box ends the program: behind it no tick may alarm, draw or write history.
    bool ticking = true;
    duringBox = [&] {
        ticking = app->engine()->isTicking();
        emit hosts[1]->Kestrel32IsClosing();
    };
    startExpectingEnd(1);
    EXPECT_FALSE(ticking);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].contains("Error getting station callsign from Kestrel32.INI"));
    EXPECT_FALSE(QFile::exists(app->historyFile()));
    expectFilesUntouched();
}

TEST_F(Startup, aRefusedSecondCopyWritesNothingWhateverHappensDuringItsBox) {
    QLockFile running(lockPath(env.lockFolder, env.executablePath));
    ASSERT_TRUE(running.tryLock(0));
    // While the box is open nothing of the program may run: no tick, no window, no history.
    bool ticking = true, windowShown = true;
    duringBox = [&] {
        ticking = app->engine() && app->engine()->isTicking();
        windowShown = false;
        for (const QWidget* window : QApplication::topLevelWidgets())
            windowShown = windowShown || window->isVisible();
        emit hosts[1]->Kestrel32IsClosing();
    };
    startExpectingEnd(0);
    EXPECT_FALSE(ticking);
    EXPECT_FALSE(windowShown);
    EXPECT_FALSE(QFile::exists(app->historyFile()));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], "Another instance of this program (Kestrel32 add-on Ringwarden V1.1.0) "
                        "is already running");
    expectFilesUntouched();
}

TEST_F(Startup, theWindowOpensWithTheOverlayObjectsInRangeUnderTheirHeading) {
    scriptHost = [](FakeKestrelHost& host) {
        host.addStation(QStringLiteral("G0OWN"), 0.0f, 1.0f, 2.0f);
    };
    ASSERT_TRUE(QDir(hostFolder()).mkpath(QStringLiteral("overlays")));
    writeAll(hostFolder() + QStringLiteral("/overlays/b.pos"),
             "TOWER!0003.00N/00001.00E#water tower\r\n");
    start();
    ASSERT_TRUE(tickToEnd(*app->engine()));
    QApplication::processEvents();
    frmMain* window = app->window();
    auto* overlays = window->findChild<ListBox*>(QStringLiteral("lstOverlayItems"));
    ASSERT_NE(overlays, nullptr);
    EXPECT_TRUE(overlays->isVisible());
    EXPECT_FALSE(window->findChild<ListBox*>(QStringLiteral("lstWatch"))->isVisible());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblOverlays"))->text(),
              "Overlay objects in alarm");
    EXPECT_EQ(window->findChild<QPushButton*>(QStringLiteral("cmdShowWatch"))->text(), "Show");
    ASSERT_EQ(overlays->model()->rowCount(), 1);
    EXPECT_TRUE(overlays->model()->index(0, 0).data().toString().startsWith("TOWER "));
}

// The first events run once the window is shown, before the lists are read.
class StartupCut : public Startup, public ::testing::WithParamInterface<const char*> {};

TEST_P(StartupCut, beforeTheListsAreReadEndsTheProgramWithoutWriting) {
    const QString way = QString::fromLatin1(GetParam());
    scriptHost = [this, way](FakeKestrelHost& host) {
        if (hosts.size() != 1)
            return;
        QMetaObject::invokeMethod(
            &host,
            [this, way] {
                if (way == "host")
                    emit hosts[1]->Kestrel32IsClosing();
                else if (way == "close")
                    app->window()->close();
                else
                    trigger("mnuFileExit");
            },
            Qt::QueuedConnection);
    };
    startExpectingEnd(0);
    expectFilesUntouched();
}

INSTANTIATE_TEST_SUITE_P(Ways, StartupCut, ::testing::Values("host", "close", "exit"));

TEST_F(Startup, afterStartUpEveryWayOutWritesBothFilesOnce) {
    start();
    app->engine()->addWatch(QStringLiteral("IJ3KL"));
    app->engine()->setRadiusText(QStringLiteral(" 25 "));
    expectEnd([this] { trigger("mnuFileExit"); }, 0);
    EXPECT_EQ(fileBytes(listFile()), "AB1CD|Acknowledged\r\nQQ1|Watched\r\nIJ3KL|Watched\r\n");
    EXPECT_TRUE(fileBytes(iniFile()).contains("MIN_DISTANCE=25\r\n"));

    QFile::remove(listFile());
    app.reset();
    EXPECT_FALSE(QFile::exists(listFile())) << "written a second time";

    start();
    app->engine()->addWatch(QStringLiteral("ZZ1"));
    emit hosts[1]->Kestrel32IsClosing();
    EXPECT_TRUE(app->window()->isUnloaded());
    EXPECT_EQ(fileBytes(listFile()), "ZZ1|Watched\r\n");
}

TEST_F(Startup, aToggledSwitchIsWrittenAtOnceAndTheHistoryKept) {
    start();
    EXPECT_FALSE(fileBytes(iniFile()).contains("DESKTOP_NOTIFY")) << "an old file gained a key";
    trigger("mnuOptionsOverlays");
    trigger("mnuAlarmNotify");
    EXPECT_TRUE(fileBytes(iniFile()).contains("SCAN_OVERLAYS=FALSE\r\n"));
    EXPECT_TRUE(fileBytes(iniFile()).contains("DESKTOP_NOTIFY=TRUE\r\n"));
    app->engine()->addWatch(QStringLiteral("WW1"));
    EXPECT_TRUE(fileBytes(app->historyFile()).contains("|watch-added|WW1"));
}

TEST_F(Startup, anOpenHistoryWindowShowsEventsAsTheyAreWritten) {
    scriptHost = [](FakeKestrelHost& host) { host.addStation(QStringLiteral("NEAR"), 1.0f); };
    start();
    trigger("mnuAlarmHistory");
    HistoryWindow* history = HistoryWindow::openWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->lstEvents->topLevelItemCount(), 0);
    ASSERT_TRUE(tickToEnd(*app->engine()));
    app->engine()->acknowledge(0);
    ASSERT_EQ(history->lstEvents->topLevelItemCount(), 2);
    EXPECT_EQ(history->lstEvents->topLevelItem(0)->text(1), "acked");
    EXPECT_EQ(history->lstEvents->topLevelItem(1)->text(1), "entered");
    EXPECT_EQ(history->lstEvents->topLevelItem(1)->text(2), "NEAR");
    history->reload(); // what the file holds, in the same order
    ASSERT_EQ(history->lstEvents->topLevelItemCount(), 2);
    EXPECT_EQ(history->lstEvents->topLevelItem(0)->text(1), "acked");
    history->close();
}

// A spoken alarm switched on in the settings of a machine that cannot speak.
TEST_F(Startup, anUnavailableSpokenAlarmThatIsOnCanBeSwitchedOff) {
    writeAll(iniFile(), kIni + "SPEAK_ALARM=TRUE\r\n");
    start();
    auto* speak = app->window()->findChild<QAction*>(QStringLiteral("mnuAlarmSpeak"));
    ASSERT_NE(speak, nullptr);
    EXPECT_TRUE(speak->isChecked());
    EXPECT_TRUE(speak->text().endsWith(" (unavailable)"));
    ASSERT_TRUE(speak->isEnabled());
    speak->trigger();
    EXPECT_FALSE(speak->isChecked());
    EXPECT_FALSE(speak->isEnabled()); // and cannot be switched on again
    EXPECT_TRUE(fileBytes(iniFile()).contains("SPEAK_ALARM=FALSE\r\n"));
}

TEST_F(Startup, theTrackerClosingDuringATickClosesBetweenTwoAnswersAndTheTickGoesNoFurther) {
    scriptHost = [](FakeKestrelHost& host) { host.addStation(QStringLiteral("NEAR"), 1.0f); };
    start();
    hosts[1]->onGetStation = [this](const QString&) {
        hosts[1]->onGetStation = nullptr;
        QMetaObject::invokeMethod(
            hosts[1],
            [this] {
                emit hosts[1]->Kestrel32IsClosing();
                hosts[1]->failOn(QStringLiteral("GetStation"));
                hosts[1]->failOn(QStringLiteral("AlertStation"));
            },
            Qt::QueuedConnection);
    };
    QFile::remove(listFile());
    app->engine()->timer1Timer();
    EXPECT_FALSE(QFile::exists(listFile())) << "written inside the host's answer";
    QApplication::processEvents();
    EXPECT_TRUE(app->window()->isUnloaded());
    EXPECT_FALSE(app->engine()->tickRunning());
    EXPECT_EQ(fileBytes(listFile()), kLists);
    EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();
    QFile::remove(listFile());
    QApplication::processEvents();
    app->window()->close();
    EXPECT_FALSE(QFile::exists(listFile())) << "written a second time";
}

TEST_F(Startup, theNextStartRestoresThePlaceAndTheMinimisedState) {
    start();
    app->window()->move(120, 90);
    QApplication::processEvents();
    app->window()->formResize();
    app->window()->showMinimized();
    QApplication::processEvents();
    app->window()->close();
    EXPECT_TRUE(fileBytes(iniFile()).contains("LEFT=1800\r\nTOP=1350\r\nMINIMIZED=TRUE\r\n"))
        << fileBytes(iniFile()).constData();
    app.reset();
    start();
    EXPECT_TRUE(app->window()->isMinimized());
    EXPECT_EQ(app->window()->pos(), QPoint(120, 90));
}

} // namespace
