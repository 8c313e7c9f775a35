// The operator's commands on the three lists.
#include "ui/frmMain.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "lists/Commands.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "ui/ListBox.h"

namespace {

const QString kSelectFirst = QStringLiteral("You should select a station first");

} // namespace

void frmMain::hint(MessageIcon icon, const QString& text) {
    showMessageBox(icon, kDefaultMessageTitle, text);
}

void frmMain::openPopup(QMenu* menu, const QPoint& globalPos) {
    if (popupMenu)
        popupMenu(menu, globalPos);
    else
        menu->exec(globalPos);
}

void frmMain::mnuPopup1Ack_Click() {
    m_engine.acknowledge(lstStations->selectedRow());
}

void frmMain::cmdAck_Click() {
    if (lstStations->selectedRow() < 0) {
        m_engine.holdTicks(true);
        hint(MessageIcon::None, kSelectFirst);
        m_engine.holdTicks(false);
        return;
    }
    mnuPopup1Ack_Click();
}

void frmMain::cmdAckAll_Click() {
    m_engine.acknowledgeAll();
}

void frmMain::mnuPopup2ReArm_Click() {
    m_engine.rearm(lstAcked->selectedRow());
}

void frmMain::cmdRearm_Click() {
    m_engine.holdTicks(true);
    if (lstAcked->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else
        mnuPopup2ReArm_Click();
    m_engine.holdTicks(false);
}

void frmMain::cmdRearmAll_Click() {
    m_engine.rearmAll();
}

void frmMain::mnuPopu3Delete_Click() {
    m_engine.deleteWatch(lstWatch->selectedRow());
}

void frmMain::lstStations_MouseDown(int button, const QPoint& globalPos) {
    m_engine.holdTicks(true);
    if (lstStations->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup1, globalPos);
    m_engine.holdTicks(false);
}

void frmMain::lstAcked_MouseDown(int button, const QPoint& globalPos) {
    if (lstAcked->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup2, globalPos);
}

void frmMain::lstWatch_MouseDown(int button, const QPoint& globalPos) {
    if (lstWatch->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup3, globalPos);
}

void frmMain::cmdAddWatch_Click() {
    const QString refusal = m_engine.addWatch(txtWatch->text());
    if (refusal.isEmpty())
        txtWatch->clear();
    else
        hint(MessageIcon::Critical, refusal);
    txtWatch->setFocus();
}

int frmMain::txtWatch_KeyPress(int keyAscii) {
    if (keyAscii == 13) {
        cmdAddWatch_Click();
        return 0;
    }
    return upperCaseWatchKey(keyAscii);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtWatch || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        txtWatch_KeyPress(13);
        return true;
    }
    const QString typed = key->text();
    if (typed.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    QString filtered;
    for (const QChar c : typed) {
        const int code = txtWatch_KeyPress(c.unicode());
        if (code != 0)
            filtered += QChar(code);
    }
    if (filtered == typed)
        return false;
    if (!filtered.isEmpty())
        txtWatch->insert(filtered);
    return true;
}
