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

void frmMain::showHideWatchlist() {
    if (m_showWatchList) {
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

void frmMain::cmdShowWatchClick() {
    m_showWatchList = !m_showWatchList;
    showHideWatchlist();
    txtWatch->setFocus();
}

void frmMain::timer2Timer() {
    m_showWatchList = false;
    showHideWatchlist();
    Timer2->setEnabled(false);
}

void frmMain::setTimer2Enabled(bool on) {
    Timer2->setEnabled(on);
}

void frmMain::lstOverlayItemsClick() {
    const int row = lstOverlayItems->selectedRow();
    lblOVLItem->setText(row >= 0 ? m_engine.overlayLines().at(row) : QString());
}

void frmMain::formResize() {
    if (isMinimized())
        return;
    m_left = toInt16Rounded(leftTwips());
    m_top = toInt16Rounded(topTwips());
}

void frmMain::setRememberedPosition(qint16 left, qint16 top) {
    m_left = left;
    m_top = top;
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
    formResize();
}

void frmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    formResize();
}

void frmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        formResize();
}
