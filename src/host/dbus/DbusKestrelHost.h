#pragma once

#include <memory>
#include <optional>

#include <QDBusConnection>
#include <QDBusMessage>

#include "host/KestrelHost.h"

class QDBusServiceWatcher;
class DbusKestrelMap;

// An application object of the tracker reached over the session bus. Numbers travel as
// doubles (the bus has no 32-bit float) and are narrowed here. Every call waits for its
// answer; a tracker that is gone or refuses raises HostError. When a tracker takes the
// name again after leaving, the beacon and EventsEnabled this object handed over are
// handed to the new one, so its events come through without a restart.
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

    // One call on the tracker, its answer checked against the bus contract; throws
    // HostError. Used by the map object too.
    QDBusMessage call(const QString& path, const QString& interface, const QString& method,
                      const QVariantList& args);

    // How long a call waits for the tracker's answer.
    static constexpr int callTimeoutMs = 5000;

private slots:
    void onDataAvailable();
    void onNotifyBeacon(const QString& callsign, double latitude, double longitude);
    void onNotifyDelete(const QString& callsign);
    void onNotifyDeleteAllStations();
    void onKestrel32IsClosing();

private:
    void ownerChanged(const QString& newOwner);
    QDBusMessage exchange(const QString& path, const QString& interface, const QString& method,
                          const QVariantList& args);
    QDBusMessage checked(const QDBusMessage& reply, const QString& interface,
                         const QString& method);
    // A block call, or std::nullopt when the tracker does not offer block calls.
    std::optional<QDBusMessage> blockCall(const QString& method, const QVariantList& args);

    QDBusConnection m_connection;
    std::unique_ptr<DbusKestrelMap> m_map;
    QDBusServiceWatcher* m_watcher;
    // What this object handed to the tracker and hands again to a returning tracker.
    std::optional<KestrelBeacon> m_beacon;
    std::optional<qint32> m_eventsEnabled;
    // Whether the tracker now on the name offers the block calls; unknown until asked.
    std::optional<bool> m_blocksOffered;
};
