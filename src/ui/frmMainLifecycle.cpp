// Closing the main window: the window's part of the ways out. What is written on the way
// out is the program's (RingwardenApp); the window says when it goes.
#include "ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>

#include "support/WindowTimer.h"

frmMain::~frmMain() = default;

void frmMain::mnuFileExitClick() {
    emit exitRequested();
}

void frmMain::closeWithEverythingOpen() {
    while (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window == this || !window->isVisible())
            continue;
        if (auto* dialog = qobject_cast<QDialog*>(window))
            dialog->reject();
        else
            window->close();
    }
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        Timer2->setEnabled(false);
        emit unloading();
        m_unloaded = true;
        emit unloaded();
    }
    event->accept();
}
