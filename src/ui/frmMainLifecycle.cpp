// Closing the main window: the three ways out, and closes that arrive while work that lets
// events run is still on the stack.
#include "ui/frmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QMetaObject>

#include "support/WindowTimer.h"

frmMain::~frmMain() = default;

frmMain::BusyScope::BusyScope(frmMain& form) : m_form(form) {
    ++m_form.m_busyDepth;
}

frmMain::BusyScope::~BusyScope() {
    if (--m_form.m_busyDepth == 0 && (m_form.m_closePending || m_form.m_exitPending))
        QMetaObject::invokeMethod(
            &m_form, [form = &m_form] { form->carryOutPendingClose(); }, Qt::QueuedConnection);
}

bool frmMain::isBusy() const {
    return m_busyDepth > 0 || m_engine.tickRunning();
}

void frmMain::carryOutPendingClose() {
    if (isBusy())
        return;
    if (m_exitPending) {
        m_exitPending = false;
        mnuFileExit_Click();
        return;
    }
    if (m_closePending) {
        m_closePending = false;
        close();
    }
}

void frmMain::mnuFileExit_Click() {
    if (isBusy()) {
        m_exitPending = true;
        return;
    }
    m_engine.Timer1().stop();
    emit exitRequested();
}

void frmMain::hostClosing() {
    m_hostClosing = true;
    m_engine.hostClosing();
    // A box, a menu, the About or update window would hold the shutdown until somebody
    // answered it: nobody may be there to.
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
    if (m_unloaded) {
        event->accept();
        return;
    }
    if (isBusy()) {
        m_closePending = true;
        event->ignore();
        return;
    }
    m_engine.Timer1().stop();
    Timer2->setEnabled(false);
    emit unloading();
    m_unloaded = true;
    event->accept();
    emit unloaded();
}
