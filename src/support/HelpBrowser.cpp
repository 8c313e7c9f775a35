#include "support/HelpBrowser.h"

#include <QDesktopServices>
#include <QFileInfo>

bool openWithDesktop(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

HelpOpened OpenHelpFile(const QString& path, const UrlOpener& opener) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return HelpOpened::NoPage;
    // fromLocalFile keeps a path with blanks one address.
    return opener(QUrl::fromLocalFile(path)) ? HelpOpened::ByDesktop : HelpOpened::Refused;
}
