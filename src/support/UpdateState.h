#pragma once

#include <QString>

// The update server's home page; the check fetches it and downloads files from below it.
inline const QString kDefaultUpdateServer = QStringLiteral("https://ringwarden.example.org");

// How long the request may stay silent before it counts as failed.
constexpr int kDefaultUpdateTimeoutMs = 15000;

// A page larger than this is no page of ours; the request is dropped as failed.
constexpr qint64 kUpdatePageLimit = 1024 * 1024;

// The base address the running check uses (no trailing "/"), and the update file that
// the page announced; empty until an update was found.
extern QString gstrUpdateServer;
extern QString gstrUpdateFile;
// True while the request is outstanding: the update window refuses to close meanwhile.
extern bool gblnUpdateBusy;

// The address the next check sets gstrUpdateServer to; tests point it at their own server.
QString updateServerAddress();
void setUpdateServerAddress(const QString& address);

// The request's transfer time-out; tests shorten it rather than wait 15 seconds.
int updateTimeoutMs();
void setUpdateTimeoutMs(int milliseconds);
