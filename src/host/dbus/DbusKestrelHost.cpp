#include "host/dbus/DbusKestrelHost.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>

#include "host/dbus/DbusKestrelMap.h"
#include "host/dbus/KestrelBusContract.h"
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

QDBusMessage trackerCall(const QString& path, const QString& interface, const QString& method,
                         const QVariantList& args) {
    QDBusMessage message =
        QDBusMessage::createMethodCall(kestrelbus::serviceName(), path, interface, method);
    message.setArguments(args);
    return message;
}

} // namespace

DbusKestrelHost::DbusKestrelHost(QDBusConnection connection, QObject* parent)
    : KestrelHost(parent), m_connection(std::move(connection)),
      m_map(std::make_unique<DbusKestrelMap>(*this)),
      m_watcher(new QDBusServiceWatcher(kestrelbus::serviceName(), m_connection,
                                        QDBusServiceWatcher::WatchForOwnerChange, this)) {
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& newOwner) {
                ownerChanged(newOwner);
            });
    // Matched by the well-known name: the bus library follows the name to whichever
    // process owns it, also after the tracker was restarted.
    const QString service = kestrelbus::serviceName();
    const QString path = kestrelbus::applicationPath();
    const QString interface = kestrelbus::applicationInterface();
    // Each taken whatever its arguments, so that a signal that drifted from the contract is
    // noticed instead of dropped by the bus library.
    for (const char* name : {"DataAvailable", "NotifyBeacon", "NotifyDelete",
                             "NotifyDeleteAllStations", "Kestrel32IsClosing"})
        m_connection.connect(service, path, interface, QString::fromLatin1(name), this,
                             SLOT(onTrackerSignal(QDBusMessage)));
}

DbusKestrelHost::~DbusKestrelHost() = default;

QDBusMessage DbusKestrelHost::exchange(const QString& path, const QString& interface,
                                       const QString& method, const QVariantList& args) {
    const QDBusMessage reply =
        m_connection.call(trackerCall(path, interface, method, args), QDBus::Block, callTimeoutMs);
    settleSent();
    return reply;
}

QDBusPendingCall DbusKestrelHost::send(const QString& path, const QString& interface,
                                       const QString& method, const QVariantList& args) {
    m_sent.push_back(
        {m_connection.asyncCall(trackerCall(path, interface, method, args), callTimeoutMs),
         interface, method});
    return m_sent.back().reply;
}

QDBusPendingCall DbusKestrelHost::callLater(const QString& path, const QString& interface,
                                            const QString& method, const QVariantList& args) {
    return m_connection.asyncCall(trackerCall(path, interface, method, args), callTimeoutMs);
}

void DbusKestrelHost::settleSent() {
    std::vector<Sent> sent;
    sent.swap(m_sent);
    for (Sent& call : sent) {
        call.reply.waitForFinished();
        checked(call.reply.reply(), call.interface, call.method);
    }
}

QDBusMessage DbusKestrelHost::checked(const QDBusMessage& reply, const QString& interface,
                                      const QString& method) {
    const BusMethod* contract = busMethod(interface, method);
    Q_ASSERT_X(contract, "DbusKestrelHost", qPrintable(method));
    const QString replySignature = contract ? contract->outSignature : QString();
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QDBusError error(reply);
        if (meansGone(error.type()))
            throw HostError(QStringLiteral("Kestrel32 is not reachable on the session bus "
                                           "(%1: %2)")
                                .arg(method, error.message()));
        throw HostError(QStringLiteral("Kestrel32 refused %1: %2").arg(method, error.message()),
                        HostError::Kind::Refused);
    }
    if (reply.type() != QDBusMessage::ReplyMessage)
        throw HostError(QStringLiteral("Kestrel32 did not answer %1").arg(method));
    if (reply.signature() != replySignature)
        throw HostError(QStringLiteral("Kestrel32 answered %1 with (%2) instead of (%3)")
                            .arg(method, reply.signature(), replySignature));
    return reply;
}

QDBusMessage DbusKestrelHost::call(const QString& path, const QString& interface,
                                   const QString& method, const QVariantList& args) {
    return checked(exchange(path, interface, method, args), interface, method);
}

