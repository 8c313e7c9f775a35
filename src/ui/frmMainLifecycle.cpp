// Closing the main window: the three ways out, and closes that arrive while work that lets
// events run is still on the stack.
#include "ui/frmMain.h"

#include <QCloseEvent>
#include <QMetaObject>

#include "engine/AlarmContext.h"
#include "engine/SoundPlayer.h"
#include "support/MessageBoxSeam.h"
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
    Timer1->setEnabled(false);
    saveini();
    SaveLists();
    endProcess(0);
}

void frmMain::Form_Unload() {
    saveini();
    SaveLists();
}

void frmMain::gKestrel_Kestrel32IsClosing() {
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
    Timer1->setEnabled(false);
    Timer2->setEnabled(false);
    Form_Unload();
    m_unloaded = true;
    event->accept();
    emit unloaded();
}
