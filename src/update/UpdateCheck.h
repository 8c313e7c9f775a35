#pragma once

#include <QString>

#include "update/UpdateRequest.h"

// How long the whole request may take, first byte to last, before it counts as failed.
constexpr int kDefaultUpdateTimeoutMs = 15000;

// A page larger than this is no page of ours; the request is dropped as failed.
constexpr qint64 kUpdatePageLimit = 1024 * 1024;

// Where the update check asks and how long it waits. The program makes one from the address
// compiled in and hands it to the update window; a test makes one for its own server.
class UpdateCheck final {
public:
    // The address compiled in (CMake's RINGWARDEN_UPDATE_URL) and the 15 s time-out.
    UpdateCheck();
    // A trailing "/" of serverAddress is dropped: files are named below it with one "/".
    UpdateCheck(const QString& serverAddress, int timeoutMs);

    // The page that is fetched, and the folder the announced update file lies in.
    const QString& serverAddress() const { return m_serverAddress; }
    int timeoutMs() const { return m_timeoutMs; }

    // Fetches the server's page; `done` is told from the event loop once it has arrived,
    // failed or run out of time (not when context has gone meanwhile).
    void fetch(QObject* context, std::function<void(const UpdateFetchResult&)> done) const;

private:
    QString m_serverAddress;
    int m_timeoutMs;
};
