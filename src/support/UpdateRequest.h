#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

struct UpdateFetchResult {
    bool ok = false;
    QByteArray body;          // the page's bytes when ok
    QString errorDescription; // what went wrong otherwise, for the operator
};

// Fetches the update page over HTTP(S), following redirects that are no less safe. Waits
// in a local event loop, so that windows keep painting and answering meanwhile, until
// the page has arrived, the server has kept silent for timeoutMs, or it failed. An HTTP
// error status and a body over limitBytes count as failures.
UpdateFetchResult fetchUpdatePage(const QUrl& url, int timeoutMs, qint64 limitBytes);
