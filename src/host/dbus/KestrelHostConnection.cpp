#include "host/dbus/KestrelHostConnection.h"

#include <QDBusConnectionInterface>

#include "host/HostError.h"
#include "host/dbus/DbusKestrelHost.h"
#include "host/dbus/KestrelBusNames.h"

bool kestrelHostOnBus(const QDBusConnection& connection) {
    return connection.isConnected() && connection.interface() &&
           connection.interface()->isServiceRegistered(kestrelbus::serviceName()).value();
}

QString kestrelHostUnavailableText(const QDBusConnection& connection) {
    if (!connection.isConnected())
        return QStringLiteral("Kestrel32 cannot be reached: there is no session bus (%1).\n"
                              "Please start the tracker first, then start Ringwarden.")
            .arg(connection.lastError().message());
    if (!kestrelHostOnBus(connection))
        return QStringLiteral("Kestrel32 is not running (nothing serves %1 on the session "
                              "bus).\nPlease start the tracker first, then start Ringwarden.")
            .arg(kestrelbus::serviceName());
    return {};
}

std::unique_ptr<KestrelHost> createKestrelHost(QObject* parent, const QDBusConnection& connection) {
    const QString unavailable = kestrelHostUnavailableText(connection);
    if (!unavailable.isEmpty())
        throw HostError(unavailable);
    return std::make_unique<DbusKestrelHost>(connection, parent);
}
