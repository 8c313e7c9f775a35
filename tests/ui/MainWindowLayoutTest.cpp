#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "lists/TextList.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"
#include "ui/frmMain.h"

namespace {

struct Placement {
    const char* name;
    QRect pixels; // at 96 DPI: twips / 15
};

class MainWindowLayout : public ::testing::TestWithParam<Placement> {
protected:
    void SetUp() override {
        if (QGuiApplication::primaryScreen()->logicalDotsPerInchY() != 96.0)
            GTEST_SKIP() << "the pixel table is for a 96 DPI screen";
    }
    frmMain form;
};

TEST_P(MainWindowLayout, ControlSitsAtItsPlace) {
    const Placement& p = GetParam();
    auto* widget = form.findChild<QWidget*>(QString::fromLatin1(p.name));
    ASSERT_NE(widget, nullptr) << p.name;
    EXPECT_EQ(widget->geometry(), p.pixels) << p.name;
}

INSTANTIATE_TEST_SUITE_P(Controls, MainWindowLayout,
                         ::testing::Values(Placement{"lblAlarmRange1", QRect(8, 8, 105, 25)},
                                           Placement{"txtRadius", QRect(120, 8, 61, 22)},
                                           Placement{"lblAlarmRange2", QRect(200, 8, 273, 25)},
                                           Placement{"lblWatchlist", QRect(488, 0, 105, 25)},
                                           Placement{"txtWatch", QRect(488, 24, 113, 25)},
                                           Placement{"cmdAddWatch", QRect(600, 24, 41, 17)},
                                           Placement{"cmdShowWatch", QRect(600, 48, 41, 17)},
                                           Placement{"lblMinDist", QRect(8, 40, 457, 17)},
                                           Placement{"lblStationsAlarm", QRect(24, 72, 153, 41)},
                                           Placement{"lblStationsAcked", QRect(248, 72, 129, 33)},
                                           Placement{"lblOverlays", QRect(448, 72, 121, 33)},
                                           Placement{"lstStations", QRect(8, 104, 177, 199)},
                                           Placement{"cmdAck", QRect(192, 120, 33, 25)},
                                           Placement{"cmdAckAll", QRect(192, 160, 33, 25)},
                                           Placement{"cmdRearm", QRect(192, 200, 33, 25)},
                                           Placement{"cmdRearmAll", QRect(192, 240, 33, 25)},
                                           Placement{"lstAcked", QRect(232, 104, 161, 199)},
                                           Placement{"lstOverlayItems", QRect(432, 104, 193, 199)},
                                           Placement{"lstWatch", QRect(432, 104, 193, 199)},
                                           Placement{"lblOVLItem", QRect(8, 312, 633, 17)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, TextsAndTooltipsAsDesigned) {
    frmMain form;
    EXPECT_EQ(form.lblAlarmRange1->text(), "Alarm range");
    EXPECT_EQ(form.txtRadius->text(), "25");
    EXPECT_EQ(form.txtRadius->toolTip(), "Movements less than this are ignored");
    EXPECT_EQ(form.lblAlarmRange2->text(), "Miles or kilometers (see Kestrel setup)");
    EXPECT_EQ(form.lblWatchlist->text(), "Watch List");
    EXPECT_EQ(form.cmdAddWatch->text(), "Add");
    EXPECT_EQ(form.cmdShowWatch->text(), "Show");
    EXPECT_EQ(form.lblMinDist->text(), "Minimum distance observed = ");
    EXPECT_EQ(form.lblStationsAlarm->text(), "Stations within alarm range");
    EXPECT_EQ(form.lblStationsAcked->text(), "Acknowledged Stations");
    EXPECT_EQ(form.lstStations->toolTip(),
              "Select a station and acknowledge with rightmouse button");
    EXPECT_EQ(form.lstAcked->toolTip(), "Select a station and re-arm it with rightmouse button");
    EXPECT_EQ(form.cmdAck->toolTip(), "Acknowledge the selected  station");
    EXPECT_EQ(form.cmdAckAll->toolTip(), "Acknowledge all  stations");
    EXPECT_EQ(form.cmdRearm->toolTip(), "Rearm the selected  station");
    EXPECT_EQ(form.cmdRearmAll->toolTip(), "Re-arm all  stations");
    EXPECT_EQ(form.cmdAck->text(), ">");
    EXPECT_EQ(form.cmdAckAll->text(), ">>");
    EXPECT_EQ(form.cmdRearm->text(), "<");
    EXPECT_EQ(form.cmdRearmAll->text(), "<<");
}

TEST(MainWindow, ListColoursAndFonts) {
    frmMain form;
    EXPECT_EQ(form.lstStations->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(form.lstAcked->palette().color(QPalette::Base), QColor(0, 192, 0));
    EXPECT_TRUE(QFontInfo(form.lstStations->font()).fixedPitch());
    EXPECT_TRUE(QFontInfo(form.txtRadius->font()).fixedPitch());
    EXPECT_TRUE(form.lblAlarmRange1->font().bold());
    EXPECT_DOUBLE_EQ(form.lblAlarmRange1->font().pointSizeF(), 9.75);
    EXPECT_FALSE(QFontInfo(form.lblAlarmRange1->font()).fixedPitch());
}

TEST(MainWindow, FixedSizeWindowThatCanBeMinimised) {
    frmMain form;
    form.show();
    QApplication::processEvents();
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_TRUE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(form.centralWidget()->size(), QSize(644, 339));
}

TEST(MainWindow, TabOrderFollowsTheDesign) {
    frmMain form;
    const std::vector<QWidget*> order = {form.lstStations,  form.txtRadius,   form.lstAcked,
                                         form.cmdAckAll,    form.cmdRearmAll, form.lstOverlayItems,
                                         form.cmdRearm,     form.cmdAck,      form.txtWatch,
                                         form.cmdShowWatch, form.lstWatch,    form.cmdAddWatch};
    for (size_t i = 1; i < order.size(); ++i) {
        QWidget* next = order[i - 1]->nextInFocusChain();
        while (next && next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i]) << "after " << order[i - 1]->objectName().toStdString();
    }
}

TEST(MainWindow, MenuTreeWithAccessLettersAndShortcuts) {
    frmMain form;
    const QList<QAction*> top = form.menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[1]->text(), "&Alarm");
    EXPECT_EQ(top[2]->text(), "Options");
    EXPECT_EQ(top[3]->text(), "&Help");
    EXPECT_EQ(form.mnuFileExit->text(), "E&xit");
    EXPECT_EQ(form.mnuAlarmBringToFront->text(), "Bring to front on alarm");
    EXPECT_TRUE(form.mnuAlarmBringToFront->isChecked());
    EXPECT_EQ(form.mnuAlarm->text(), "&Audible alarm");
    EXPECT_FALSE(form.mnuAlarm->isChecked());
    EXPECT_EQ(form.mnuOptionsStations->text(), "Stations");
    EXPECT_EQ(form.mnuOptionsStations->shortcut(), QKeySequence(Qt::Key_F2));
    EXPECT_EQ(form.mnuOptionsOverlays->text(), "Overlay Items");
    EXPECT_EQ(form.mnuOptionsOverlays->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(form.mnuHelpHelp->shortcut(), QKeySequence(Qt::Key_F1));
    const QList<QAction*> help = form.mnuHelp->actions();
    ASSERT_EQ(help.size(), 4);
    EXPECT_EQ(help[0]->text(), "&Help");
    EXPECT_TRUE(help[1]->isSeparator());
    EXPECT_EQ(help[2]->text(), "&About");
    EXPECT_EQ(help[3]->text(), "&Check for update");
}

TEST(MainWindow, ContextMenusAreNotInTheMenuBar) {
    frmMain form;
    for (QMenu* popup : {form.mnuPopup1, form.mnuPopup2, form.mnuPopup3})
        EXPECT_FALSE(form.menuBar()->actions().contains(popup->menuAction()));
    EXPECT_EQ(form.mnuPopup1Ack->text(), "Acknowledge");
    EXPECT_EQ(form.mnuPopup2ReArm->text(), "Re-arm");
    EXPECT_EQ(form.mnuPopu3Delete->text(), "Delete from watchlist");
}

TEST(MainWindow, TimersHaveTheirIntervals) {
    frmMain form;
    EXPECT_EQ(form.Timer1->interval(), 10000);
    EXPECT_TRUE(form.Timer1->isEnabled());
    EXPECT_EQ(form.Timer2->interval(), 15000);
}

// --- panels ---

TEST(MainWindowPanels, StationScanOffShowsDisabledAndGreysTheStationPanel) {
    frmMain form;
    form.stationLines->add(QStringLiteral("AB1CD distance 3."));
    form.gblnScanStations = false;
    form.enable_disable_stations();
    ASSERT_EQ(form.stationLines->count(), 1);
    EXPECT_EQ(form.stationLines->at(0), "disabled");
    for (QWidget* w : {static_cast<QWidget*>(form.lstStations), static_cast<QWidget*>(form.cmdAck),
                       static_cast<QWidget*>(form.cmdAckAll), static_cast<QWidget*>(form.cmdRearm),
                       static_cast<QWidget*>(form.cmdRearmAll)})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();

    form.gblnScanStations = true;
    form.enable_disable_stations();
    EXPECT_EQ(form.stationLines->count(), 0);
    EXPECT_TRUE(form.lstStations->isEnabled());
    EXPECT_TRUE(form.cmdRearmAll->isEnabled());
}

TEST(MainWindowPanels, OverlayScanOffGreysTheListButKeepsItsEntries) {
    frmMain form;
    form.overlayLines->add(QStringLiteral("TOWER 2.5km (water tower)"));
    form.gblnScanOverlays = false;
    form.enable_disable_overlays();
    EXPECT_FALSE(form.lstOverlayItems->isEnabled());
    EXPECT_EQ(form.overlayLines->count(), 1);
}

TEST(MainWindowPanels, ShowPutsTheWatchListInPlaceAndTimer2FoldsItAway) {
    frmMain form;
    form.show();
    QApplication::setActiveWindow(&form);
    form.show_hide_watchlist();
    EXPECT_EQ(form.lblOverlays->text(), "Overlay objects in alarm");

    form.cmdShowWatch->click();
    EXPECT_TRUE(form.gblnShowWatchList);
    EXPECT_TRUE(form.lstWatch->isVisible());
    EXPECT_FALSE(form.lstOverlayItems->isVisible());
    EXPECT_EQ(form.cmdShowWatch->text(), "Hide");
    EXPECT_EQ(form.lblOverlays->text(), "Watch list");
    EXPECT_TRUE(form.Timer2->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form.txtWatch);

    form.Timer2->fire();
    EXPECT_FALSE(form.gblnShowWatchList);
    EXPECT_FALSE(form.lstWatch->isVisible());
    EXPECT_TRUE(form.lstOverlayItems->isVisible());
    EXPECT_EQ(form.cmdShowWatch->text(), "Show");
    EXPECT_EQ(form.lblOverlays->text(), "Overlay objects in alarm");
    EXPECT_FALSE(form.Timer2->isEnabled());
}

TEST(MainWindowPanels, ShowingAgainWhileTimer2RunsDoesNotRestartIt) {
    frmMain form;
    form.cmdShowWatch_Click(); // shown, Timer2 started
    form.cmdShowWatch_Click(); // hidden: Timer2 stays on
    EXPECT_TRUE(form.Timer2->isEnabled());
    form.cmdShowWatch_Click(); // shown again while it runs
    EXPECT_EQ(form.Timer2->startCount(), 1);
}

TEST(MainWindowPanels, ClickOnAnOverlayLineShowsItInFull) {
    frmMain form;
    form.overlayLines->add(QStringLiteral("TOWER 2.5km (water tower)"));
    form.overlayLines->add(QStringLiteral("MAST 3.75km ()"));
    form.show();
    QApplication::processEvents();
    const QRect second = form.lstOverlayItems->visualRect(form.overlayLines->index(1));
    QTest::mouseClick(form.lstOverlayItems->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(form.lblOVLItem->text(), "MAST 3.75km ()");
}

// --- position tracking ---

TEST(MainWindowPosition, TracksThePositionInTwipsOnResizeEvents) {
    frmMain form;
    form.show();
    form.move(100, 50);
    QApplication::processEvents();
    form.Form_Resize();
    EXPECT_EQ(form.mintLeftValue(), qRound(form.leftTwips()));
    EXPECT_EQ(form.mintTopValue(), qRound(form.topTwips()));
    EXPECT_EQ(form.mintLeftValue(), 1500);
}

TEST(MainWindowPosition, MinimisedWindowKeepsTheStoredPosition) {
    frmMain form;
    form.show();
    form.move(100, 50);
    QApplication::processEvents();
    form.Form_Resize();
    const qint16 left = form.mintLeftValue();
    form.showMinimized();
    form.move(300, 300);
    QApplication::processEvents();
    form.Form_Resize();
    EXPECT_TRUE(form.isMinimized());
    EXPECT_EQ(form.mintLeftValue(), left);
}

TEST(MainWindowPosition, FarRightPositionIsClampedNotWrapped) {
    frmMain form;
    form.show();
    form.move(3000, 10); // 45000 twips: beyond 16 bits
    QApplication::processEvents();
    form.Form_Resize();
    EXPECT_EQ(form.mintLeftValue(), 32767);
}

} // namespace
