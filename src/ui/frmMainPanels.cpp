// The panels that switch on and off, the watch-list toggle and the remembered position.
#include "ui/frmMain.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "numbers/NumericText.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"
#include "ui/ScreenPlace.h"
#include "ui/Twips.h"

void frmMain::show_hide_watchlist() {
    if (gblnShowWatchList) {
        lstOverlayItems->hide();
        lstWatch->show();
        cmdShowWatch->setText(QStringLiteral("Hide"));
        lblOverlays->setText(QStringLiteral("Watch list"));
        Timer2->setEnabled(true);
    } else {
        lstOverlayItems->show();
        lstWatch->hide();
        cmdShowWatch->setText(QStringLiteral("Show"));
        lblOverlays->setText(QStringLiteral("Overlay objects in alarm"));
    }
}

void frmMain::cmdShowWatch_Click() {
    gblnShowWatchList = !gblnShowWatchList;
    show_hide_watchlist();
    txtWatch->setFocus();
}

void frmMain::Timer2_Timer() {
    gblnShowWatchList = false;
    show_hide_watchlist();
    Timer2->setEnabled(false);
}

void frmMain::setTimer2Enabled(bool on) {
    Timer2->setEnabled(on);
}

void frmMain::lstOverlayItems_Click() {
    const int row = lstOverlayItems->selectedRow();
    lblOVLItem->setText(row >= 0 ? m_engine.overlayLines().at(row) : QString());
}

void frmMain::Form_Resize() {
    if (isMinimized())
        return;
    mintLeft = toInt16Rounded(leftTwips());
    mintTop = toInt16Rounded(topTwips());
}

void frmMain::setRememberedPosition(qint16 left, qint16 top) {
    mintLeft = left;
    mintTop = top;
}

double frmMain::leftTwips() const {
    return pixelsToTwips(pos().x(), logicalDpi());
}

double frmMain::topTwips() const {
    return pixelsToTwips(pos().y(), logicalDpi());
}

QPointF frmMain::centredTwips() {
    // Measured with its menu bar but without the window manager's frame, which is not known
    // before the window is first shown (a few pixels off centre at most).
    adjustSize();
    const QSize outer = size();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QSize screenPixels = primary ? primary->geometry().size() : QSize(1024, 768);
    const double dpi = logicalDpi();
    return {pixelsToTwips(screenPixels.width() - outer.width(), dpi) / 2.0,
            pixelsToTwips(screenPixels.height() - outer.height(), dpi) / 2.0};
}

void frmMain::moveToTwips(double left, double top) {
    const double dpi = logicalDpi();
    if (!isVisible())
        adjustSize(); // its size before it is first shown
    const QRect wanted(QPoint(twipsToPixels(left, dpi), twipsToPixels(top, dpi)),
                       frameGeometry().size());
    // A place kept from another monitor or a smaller font may lie off every screen now.
    const QScreen* target = QGuiApplication::screenAt(wanted.center());
    if (!target)
        target = QGuiApplication::primaryScreen();
    move(target ? keptInside(wanted, target->availableGeometry()) : wanted.topLeft());
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    Form_Resize();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
}
