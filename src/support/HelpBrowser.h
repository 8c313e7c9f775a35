#pragma once

#include <functional>

#include <QString>
#include <QUrl>

// Hands an address to whatever the desktop has registered for it; false when nothing could
// take it (no xdg-open, no handler).
using UrlOpener = std::function<bool(const QUrl&)>;

// QDesktopServices::openUrl.
bool openWithDesktop(const QUrl& url);

enum class HelpOpened {
    NoPage,    // no path, or no file there: nothing is shown
    ByDesktop, // the desktop's viewer took it
    Refused    // the page exists, but the desktop could not show it
};

// Offers the help page to opener. The caller shows a Refused page by other means.
HelpOpened OpenHelpFile(const QString& path, const UrlOpener& opener = openWithDesktop);
