#pragma once

#include <memory>

#include <QDBusConnection>
#include <QObject>
#include <QString>

class KestrelHost;

// Whether the tracker serves its automation objects on the bus right now.
bool kestrelHostOnBus(const QDBusConnection& connection = QDBusConnection::sessionBus());

// Empty when the tracker can be reached; otherwise the message for the operator, which says
// that the tracker must be started first.
QString
kestrelHostUnavailableText(const QDBusConnection& connection = QDBusConnection::sessionBus());

// A new application object of the tracker on the session bus. Throws HostError with the
// text above when the tracker is not there.
std::unique_ptr<KestrelHost>
createKestrelHost(QObject* parent = nullptr,
                  const QDBusConnection& connection = QDBusConnection::sessionBus());
