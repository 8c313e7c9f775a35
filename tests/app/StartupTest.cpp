// Start-up and shutdown: the operator's files written over by a start-up that was cut short or
// refused, a setting lost at shutdown, or a close during a tick that never happens.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QMetaObject>
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

// The boxes that end the program: behind them nothing of it may run (no tick, no window, no
// history), and the tracker closing while one is open writes nothing.
TEST_F(Startup, aBoxThatEndsTheProgramLetsNothingRunBehindItAndWritesNothing) {
    const struct {
        bool secondCopy;
        QString text;
    } rows[] = {{true, "Another instance of this program (Kestrel32 add-on Ringwarden V1.1.0) is "
                       "already running"},
                {false, "Error getting station callsign from Kestrel32.INI"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text.toStdString());
        QLockFile running(lockPath(env.lockFolder, env.executablePath));
        if (row.secondCopy)
            ASSERT_TRUE(running.tryLock(0));
        else
            installHost(QString()); // no callsign
        bool ticking = true, windowShown = true;
        duringBox = [&] {
            ticking = app->engine() && app->engine()->isTicking();
            windowShown = false;
            for (const QWidget* window : QApplication::topLevelWidgets())
                windowShown = windowShown || window->isVisible();
            emit hosts[1]->Kestrel32IsClosing();
        };
        shown.clear();
        expectEnd([this] { start(); }, row.secondCopy ? 0 : 1);
        EXPECT_FALSE(ticking);
        EXPECT_FALSE(windowShown);
        EXPECT_FALSE(QFile::exists(app->historyFile()));
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(shown[0].contains(row.text)) << shown[0].toStdString();
        expectFilesUntouched();
    }
}

// The first events run once the window is shown, before the lists are read.
TEST_F(Startup, aWayOutBeforeTheListsAreReadEndsTheProgramWithoutWriting) {
    for (const QString way : {"host", "close", "exit"}) {
        SCOPED_TRACE(way.toStdString());
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
        expectEnd([this] { start(); }, 0);
        expectFilesUntouched();
    }
}

// Every way out writes both files once, with the window's place for the next start; a way out
// on a full disk leaves them as they were, with no half-written file beside them.
TEST_F(Startup, afterStartUpEveryWayOutWritesBothFilesOnceOrKeepsThemWhenTheDiskIsFull) {
    start();
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(app->engine()->ownCallsign(), "G0OWN");
    EXPECT_EQ(app->engine()->radiusText(), "7.5");
    EXPECT_FALSE(app->engine()->isOn(AlarmEngine::Switch::AudibleAlarm));
    expectFilesUntouched();
    app->engine()->addWatch(QStringLiteral("IJ3KL"));
    app->engine()->setRadiusText(QStringLiteral(" 25 "));
    app->window()->move(120, 90);
    QApplication::processEvents();
    app->window()->formResize();
    app->window()->showMinimized();
    QApplication::processEvents();
    expectEnd([this] { trigger("mnuFileExit"); }, 0);
    EXPECT_EQ(fileBytes(listFile()), "AB1CD|Acknowledged\r\nQQ1|Watched\r\nIJ3KL|Watched\r\n");
    EXPECT_TRUE(fileBytes(iniFile()).contains("MIN_DISTANCE=25\r\n"));
    EXPECT_TRUE(fileBytes(iniFile()).contains("LEFT=1800\r\nTOP=1350\r\nMINIMIZED=TRUE\r\n"))
        << fileBytes(iniFile()).constData();
    QFile::remove(listFile());
    app.reset();
    EXPECT_FALSE(QFile::exists(listFile())) << "written a second time";

    start();
    EXPECT_TRUE(app->window()->isMinimized());
    EXPECT_EQ(app->window()->pos(), QPoint(120, 90));
    app->engine()->addWatch(QStringLiteral("ZZ1"));
    emit hosts[1]->Kestrel32IsClosing();
    EXPECT_TRUE(app->window()->isUnloaded());
    EXPECT_EQ(fileBytes(listFile()), "ZZ1|Watched\r\n");

    start();
    app->engine()->addWatch(QStringLiteral("FULL1"));
    app->engine()->setRadiusText(QStringLiteral("99"));
    const QByteArray ini = fileBytes(iniFile()), lists = fileBytes(listFile());
    const QStringList files = filesIn(QFileInfo(iniFile()).path());
    {
        FileSizeLimit full(0);
        ASSERT_TRUE(full.active());
        app->window()->close();
    }
    EXPECT_TRUE(app->window()->isUnloaded());
    EXPECT_EQ(fileBytes(iniFile()), ini);
    EXPECT_EQ(fileBytes(listFile()), lists);
    EXPECT_EQ(filesIn(QFileInfo(iniFile()).path()), files);
}

// After the first tick the window shows the overlay objects in range under their heading, and
// an open history window the events as they are written.
TEST_F(Startup, theFirstTickFillsTheOverlayPanelAndAnOpenHistoryWindow) {
    scriptHost = [](FakeKestrelHost& host) {
        host.addStation(QStringLiteral("G0OWN"), 0.0f, 1.0f, 2.0f);
        host.addStation(QStringLiteral("NEAR"), 1.0f);
    };
    ASSERT_TRUE(QDir(hostFolder()).mkpath(QStringLiteral("overlays")));
    writeAll(hostFolder() + QStringLiteral("/overlays/b.pos"),
             "TOWER!0003.00N/00001.00E#water tower\r\n");
    start();
    trigger("mnuAlarmHistory");
    HistoryWindow* history = HistoryWindow::openWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->lstEvents->topLevelItemCount(), 0);
    ASSERT_TRUE(tickToEnd(*app->engine()));
    QApplication::processEvents();
    frmMain* window = app->window();
    auto* overlays = window->findChild<ListBox*>(QStringLiteral("lstOverlayItems"));
    ASSERT_NE(overlays, nullptr);
    EXPECT_TRUE(overlays->isVisible());
    ASSERT_EQ(overlays->model()->rowCount(), 1);
    EXPECT_TRUE(overlays->model()->index(0, 0).data().toString().startsWith("TOWER "));
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

// A toggled switch is written at once, keys an old file lacked among them; a spoken alarm
// switched on in the settings of a machine that cannot speak can be switched off.
TEST_F(Startup, aToggledSwitchIsWrittenAtOnceAndAnUnavailableSpokenAlarmCanBeSwitchedOff) {
    writeAll(iniFile(), kIni + "SPEAK_ALARM=TRUE\r\n");
    start();
    EXPECT_FALSE(fileBytes(iniFile()).contains("DESKTOP_NOTIFY")) << "an old file gained a key";
    trigger("mnuOptionsOverlays");
    trigger("mnuAlarmNotify");
    EXPECT_TRUE(fileBytes(iniFile()).contains("SCAN_OVERLAYS=FALSE\r\n"));
    EXPECT_TRUE(fileBytes(iniFile()).contains("DESKTOP_NOTIFY=TRUE\r\n"));
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

} // namespace
