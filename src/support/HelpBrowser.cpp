#include "support/HelpBrowser.h"

#include <QDesktopServices>
#include <QUrl>

void OpenHelpFile(const QString& path) {
    if (path.isEmpty())
        return;
    // fromLocalFile keeps a path with blanks one argument; the result is not inspected.
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
