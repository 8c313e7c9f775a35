#include "host/dbus/DbusKestrelHost.h"

#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QMetaMethod>

#include "KestrelBusProxy.h"
#include "host/dbus/DbusKestrelMap.h"
#include "host/dbus/KestrelBusNames.h"

namespace {

bool meansGone(QDBusError::ErrorType type) {
    switch (type) {
    case QDBusError::ServiceUnknown:
    case QDBusError::NoReply:
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
    case QDBusError::NoNetwork:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        return true;
    default:
        return false;
    }
}

using StationsReply = QDBusPendingReply<QList<bool>, QList<double>, QList<double>, QList<double>>;

// The argument types of a signal of the generated application interface, as the bus spells
// them; std::nullopt when it has no signal of that name.
std::optional<QString> contractSignature(const QString& signal) {
    const QMetaObject& meta = NetBrightmoorKestrel32ApplicationInterface::staticMetaObject;
    const QByteArray name = signal.toLatin1();
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        const QMetaMethod method = meta.method(i);
        if (method.methodType() != QMetaMethod::Signal || method.name() != name)
            continue;
        QString signature;
        for (int p = 0; p < method.parameterCount(); ++p)
            signature += QLatin1String(QDBusMetaType::typeToSignature(method.parameterMetaType(p)));
        return signature;
    }
    return std::nullopt;
}

} // namespace

DbusKestrelHost::DbusKestrelHost(QDBusConnection connection, QObject* parent)
    : KestrelHost(parent), m_connection(std::move(connection)),
      m_watcher(new QDBusServiceWatcher(kestrelbus::serviceName(), m_connection,
                                        QDBusServiceWatcher::WatchForOwnerChange, this)) {
    // The arrays of the block calls travel as these (the contract's annotations name them).
    qDBusRegisterMetaType<QList<bool>>();
    qDBusRegisterMetaType<QList<double>>();
    qDBusRegisterMetaType<QList<qint32>>();
    // Addressed by the well-known name: the bus library follows the name to whichever
    // process owns it, also after the tracker was restarted.
    m_application = std::make_unique<NetBrightmoorKestrel32ApplicationInterface>(
        kestrelbus::serviceName(), kestrelbus::applicationPath(), m_connection);
    m_mapBus = std::make_unique<NetBrightmoorKestrel32MapInterface>(
        kestrelbus::serviceName(), kestrelbus::mapPath(), m_connection);
    m_application->setTimeout(callTimeoutMs);
    m_mapBus->setTimeout(callTimeoutMs);
    m_map = std::make_unique<DbusKestrelMap>(*this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                ownerChanged(newOwner);
            });

    using Proxy = NetBrightmoorKestrel32ApplicationInterface;
    connect(m_application.get(), &Proxy::DataAvailable, this, &KestrelHost::DataAvailable);
    connect(m_application.get(), &Proxy::NotifyBeacon, this,
            [this](const QString& callsign, double latitude, double longitude) {
                emit NotifyBeacon(callsign, float(latitude), float(longitude));
            });
    connect(m_application.get(), &Proxy::NotifyDelete, this, &KestrelHost::NotifyDelete);
    connect(m_application.get(), &Proxy::NotifyDeleteAllStations, this,
            &KestrelHost::NotifyDeleteAllStations);
    connect(m_application.get(), &Proxy::Kestrel32IsClosing, this,
            &KestrelHost::Kestrel32IsClosing);
    // The typed connections above take only the contract's arguments; this one sees every
    // signal of the interface, so that one that drifted is noticed instead of dropped.
    m_connection.connect(kestrelbus::serviceName(), kestrelbus::applicationPath(),
                         kestrelbus::applicationInterface(), QString(), this,
                         SLOT(onTrackerSignal(QDBusMessage)));
}

DbusKestrelHost::~DbusKestrelHost() = default;

