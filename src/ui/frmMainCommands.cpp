// The operator's commands on the three lists.
#include "ui/frmMain.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

#include "lists/Commands.h"
#include "lists/TextList.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "support/WindowTimer.h"
#include "ui/ListBox.h"

namespace {

const QString kSelectFirst = QStringLiteral("You should select a station first");
const QString kNoCallsign = QStringLiteral("You're supposed to put a callsign in the box!");
const QString kNotStorable =
    QStringLiteral("A callsign for the watch list cannot contain \"|\" or a line break.");

} // namespace

void frmMain::hint(MessageIcon icon, const QString& text) {
    BusyScope busy(*this);
    showMessageBox(icon, kDefaultMessageTitle, text);
}

void frmMain::openPopup(QMenu* menu, const QPoint& globalPos) {
    BusyScope busy(*this);
    if (popupMenu)
        popupMenu(menu, globalPos);
    else
        menu->exec(globalPos);
}

void frmMain::mnuPopup1Ack_Click() {
    Timer1->setEnabled(false);
    acknowledgeLine(*stationLines, lstStations->selectedRow(), *ackedCalls);
    Timer1->setEnabled(true);
}

void frmMain::cmdAck_Click() {
    Timer1->setEnabled(false);
    if (lstStations->selectedRow() < 0) {
        hint(MessageIcon::None, kSelectFirst);
        Timer1->setEnabled(true);
        return;
    }
    mnuPopup1Ack_Click();
}

void frmMain::cmdAckAll_Click() {
    Timer1->setEnabled(false);
    acknowledgeAll(*stationLines, *ackedCalls);
    Timer1->setEnabled(true);
}

void frmMain::mnuPopup2ReArm_Click() {
    ackedCalls->removeAt(lstAcked->selectedRow());
}

void frmMain::cmdRearm_Click() {
    Timer1->setEnabled(false);
    if (lstAcked->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else
        mnuPopup2ReArm_Click();
    Timer1->setEnabled(true);
}

void frmMain::cmdRearmAll_Click() {
    ackedCalls->clear();
}

void frmMain::mnuPopu3Delete_Click() {
    watchCalls->removeAt(lstWatch->selectedRow());
}

void frmMain::lstStations_MouseDown(int button, const QPoint& globalPos) {
    Timer1->setEnabled(false);
    if (lstStations->selectedRow() < 0)
        hint(MessageIcon::None, kSelectFirst);
    else if (button == 2)
        openPopup(mnuPopup1, globalPos);
    Timer1->setEnabled(true);
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
    const QString text = trimBlanks(txtWatch->text());
    if (text.isEmpty()) {
        hint(MessageIcon::Critical, kNoCallsign);
    } else if (!isStorableWatchEntry(text)) {
        hint(MessageIcon::Critical, kNotStorable);
    } else {
        watchCalls->add(text);
        txtWatch->clear();
    }
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
