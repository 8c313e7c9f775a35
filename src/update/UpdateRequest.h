#pragma once

#include <functional>

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

struct UpdateFetchResult {
    enum class Failure { None, TimedOut, TooLarge, Network };

    Failure failure = Failure::None;
    QByteArray body;          // the page's bytes when ok()
    QString errorDescription; // what went wrong otherwise, for the operator

    bool ok() const { return failure == Failure::None; }
};

// Fetches the update page over HTTP(S), following redirects that are no less safe, and
// returns at once; `done` is called from the event loop once the page has arrived, it
// failed, or timeoutMs have passed since the start: a server that trickles its answer is
// cut off as surely as a silent one. An HTTP error status and a body over limitBytes count
// as failures. Nothing is called when context goes first.
void fetchUpdatePage(const QUrl& url, int timeoutMs, qint64 limitBytes, QObject* context,
                     std::function<void(const UpdateFetchResult&)> done);
