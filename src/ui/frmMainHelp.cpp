// The Help menu.
#include "ui/frmMain.h"

#include <QAction>

#include "support/Globals.h"
#include "support/HelpBrowser.h"
#include "ui/frmAbout.h"
#include "ui/frmUpdate.h"

void frmMain::mnuHelpHelp_Click() {
    OpenHelpFile(gstrHelpFile);
}

void frmMain::mnuHelpAbout_Click() {
    frmAbout::showAbout(this);
}

void frmMain::mnuHelpUpdate_Click() {
    // The request waits in a local event loop; a close meanwhile waits for it to end.
    BusyScope busy(*this);
    mnuHelpUpdate->setEnabled(false);
    CheckForUpdate(*this);
    mnuHelpUpdate->setEnabled(true);
}
