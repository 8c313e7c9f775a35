#include "support/WebAddress.h"

#include <QDesktopServices>
#include <QUrl>

void OpenWebAddress(const QString& address) {
    // Tolerant parsing turns blanks into %20 so that the browser gets one address.
    const QUrl url(address.trimmed(), QUrl::TolerantMode);
    if (!url.isValid() || url.isEmpty())
        return;
    QDesktopServices::openUrl(url);
}
