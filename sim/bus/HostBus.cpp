#include "HostBus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "HostBusObject.h"
#include "HostCore.h"
#include "Journal.h"
#include "KestrelBusAdaptors.h"
#include "host/dbus/KestrelBusNames.h"

HostBus::HostBus(HostCore& core, Journal& journal, QDBusConnection connection, QObject* parent)
    : QObject(parent), m_core(core), m_journal(journal), m_connection(std::move(connection)),
      m_application(std::make_unique<HostBusObject>(core, journal)),
      m_map(std::make_unique<HostBusObject>(core, journal)),
      m_applicationAdaptor(new ApplicationAdaptor(m_application.get())) {
    new MapAdaptor(m_map.get());
    connect(&m_core, &HostCore::hostEvent, this, &HostBus::sendEvent);
}

HostBus::~HostBus() {
    stop();
    m_connection.unregisterObject(kestrelbus::applicationPath());
    m_connection.unregisterObject(kestrelbus::mapPath());
}

namespace {

QString nameTakenText() {
    return QStringLiteral("the bus name %1 is already taken (is another kestrel32 running?)")
        .arg(kestrelbus::serviceName());
}

} // namespace

bool HostBus::prepare(QString* error) {
    const auto fail = [&](const QString& text) {
        if (error)
            *error = text;
        return false;
    };
    if (!m_connection.isConnected())
        return fail(QStringLiteral("cannot reach the session bus (%1)")
                        .arg(m_connection.lastError().message()));
    if (!m_connection.registerObject(kestrelbus::applicationPath(), m_application.get(),
                                     QDBusConnection::ExportAdaptors) ||
        !m_connection.registerObject(kestrelbus::mapPath(), m_map.get(),
                                     QDBusConnection::ExportAdaptors))
        return fail(QStringLiteral("cannot register the automation objects on the session bus"));
    if (m_connection.interface()->isServiceRegistered(kestrelbus::serviceName()).value())
        return fail(nameTakenText());
    return true;
}

bool HostBus::start(QString* error) {
    // Queueing behind an owner would leave two trackers fighting over one name: refuse.
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        m_connection.interface()->registerService(kestrelbus::serviceName(),
                                                  QDBusConnectionInterface::DontQueueService,
                                                  QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        if (error)
            *error = nameTakenText();
        return false;
    }
    m_started = true;
    return true;
}

void HostBus::stop() {
    if (!m_started)
        return;
    m_started = false;
    // A round trip to the bus daemon: it answers only after everything sent before, the
    // closing signal included, has reached it, so no add-on misses that signal.
    m_connection.call(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus.Peer"), QStringLiteral("Ping")));
    m_connection.interface()->unregisterService(kestrelbus::serviceName());
}

void HostBus::sendEvent(const QString& name, const QVariantList& args) {
    m_journal.event(name, hostEventJson(args));
    ApplicationAdaptor& adaptor = *m_applicationAdaptor;
    if (name == QLatin1String("DataAvailable"))
        emit adaptor.DataAvailable();
    else if (name == QLatin1String("NotifyBeacon"))
        emit adaptor.NotifyBeacon(args.value(0).toString(), args.value(1).toDouble(),
                                  args.value(2).toDouble());
    else if (name == QLatin1String("NotifyDelete"))
        emit adaptor.NotifyDelete(args.value(0).toString());
    else if (name == QLatin1String("NotifyDeleteAllStations"))
        emit adaptor.NotifyDeleteAllStations();
    else if (name == QLatin1String("Kestrel32IsClosing"))
        emit adaptor.Kestrel32IsClosing();
    else
        qWarning("kestrel32: the bus contract has no event %s", qPrintable(name));
}
