#pragma once

#include <utility>

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QList>
#include <QObject>
#include <QVariantList>

// The desktop's notification service, served from the test process on a bus connection of
// its own, so that the calls go through the bus as to a real service. It records what it is
// asked; ids are 40 + the number of the call, or the id to replace.
class FakeNotifications final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    FakeNotifications();
    ~FakeNotifications() override;

    void invokeAction(uint id, const QString& key);
    // Answers the Notify calls held so far.
    void answerHeld();
    qsizetype heldCount() const { return m_held.size(); }

    QList<QVariantList> calls; // replaces_id, app_icon, summary, body, actions
    QList<uint> closed;
    // Notify is answered only by answerHeld(), as a slow service would.
    bool holdReplies = false;

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout);
    void CloseNotification(uint id) { closed << id; }

private:
    QDBusConnection m_bus;
    QList<std::pair<QDBusMessage, uint>> m_held;
};
