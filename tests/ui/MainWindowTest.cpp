// A second press acting on a line nobody chose, a window left maximised, a box or menu held.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMetaObject>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "FakeKestrelHost.h"
#include "TickToEnd.h"
#include "engine/AlarmEngine.h"
#include "ui/ListBox.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace {

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        previousShower = setMessageBoxShower([this](const MessageBoxRequest& box) {
            shown << box.text;
            boxesWaited = boxesWaited || (box.waits && box.icon == MessageIcon::Warning);
        });
        engine.setOwnCallsign(QStringLiteral("OWN"));
        host.addStation(QStringLiteral("OWN"), 0.0f);
        engine.setSwitch(AlarmEngine::Switch::ScanOverlays, false);
        engine.setSwitch(AlarmEngine::Switch::AudibleAlarm, false);
        window.popupMenu = [this](QMenu* menu, const QPoint&) {
            ++menusOpened;
            if (duringMenu)
                duringMenu(menu);
            else
                menu->actions().first()->trigger();
        };
        QObject::connect(&window, &frmMain::unloading, [this] { ++unloads; });
        window.show();
    }
    ~MainWindow() override { setMessageBoxShower(previousShower); }

    template <typename T> T* child(const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void press(const char* list, Qt::MouseButton button, int row) {
        ListBox* box = child<ListBox>(list);
        const QPoint at = box->visualRect(box->model()->index(row, 0)).center();
        QTest::mousePress(box->viewport(), button, {}, at);
        QTest::mouseRelease(box->viewport(), button, {}, at);
    }
    void tick() {
        ASSERT_TRUE(tickToEnd(engine));
        QApplication::processEvents();
    }

    FakeKestrelHost host;
    AlarmEngine engine{host, host.Map(), nullptr};
    frmMain window{engine};
    MessageBoxShower previousShower;
    QStringList shown;
    bool boxesWaited = false;
    std::function<void(QMenu*)> duringMenu;
    int menusOpened = 0;
    int unloads = 0;
};

TEST_F(MainWindow, aSecondPressAfterARemovalFindsNoSelection) {
    for (const char* call : {"AB1CD", "EF2GH", "M0BLN-11"})
        host.addStation(QString::fromLatin1(call), 1.0f);
    tick();
    press("lstStations", Qt::LeftButton, 1);
    child<QPushButton>("cmdAck")->click();
    child<QPushButton>("cmdAck")->click();
    EXPECT_EQ(engine.ackedCalls().items(), QStringList({QStringLiteral("EF2GH")}));
    EXPECT_EQ(shown, QStringList({QStringLiteral("You should select a station first")}));

    engine.addWatch(QStringLiteral("WW1"));
    engine.addWatch(QStringLiteral("WW2"));
    child<QPushButton>("cmdShowWatch")->click();
    press("lstWatch", Qt::LeftButton, 0);
    press("lstWatch", Qt::RightButton, 0); // the menu's Delete is chosen
    press("lstWatch", Qt::RightButton, 0);
    EXPECT_EQ(engine.watchCalls().items(), QStringList({QStringLiteral("WW2")}));
    EXPECT_EQ(menusOpened, 1);
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(MainWindow, theAlarmRestoresAMaximisedWindowAndShowsTheMinimum) {
    host.addStation(QStringLiteral("G4CAR-9"), 4.467f);
    window.showMaximized();
    tick();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(child<QLabel>("lblMinDist")->text().startsWith("(minimum distance observed is "));
}

TEST_F(MainWindow, aStoredPlaceOffTheScreenIsBroughtBackOnIt) {
    const QRect screen = window.screen()->availableGeometry();
    // A place on the screen is restored as it was: the start-up test in tests/app sees that.
    for (const double twips : {32767.0, -32768.0, 1.0e9}) {
        window.moveToTwips(twips, twips);
        EXPECT_TRUE(screen.contains(window.frameGeometry())) << twips;
    }
    window.moveToTwips(-32768, 32767);
    EXPECT_EQ(window.frameGeometry().left(), screen.left());
    EXPECT_EQ(window.frameGeometry().bottom(), screen.bottom());
}

// How often a failure is told is the engine's rule; the window shows it, without waiting
// for an answer, and not once the window has gone.
TEST_F(MainWindow, aFailingTickIsShownAsANoticeButNotOnceTheWindowHasClosed) {
    host.failOn(QStringLiteral("GetStation"));
    tick();
    ASSERT_EQ(shown.size(), 1); // the engine's text (tests/engine)
    EXPECT_FALSE(boxesWaited) << "the failure held the window with a box that waits";
    host.clearFailures();
    tick();
    host.failOn(QStringLiteral("GetStation"));
    engine.timer1Timer();
    window.close(); // before the failure's notice comes up
    QApplication::processEvents();
    EXPECT_EQ(shown.size(), 1);
}

TEST_F(MainWindow, aCloseDuringATickClosesAtOnceAndUnloadsOnce) {
    host.addStation(QStringLiteral("NEAR"), 2.5f);
    host.onGetStation = [this](const QString&) {
        host.onGetStation = nullptr;
        QMetaObject::invokeMethod(
            &window, [this] { window.close(); }, Qt::QueuedConnection);
    };
    QObject::connect(&window, &frmMain::unloading, [this] {
        EXPECT_TRUE(engine.tickRunning()) << "the close waited for the tick";
    });
    tick();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(window.isUnloaded());
    window.close();
    EXPECT_EQ(unloads, 1);
}

TEST_F(MainWindow, theTrackerLeavingEndsEveryBoxMenuAndWindowThatIsOpen) {
    frmAbout* about = frmAbout::showAbout(&window);
    ASSERT_TRUE(about->isVisible());
    duringMenu = [this](QMenu* menu) {
        menu->popup(QPoint(10, 10));
        window.closeWithEverythingOpen();
        EXPECT_FALSE(menu->isVisible());
    };
    host.addStation(QStringLiteral("NEAR"), 2.5f);
    tick();
    press("lstStations", Qt::LeftButton, 0);
    press("lstStations", Qt::RightButton, 0);
    QApplication::processEvents();
    EXPECT_EQ(menusOpened, 1);
    EXPECT_FALSE(about->isVisible());
    EXPECT_EQ(unloads, 1);
}

} // namespace