void DbusKestrelHost::check(const QDBusPendingCall& answered, const QString& method) {
    if (!answered.isError())
        return;
    const QDBusError error = answered.error();
    if (meansGone(error.type()))
        throw HostError(QStringLiteral("Kestrel32 is not reachable on the session bus "
                                       "(%1: %2)")
                            .arg(method, error.message()));
    if (error.type() == QDBusError::InvalidSignature)
        throw HostError(QStringLiteral("Kestrel32 answered %1 against the contract: %2")
                            .arg(method, error.message()));
    throw HostError(QStringLiteral("Kestrel32 refused %1: %2").arg(method, error.message()),
                    HostError::Kind::Refused);
}

bool DbusKestrelHost::unknownToTracker(const QDBusPendingCall& answered) {
    if (!answered.isError())
        return false;
    const QDBusError::ErrorType type = answered.error().type();
    return type == QDBusError::UnknownMethod || type == QDBusError::UnknownInterface ||
           type == QDBusError::UnknownObject;
}

void DbusKestrelHost::await(const QDBusPendingCall& call, const QString& method) {
    QDBusPendingCall waited = call;
    waited.waitForFinished();
    settleSent();
    check(waited, method);
}

void DbusKestrelHost::sent(const QDBusPendingCall& call, const QString& method) {
    m_sent.push_back({call, method});
}

void DbusKestrelHost::settleSent() {
    std::vector<Sent> sent;
    sent.swap(m_sent);
    for (Sent& call : sent) {
        call.reply.waitForFinished();
        check(call.reply, call.method);
    }
}

bool DbusKestrelHost::blockAnswered(const QDBusPendingCall& call, const QString& method) {
    // A tracker without the block calls (Kestrel32 itself): single calls from now on.
    if (unknownToTracker(call)) {
        m_blocksOffered = false;
        return false;
    }
    check(call, method);
    m_blocksOffered = true;
    return true;
}

KestrelMap* DbusKestrelHost::Map() {
    const QDBusPendingReply<QDBusObjectPath> reply = m_application->Map();
    await(reply, QStringLiteral("Map"));
    const QString path = reply.value().path();
    if (path != kestrelbus::mapPath())
        throw HostError(QStringLiteral("Kestrel32 offered its map at %1, not at %2")
                            .arg(path, kestrelbus::mapPath()));
    return m_map.get();
}

qint16 DbusKestrelHost::StationCount() {
    const QDBusPendingReply<short> reply = m_application->StationCount();
    await(reply, QStringLiteral("StationCount"));
    return reply.value();
}

QString DbusKestrelHost::StationListItem(qint16 index) {
    const QDBusPendingReply<QString> reply = m_application->StationListItem(index);
    await(reply, QStringLiteral("StationListItem"));
    return reply.value();
}

bool DbusKestrelHost::GetStation(KestrelStation& station) {
    const QDBusPendingReply<bool, double, double, double> reply =
        m_application->GetStation(station.Callsign);
    await(reply, QStringLiteral("GetStation"));
    if (!reply.argumentAt<0>())
        return false;
    station.Longitude = float(reply.argumentAt<1>());
    station.Latitude = float(reply.argumentAt<2>());
    station.Distance = float(reply.argumentAt<3>());
    return true;
}

void DbusKestrelHost::setEventsEnabled(qint32 value) {
    await(m_application->SetEventsEnabled(value), QStringLiteral("SetEventsEnabled"));
    m_eventsEnabled = value;
}

void DbusKestrelHost::AlertStation(const QString& callsign) {
    await(m_application->AlertStation(callsign), QStringLiteral("AlertStation"));
}

void DbusKestrelHost::SetBeacon(const KestrelBeacon& beacon) {
    await(m_application->SetBeacon(beacon.Callsign, beacon.Comment), QStringLiteral("SetBeacon"));
    m_beacon = beacon;
}

namespace {

std::vector<std::optional<KestrelStation>> stationsOf(const StationsReply& reply,
                                                      const QStringList& callsigns) {
    const QList<bool> found = reply.argumentAt<0>();
    const QList<double> longitude = reply.argumentAt<1>();
    const QList<double> latitude = reply.argumentAt<2>();
    const QList<double> distance = reply.argumentAt<3>();
    const qsizetype n = callsigns.size();
    if (found.size() != n || longitude.size() != n || latitude.size() != n || distance.size() != n)
        throw HostError(QStringLiteral("Kestrel32 answered GetStations for %1 stations with %2")
                            .arg(n)
                            .arg(found.size()));
    std::vector<std::optional<KestrelStation>> stations(size_t(n), std::nullopt);
    for (qsizetype i = 0; i < n; ++i)
        if (found.at(i))
            stations[size_t(i)] = KestrelStation{callsigns.at(i), float(longitude.at(i)),
                                                 float(latitude.at(i)), float(distance.at(i))};
    return stations;
}

} // namespace

