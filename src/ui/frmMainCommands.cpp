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

void frmMain::mnuPopup1AckClick() {
    m_engine.acknowledge(lstStations->selectedRow());
}

void frmMain::cmdAckClick() {
    if (lstStations->selectedRow() < 0) {
        m_engine.holdTicks(true);
        hint(MessageIcon::None, kSelectFirst);
        m_engine.holdTicks(false);
        return;
    }
    mnuPopup1AckClick();
}

void frmMain::cmdAckAllClick() {
    m_engine.acknowledgeAll();
}

void frmMain::mnuPopup2ReArmClick() {
    m_engine.rearm(lstAcked->selectedRow());
}

void frmMain::cmdRearmClick() {
    m_engine.holdTicks(true);
    if (lstAcked->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else
        mnuPopup2ReArmClick();
    m_engine.holdTicks(false);
}

void frmMain::cmdRearmAllClick() {
    m_engine.rearmAll();
}

void frmMain::mnuPopu3DeleteClick() {
    m_engine.deleteWatch(lstWatch->selectedRow());
}

void frmMain::lstStationsMouseDown(int button, const QPoint& globalPos) {
    m_engine.holdTicks(true);
    if (lstStations->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup1, globalPos);
    m_engine.holdTicks(false);
}

void frmMain::lstAckedMouseDown(int button, const QPoint& globalPos) {
    if (lstAcked->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup2, globalPos);
}

void frmMain::lstWatchMouseDown(int button, const QPoint& globalPos) {
    if (lstWatch->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup3, globalPos);
}

void frmMain::cmdAddWatchClick() {
    const QString refusal = m_engine.addWatch(txtWatch->text());
    if (refusal.isEmpty())
        txtWatch->clear();
    else
        hint(MessageIcon::Critical, refusal);
    txtWatch->setFocus();
}

int frmMain::txtWatchKeyPress(int keyAscii) {
    if (keyAscii == 13) {
        cmdAddWatchClick();
        return 0;
    }
    return upperCaseWatchKey(keyAscii);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched != txtWatch || event->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        txtWatchKeyPress(13);
        return true;
    }
    const QString typed = key->text();
    if (typed.isEmpty() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    QString filtered;
    for (const QChar c : typed) {
        const int code = txtWatchKeyPress(c.unicode());
        if (code != 0)
            filtered += QChar(code);
    }
    if (filtered == typed)
        return false;
    if (!filtered.isEmpty())
        txtWatch->insert(filtered);
    return true;
}
