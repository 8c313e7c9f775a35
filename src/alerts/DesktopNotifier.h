#pragma once

#include <optional>

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>

#include "alerts/StationChanges.h"

class QDBusPendingCallWatcher;

// The alarm as a desktop notification through the freedesktop notification service on the
// session bus. Every call is asynchronous: a missing or slow service never holds the tick,
// and nothing is shown in its place. Each notification replaces the one before, and its
// action "Acknowledge all" comes back as acknowledgeAllInvoked().
class DesktopNotifier final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kAcknowledgeAllKey = "acknowledge-all";

    explicit DesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                             QObject* parent = nullptr);
    ~DesktopNotifier() override;

    // "Ringwarden: N stations in range", and one line per new station: callsign and distance.
    static QString summaryText(int stationsInRange);
    static QString bodyText(const QList<ListedStation>& newStations);

    // Sends the notification and returns at once. While the service has not yet answered the
    // previous one, only the latest waits, so that it can still replace that one.
    void notify(int stationsInRange, const QList<ListedStation>& newStations);

    // Whether the bus may start a notification service that is installed but not running
    // (as most are, outside a full desktop). On by default.
    void setAutoStart(bool on) { m_autoStart = on; }

    // The id the service gave the last notification (0: none yet).
    uint notificationId() const { return m_id; }

signals:
    // The operator chose "Acknowledge all" on our notification.
    void acknowledgeAllInvoked();
    // The service took the notification.
    void shown(uint id);
    // The service did not answer (none on the bus, or it failed); nothing else happens.
    void unavailable(const QString& error);

private slots:
    void onActionInvoked(uint id, const QString& actionKey);

private:
    struct Content {
        QString summary;
        QString body;
    };
    void send(const Content& content);
    void onReply(QDBusPendingCallWatcher* watcher);

    QDBusConnection m_bus;
    uint m_id = 0;
    bool m_autoStart = true;
    bool m_waiting = false;
    std::optional<Content> m_next;
};
