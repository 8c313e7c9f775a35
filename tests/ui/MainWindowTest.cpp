// The main window: a second press acting on a line nobody chose, a window left maximised by
// the alarm, a failure box per tick, or a box or menu that holds the tracker's shutdown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "FakeKestrelHost.h"
#include "engine/AlarmEngine.h"
#include "ui/ListBox.h"
#include "ui/frmAbout.h"
#include "ui/frmMain.h"

namespace {

const QString kSelectFirst = QStringLiteral("You should select a station first");

class MainWindow : public ::testing::Test {
protected:
    MainWindow() {
        previousShower = setMessageBoxShower([this](const MessageBoxRequest& box) {
            shown << box.text;
            if (duringBox)
                duringBox();
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
    // A press of the given button on the list's row (-1: below the last row).
    void press(const char* list, Qt::MouseButton button, int row) {
        ListBox* box = child<ListBox>(list);
        const QPoint at = row >= 0 ? box->visualRect(box->model()->index(row, 0)).center()
                                   : QPoint(5, box->viewport()->height() - 3);
        QTest::mousePress(box->viewport(), button, {}, at);
        QTest::mouseRelease(box->viewport(), button, {}, at);
    }
    void tick() {
        engine.Timer1_Timer();
        QApplication::processEvents();
    }

    FakeKestrelHost host;
    std::function<void()> duringEvents;
    AlarmEngine engine{host, host.Map(), nullptr, [this] {
                           QApplication::processEvents();
                           if (duringEvents)
                               duringEvents();
                       }};
    frmMain window{engine};
    MessageBoxShower previousShower;
    QStringList shown;
    std::function<void()> duringBox;
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
    EXPECT_EQ(shown, QStringList({kSelectFirst}));

    press("lstAcked", Qt::LeftButton, 0);
    child<QPushButton>("cmdRearm")->click();
    child<QPushButton>("cmdRearm")->click();
    EXPECT_EQ(engine.ackedCalls().count(), 0);
    EXPECT_EQ(shown.size(), 2);

    engine.addWatch(QStringLiteral("WW1"));
    engine.addWatch(QStringLiteral("WW2"));
    child<QPushButton>("cmdShowWatch")->click();
    press("lstWatch", Qt::LeftButton, 0);
    press("lstWatch", Qt::RightButton, 0); // the menu's Delete is chosen
    press("lstWatch", Qt::RightButton, 0);
    EXPECT_EQ(engine.watchCalls().items(), QStringList({QStringLiteral("WW2")}));
    EXPECT_EQ(menusOpened, 1);
    EXPECT_EQ(shown.size(), 3);
    EXPECT_TRUE(engine.Timer1().isActive());
}

TEST_F(MainWindow, theAlarmRestoresAMaximisedWindowAndShowsTheMinimum) {
    host.addStation(QStringLiteral("NEAR"), 2.5f);
    window.showMaximized();
    tick();
    EXPECT_FALSE(window.isMaximized());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(child<QLabel>("lblMinDist")->text().startsWith("(minimum distance observed is "));
}

TEST_F(MainWindow, aFailingTickIsToldOnceAndNotAtAllOnceTheTrackerLeaves) {
    host.failOn(QStringLiteral("GetStation"));
    tick();
    tick();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("The alarm cycle could not talk to Kestrel32: "));
    host.clearFailures();
    tick(); // runs through: the next failure is told again
    engine.setRadiusText(QStringLiteral("1e300"));
    tick();
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].startsWith("The alarm cycle could not draw on Kestrel32's map"));
    engine.setRadiusText(QStringLiteral("10"));
    tick();
    window.hostClosing();
    host.failOn(QStringLiteral("GetStation"));
    tick();
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(MainWindow, aCloseDuringATickWaitsForItAndUnloadsOnce) {
    host.addStation(QStringLiteral("NEAR"), 2.5f);
    duringEvents = [this] {
        duringEvents = nullptr;
        window.close();
        EXPECT_EQ(unloads, 0);
    };
    tick();
    QApplication::processEvents();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(window.isUnloaded());
}

TEST_F(MainWindow, theTrackerLeavingEndsEveryBoxMenuAndWindowThatIsOpen) {
    frmAbout* about = frmAbout::showAbout(&window);
    ASSERT_TRUE(about->isVisible());
    duringMenu = [this](QMenu* menu) {
        menu->popup(QPoint(10, 10));
        window.hostClosing();
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
