// The Help menu.
#include "ui/frmMain.h"

#include <QAction>

#include "ui/HelpWindow.h"
#include "ui/frmAbout.h"
#include "ui/frmUpdate.h"

void frmMain::mnuHelpHelp_Click() {
    ShowHelp(this, m_helpFile);
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout::showAbout(this);
}

void frmMain::mnuHelpUpdate_Click() {
    // The request waits in a local event loop; a close meanwhile waits for it to end.
    BusyScope busy(*this);
    mnuHelpUpdate->setEnabled(false);
    CheckForUpdate(*this, m_updateCheck);
    mnuHelpUpdate->setEnabled(true);
}