std::optional<QStringList> DbusKestrelHost::StationListItems(qint16 first, qint16 count) {
    if (m_blocksOffered == false)
        return std::nullopt;
    QDBusPendingReply<QStringList> reply = m_application->StationListItems(first, count);
    reply.waitForFinished();
    settleSent();
    if (!blockAnswered(reply, QStringLiteral("StationListItems")))
        return std::nullopt;
    return reply.value();
}

std::optional<std::vector<std::optional<KestrelStation>>>
DbusKestrelHost::GetStations(const QStringList& callsigns) {
    if (m_blocksOffered == false)
        return std::nullopt;
    StationsReply reply = m_application->GetStations(callsigns);
    reply.waitForFinished();
    settleSent();
    if (!blockAnswered(reply, QStringLiteral("GetStations")))
        return std::nullopt;
    return stationsOf(reply, callsigns);
}

std::unique_ptr<HostBlock> DbusKestrelHost::requestBlock(qint16 first, qint16 count,
                                                         const WantedStations& wanted) {
    auto block = std::make_unique<HostBlock>(first, count);
    if (m_blocksOffered == false) {
        block->setNotOffered();
        block->finish();
        return block;
    }
    auto* watcher =
        new QDBusPendingCallWatcher(m_application->StationListItems(first, count), block.get());
    connect(watcher, &QDBusPendingCallWatcher::finished, block.get(),
            [this, block = block.get(), watcher, wanted] {
                watcher->deleteLater();
                const QDBusPendingReply<QStringList> reply = *watcher;
                try {
                    if (!blockAnswered(reply, QStringLiteral("StationListItems"))) {
                        block->setNotOffered();
                    } else {
                        askStations(block, block->setEntries(reply.value(), wanted));
                        return;
                    }
                } catch (const HostError&) {
                    block->setFailure(std::current_exception());
                }
                block->finish();
            });
    return block;
}

void DbusKestrelHost::askStations(HostBlock* block, const QStringList& callsigns) {
    if (callsigns.isEmpty()) {
        block->finish();
        return;
    }
    auto* watcher = new QDBusPendingCallWatcher(m_application->GetStations(callsigns), block);
    connect(watcher, &QDBusPendingCallWatcher::finished, block, [this, block, watcher, callsigns] {
        watcher->deleteLater();
        const StationsReply reply = *watcher;
        try {
            if (blockAnswered(reply, QStringLiteral("GetStations")))
                block->setFixes(stationsOf(reply, callsigns));
        } catch (const HostError&) {
            block->setFailure(std::current_exception());
        }
        block->finish();
    });
}

void DbusKestrelHost::ownerChanged(const QString& newOwner) {
    m_blocksOffered.reset();
    if (newOwner.isEmpty())
        return;
    // A tracker (re)joined under the name: it knows nothing of us yet. Sent without
    // waiting, in order (beacon first), so no handler of ours blocks on a starting host.
    if (m_beacon)
        m_application->SetBeacon(m_beacon->Callsign, m_beacon->Comment);
    if (m_eventsEnabled)
        m_application->SetEventsEnabled(*m_eventsEnabled);
}

void DbusKestrelHost::onTrackerSignal(const QDBusMessage& message) {
    const std::optional<QString> expected = contractSignature(message.member());
    if (expected && message.signature() == *expected)
        return; // the typed connection passes it on
    const QString what =
        QStringLiteral("Kestrel32 sent %1 with (%2) instead of (%3)")
            .arg(message.member(), message.signature(), expected.value_or(QString()));
    qWarning("%s", qPrintable(what));
    emit contractBroken(what);
}