std::optional<QDBusMessage> DbusKestrelHost::blockCall(const QString& method,
                                                       const QVariantList& args) {
    if (m_blocksOffered == false)
        return std::nullopt;
    return blockAnswer(
        exchange(kestrelbus::applicationPath(), kestrelbus::applicationInterface(), method, args),
        method);
}

std::optional<QDBusMessage> DbusKestrelHost::blockAnswer(const QDBusMessage& reply,
                                                         const QString& method) {
    if (reply.type() == QDBusMessage::ErrorMessage) {
        const QDBusError::ErrorType type = QDBusError(reply).type();
        // A tracker without the block calls (Kestrel32 itself): single calls from now on.
        if (type == QDBusError::UnknownMethod || type == QDBusError::UnknownInterface ||
            type == QDBusError::UnknownObject) {
            m_blocksOffered = false;
            return std::nullopt;
        }
    }
    QDBusMessage answer = checked(reply, kestrelbus::applicationInterface(), method);
    m_blocksOffered = true;
    return answer;
}

namespace {

QDBusMessage appCall(DbusKestrelHost& host, const QString& method, const QVariantList& args) {
    return host.call(kestrelbus::applicationPath(), kestrelbus::applicationInterface(), method,
                     args);
}

} // namespace

KestrelMap* DbusKestrelHost::Map() {
    const QDBusMessage reply = appCall(*this, QStringLiteral("Map"), {});
    const QString path = reply.arguments().constFirst().value<QDBusObjectPath>().path();
    if (path != kestrelbus::mapPath())
        throw HostError(QStringLiteral("Kestrel32 offered its map at %1, not at %2")
                            .arg(path, kestrelbus::mapPath()));
    return m_map.get();
}

qint16 DbusKestrelHost::StationCount() {
    return appCall(*this, QStringLiteral("StationCount"), {})
        .arguments()
        .constFirst()
        .value<qint16>();
}

QString DbusKestrelHost::StationListItem(qint16 index) {
    return appCall(*this, QStringLiteral("StationListItem"), {QVariant::fromValue(index)})
        .arguments()
        .constFirst()
        .toString();
}

bool DbusKestrelHost::GetStation(KestrelStation& station) {
    const QVariantList out =
        appCall(*this, QStringLiteral("GetStation"), {station.Callsign}).arguments();
    if (!out.at(0).toBool())
        return false;
    station.Longitude = float(out.at(1).toDouble());
    station.Latitude = float(out.at(2).toDouble());
    station.Distance = float(out.at(3).toDouble());
    return true;
}

void DbusKestrelHost::setEventsEnabled(qint32 value) {
    appCall(*this, QStringLiteral("SetEventsEnabled"), {value});
    m_eventsEnabled = value;
}

void DbusKestrelHost::AlertStation(const QString& callsign) {
    appCall(*this, QStringLiteral("AlertStation"), {callsign});
}

void DbusKestrelHost::SetBeacon(const KestrelBeacon& beacon) {
    appCall(*this, QStringLiteral("SetBeacon"), {beacon.Callsign, beacon.Comment});
    m_beacon = beacon;
}

