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
class NetBrightmoorKestrel32ApplicationInterface;
class NetBrightmoorKestrel32MapInterface;

// An application object of the tracker reached over the session bus, through the proxies
// generated from net.brightmoor.Kestrel32.xml. Numbers travel as doubles (the bus has no
// 32-bit float) and are narrowed here. A single call waits for its answer, except what the
// map sends ahead (see sent), and the block calls answer through HostBlock; a tracker that is gone
// or refuses raises HostError. When a tracker takes the name again after leaving, the beacon and
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
                                            const WantedStations& wanted) override;

    // The generated proxy of the tracker's map object, for DbusKestrelMap.
    NetBrightmoorKestrel32MapInterface& mapBus() { return *m_mapBus; }
    // Waits for the answer of a call (a blocking wait, no event loop), then raises as
    // HostError the first failure among the calls sent before it without waiting, which
    // the tracker answered first, and then its own.
    void await(const QDBusPendingCall& call, const QString& method);
    // A call sent without waiting, so that the drawing settings before each mark cost no
    // round trip of their own. The bus keeps the order of one connection's calls, so the
    // tracker has it before the next call; a refusal or a lost tracker is raised by the next
    // await, as this call's HostError.
    void sent(const QDBusPendingCall& call, const QString& method);
    // Raises the failure of an answered call as HostError: a tracker gone, a refusal, or an
    // answer whose types are not the contract's (checked by the typed reply).
    static void check(const QDBusPendingCall& answered, const QString& method);
    // Whether a call was answered as one the tracker does not know (a tracker without the
    // block calls, as Kestrel32 itself).
    static bool unknownToTracker(const QDBusPendingCall& answered);

    // How long a call waits for the tracker's answer.
    static constexpr int callTimeoutMs = 5000;

signals:
    // A signal of the tracker whose arguments are not those of the contract (it is not
    // passed on): the two sides have drifted apart.
    void contractBroken(const QString& what);

private slots:
    // Every signal of the tracker's application object, whatever its arguments: one whose
    // arguments are not those of the generated interface is told as contractBroken (the
    // typed connections never see it).
    void onTrackerSignal(const QDBusMessage& message);

private:
    void ownerChanged(const QString& newOwner);
    void settleSent();
    // Whether an answered block call was served: false when the tracker does not offer
    // block calls (noted for the calls to come); throws HostError as check does.
    bool blockAnswered(const QDBusPendingCall& call, const QString& method);
    void askStations(HostBlock* block, const QStringList& callsigns);

    QDBusConnection m_connection;
    std::unique_ptr<NetBrightmoorKestrel32ApplicationInterface> m_application;
    std::unique_ptr<NetBrightmoorKestrel32MapInterface> m_mapBus;
    std::unique_ptr<DbusKestrelMap> m_map;
    struct Sent {
        QDBusPendingCall reply;
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
