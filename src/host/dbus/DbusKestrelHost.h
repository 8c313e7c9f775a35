#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

#include "host/KestrelHost.h"

class QDBusServiceWatcher;
class DbusKestrelMap;

// An application object of the tracker reached over the session bus. Numbers travel as
// doubles (the bus has no 32-bit float) and are narrowed here. A call waits for its answer,
// except what the map sends ahead (see send); a tracker that is gone or refuses raises
// HostError. When a tracker takes the name again after leaving, the beacon and
// EventsEnabled this object handed over are handed to the new one, so its events come
// through without a restart.
class DbusKestrelHost final : public KestrelHost {
    Q_OBJECT
public:
    explicit DbusKestrelHost(QDBusConnection connection = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);
    ~DbusKestrelHost() override;
    Q_DISABLE_COPY_MOVE(DbusKestrelHost)

    KestrelMap* Map() override;
    qint16 StationCount() override;
    QString StationListItem(qint16 index) override;
    bool GetStation(KestrelStation& station) override;
    void setEventsEnabled(qint32 value) override;
    void AlertStation(const QString& callsign) override;
    void SetBeacon(const KestrelBeacon& beacon) override;
    // Served by kestrel32 as StationListItems and GetStations; std::nullopt from a tracker
    // that does not know them (asked once per tracker that takes the name).
    std::optional<QStringList> StationListItems(qint16 first, qint16 count) override;
    std::optional<std::vector<std::optional<KestrelStation>>>
    GetStations(const QStringList& callsigns) override;
    // Both block calls sent without waiting: the block is ready when their answers are in.
    std::unique_ptr<HostBlock> requestBlock(qint16 first, qint16 count,
                                            const HostBlock::Wanted& wanted) override;

    // One call on the tracker, its answer checked against the bus contract; throws
    // HostError. Used by the map object too.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& args);
    // A call sent without waiting, so that the drawing settings before each mark cost no
    // round trip of their own. The bus keeps the order of one connection's calls, so the
    // tracker has it before the next call, whose answer comes after its own: a refusal or
    // a lost tracker is raised there, as this call's HostError, and once that next call
    // has returned, the answer is in the returned call's reply.
    QDBusPendingCall send(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& args);

    // A call whose answer its caller takes from the pending call (a watcher's signal), and
    // checks with checkedReply.
    QDBusPendingCall callLater(const QString& path, const QString& interface, const QString& method,
                               const QVariantList& args);
    QDBusMessage checkedReply(const QDBusMessage& reply, const QString& interface,
                              const QString& method) {
        return checked(reply, interface, method);
    }

    // How long a call waits for the tracker's answer.
    static constexpr int callTimeoutMs = 5000;

signals:
    // A signal of the tracker whose arguments are not those of the contract (it is not
    // passed on): the two sides have drifted apart.
    void contractBroken(const QString& what);

private slots:
    // Every signal of the tracker, checked against the contract, then passed on typed.
    void onTrackerSignal(const QDBusMessage& message);

private:
    void ownerChanged(const QString& newOwner);
    QDBusMessage exchange(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& args);
    QDBusMessage checked(const QDBusMessage& reply, const QString& interface,
                         const QString& method);
    // Raises the first failure among the calls sent without waiting, and forgets them.
    void settleSent();
    // A block call, or std::nullopt when the tracker does not offer block calls.
    std::optional<QDBusMessage> blockCall(const QString& method, const QVariantList& args);
    // The answer to a block call: std::nullopt when the tracker does not offer block calls
    // (noted for the calls to come); throws HostError as call does.
    std::optional<QDBusMessage> blockAnswer(const QDBusMessage& reply, const QString& method);
    void askStations(HostBlock* block, const HostBlock::Wanted& wanted);

    QDBusConnection m_connection;
    std::unique_ptr<DbusKestrelMap> m_map;
    struct Sent {
        QDBusPendingCall reply;
        QString interface;
        QString method;
    };
    std::vector<Sent> m_sent;
    QDBusServiceWatcher* m_watcher;
    // What this object handed to the tracker and hands again to a returning tracker.
    std::optional<KestrelBeacon> m_beacon;
    std::optional<qint32> m_eventsEnabled;
    // Whether the tracker now on the name offers the block calls; unknown until asked.
    std::optional<bool> m_blocksOffered;
};