namespace {

std::vector<std::optional<KestrelStation>> stationsOf(const QDBusMessage& reply,
                                                      const QStringList& callsigns) {
    const QVariantList out = reply.arguments();
    const auto found = qdbus_cast<QList<bool>>(out.at(0));
    const auto longitude = qdbus_cast<QList<double>>(out.at(1));
    const auto latitude = qdbus_cast<QList<double>>(out.at(2));
    const auto distance = qdbus_cast<QList<double>>(out.at(3));
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
    const std::optional<QDBusMessage> reply =
        blockCall(QStringLiteral("StationListItems"),
                  {QVariant::fromValue(first), QVariant::fromValue(count)});
    if (!reply)
        return std::nullopt;
    return qdbus_cast<QStringList>(reply->arguments().constFirst());
}

std::optional<std::vector<std::optional<KestrelStation>>>
DbusKestrelHost::GetStations(const QStringList& callsigns) {
    const std::optional<QDBusMessage> reply = blockCall(QStringLiteral("GetStations"), {callsigns});
    if (!reply)
        return std::nullopt;
    return stationsOf(*reply, callsigns);
}

std::unique_ptr<HostBlock> DbusKestrelHost::requestBlock(qint16 first, qint16 count,
                                                         const HostBlock::Wanted& wanted) {
    auto block = std::make_unique<HostBlock>(first, count);
    if (m_blocksOffered == false) {
        block->setNotOffered();
        block->finish();
        return block;
    }
    const QString method = QStringLiteral("StationListItems");
    auto* watcher = new QDBusPendingCallWatcher(
        m_connection.asyncCall(
            trackerCall(kestrelbus::applicationPath(), kestrelbus::applicationInterface(), method,
                        {QVariant::fromValue(first), QVariant::fromValue(count)}),
            callTimeoutMs),
        block.get());
    connect(watcher, &QDBusPendingCallWatcher::finished, block.get(),
            [this, block = block.get(), watcher, wanted, method] {
                watcher->deleteLater();
                try {
                    const std::optional<QDBusMessage> reply = blockAnswer(watcher->reply(), method);
                    if (!reply) {
                        block->setNotOffered();
                    } else {
                        block->setEntries(qdbus_cast<QStringList>(reply->arguments().value(0)));
                        askStations(block, wanted);
                        return;
                    }
                } catch (const HostError&) {
                    block->setFailure(std::current_exception());
                }
                block->finish();
            });
    return block;
}

void DbusKestrelHost::askStations(HostBlock* block, const HostBlock::Wanted& wanted) {
    std::vector<qint16> indices;
    QStringList callsigns;
    block->wantedStations(wanted, indices, callsigns);
    if (callsigns.isEmpty()) {
        block->finish();
        return;
    }
    const QString method = QStringLiteral("GetStations");
    auto* watcher = new QDBusPendingCallWatcher(
        m_connection.asyncCall(trackerCall(kestrelbus::applicationPath(),
                                           kestrelbus::applicationInterface(), method, {callsigns}),
                               callTimeoutMs),
        block);
    connect(watcher, &QDBusPendingCallWatcher::finished, block,
            [this, block, watcher, indices, callsigns, method] {
                watcher->deleteLater();
                try {
                    const std::optional<QDBusMessage> reply = blockAnswer(watcher->reply(), method);
                    if (reply)
                        block->setFixes(indices, callsigns, stationsOf(*reply, callsigns));
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
    const auto send = [this](const QString& method, const QVariantList& args) {
        m_connection.asyncCall(trackerCall(kestrelbus::applicationPath(),
                                           kestrelbus::applicationInterface(), method, args),
                               callTimeoutMs);
    };
    if (m_beacon)
        send(QStringLiteral("SetBeacon"), {m_beacon->Callsign, m_beacon->Comment});
    if (m_eventsEnabled)
        send(QStringLiteral("SetEventsEnabled"), {*m_eventsEnabled});
}

void DbusKestrelHost::onTrackerSignal(const QDBusMessage& message) {
    const QString name = message.member();
    const std::optional<QString> expected =
        busSignalSignature(kestrelbus::applicationInterface(), name);
    if (!expected || message.signature() != *expected) {
        const QString what = QStringLiteral("Kestrel32 sent %1 with (%2) instead of (%3)")
                                 .arg(name, message.signature(), expected.value_or(QString()));
        qWarning("%s", qPrintable(what));
        emit contractBroken(what);
        return;
    }
    const QVariantList args = message.arguments();
    if (name == QLatin1String("DataAvailable"))
        emit DataAvailable();
    else if (name == QLatin1String("NotifyBeacon"))
        emit NotifyBeacon(args.at(0).toString(), float(args.at(1).toDouble()),
                          float(args.at(2).toDouble()));
    else if (name == QLatin1String("NotifyDelete"))
        emit NotifyDelete(args.at(0).toString());
    else if (name == QLatin1String("NotifyDeleteAllStations"))
        emit NotifyDeleteAllStations();
    else if (name == QLatin1String("Kestrel32IsClosing"))
        emit Kestrel32IsClosing();
}
