#pragma once

#include <optional>

#include <QDBusConnection>
#include <QList>
#include <QObject>
#include <QString>

#include "alerts/StationChanges.h"

class NotificationsProxy;
class QDBusPendingCallWatcher;

// The alarm as a desktop notification through the freedesktop notification service on the
// session bus. Every call but the last one is asynchronous: a missing or slow service never
// holds the tick, and nothing is shown in its place. There is at most one notification: each
// replaces the one before, and the next is sent only once the service has given the id of the
// previous one (a service that answers late would otherwise show two). Its action
// "Acknowledge all" comes back as acknowledgeAllInvoked(), a click on it as raiseRequested().
class DesktopNotifier final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(DesktopNotifier)
public:
    static constexpr const char* kService = "org.freedesktop.Notifications";
    static constexpr const char* kPath = "/org/freedesktop/Notifications";
    static constexpr const char* kAcknowledgeAllKey = "acknowledge-all";
    static constexpr const char* kDefaultKey = "default";
    static constexpr int kMaxBodyLines = 10;
    // How long the way out waits for the service to take the withdrawal.
    static constexpr int kCloseAtEndMs = 1000;

    // service: the bus name of the notification service (another one only in tests).
    explicit DesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                             const QString& service = QString::fromLatin1(kService),
                             QObject* parent = nullptr);
    ~DesktopNotifier() override;

    // "Ringwarden: 1 station in range", "Ringwarden: 3 stations in range".
    static QString summaryText(int stationsInRange);
    // One line a station, callsign and distance, newest first; beyond kMaxBodyLines the last
    // line says how many more there are.
    static QString bodyText(const QList<ListedStation>& newestFirst);

    // Shows the stations in range (newest first) and returns at once.
    void notify(const QList<ListedStation>& newestFirst);
    // Takes the notification off the screen, now or once the service has said which it is.
    void withdraw();
    // On the way out: withdraws the notification and waits (kCloseAtEndMs at most) until the
    // service has it, since the process may end right after.
    void withdrawBeforeEnd();
    // Whether a notification is shown, or on its way.
    bool isShown() const { return m_id != 0 || m_waiting; }

    // The id the service gave the shown notification (0: none).
    uint notificationId() const { return m_id; }

signals:
    // The operator chose "Acknowledge all" on our notification.
    void acknowledgeAllInvoked();
    // The operator clicked our notification.
    void raiseRequested();
    // The service took the notification.
    void shown(uint id);
    // The service did not answer (none on the bus, or it failed); nothing else happens.
    void unavailable(const QString& error);

private:
    struct Content {
        QString summary;
        QString body;
    };
    void send(const Content& content);
    void onReply(QDBusPendingCallWatcher* watcher);
    void onActionInvoked(uint id, const QString& actionKey);
    void onClosed(uint id, uint reason);

    NotificationsProxy* m_proxy;
    uint m_id = 0;
    bool m_waiting = false;
    bool m_withdrawWanted = false;
    std::optional<Content> m_next;
};
