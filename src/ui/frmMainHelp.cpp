// The Help menu.
#include "ui/frmMain.h"

#include "support/Globals.h"
#include "support/HelpBrowser.h"

void frmMain::mnuHelpHelp_Click() {
    OpenHelpFile(gstrHelpFile);
}

void frmMain::mnuHelpAbout_Click() {}

void frmMain::mnuHelpUpdate_Click() {}
