#include "FakeNotifications.h"

static const QString kName = QStringLiteral("org.freedesktop.Notifications");
static const QString kPath = QStringLiteral("/org/freedesktop/Notifications");

FakeNotifications::FakeNotifications()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                          QStringLiteral("fake-notifications"))) {
    m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots);
    m_bus.registerService(kName);
}

FakeNotifications::~FakeNotifications() {
    QDBusConnection::disconnectFromBus(m_bus.name());
}

void FakeNotifications::invokeAction(uint id, const QString& key) {
    m_bus.send(QDBusMessage::createSignal(kPath, kName, QStringLiteral("ActionInvoked"))
               << id << key);
}

void FakeNotifications::answerHeld() {
    for (const auto& [call, id] : std::exchange(m_held, {}))
        m_bus.send(call.createReply(id));
}

uint FakeNotifications::Notify(const QString&, uint replacesId, const QString& icon,
                               const QString& summary, const QString& body,
                               const QStringList& actions, const QVariantMap&, int) {
    calls.append({replacesId, icon, summary, body, actions});
    const uint id = replacesId ? replacesId : 40 + uint(calls.size());
    if (holdReplies) {
        setDelayedReply(true);
        m_held.append({message(), id});
    }
    return id;
}
