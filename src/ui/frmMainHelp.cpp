// The Help menu.
#include "ui/frmMain.h"

#include <QAction>

#include "ui/HelpWindow.h"
#include "ui/frmAbout.h"
#include "ui/frmUpdate.h"

void frmMain::mnuHelpHelpClick() {
    ShowHelp(this, m_helpFile);
}

void frmMain::mnuHelpAboutClick() {
    frmAbout::showAbout(this);
}

void frmMain::mnuHelpUpdateClick() {
    // The check greys the item while it runs and enables it again when it has ended.
    CheckForUpdate(*this, m_updateCheck);
}
