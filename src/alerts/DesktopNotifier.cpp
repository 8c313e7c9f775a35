#include "alerts/DesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "alerts/LineEscape.h"

namespace {

constexpr const char* kInterface = "org.freedesktop.Notifications";

} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus) {
    m_bus.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                  QString::fromLatin1(kInterface), QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
}

DesktopNotifier::~DesktopNotifier() = default;

QString DesktopNotifier::summaryText(int stationsInRange) {
    return QStringLiteral("Ringwarden: %1 stations in range").arg(stationsInRange);
}

QString DesktopNotifier::bodyText(const QList<ListedStation>& newStations) {
    QStringList lines;
    for (const ListedStation& station : newStations) {
        // Services that show markup would otherwise take a callsign's "<" or "&" as theirs.
        QString line = escapeForLine(station.callsign).toHtmlEscaped();
        if (!station.distanceText.isEmpty())
            line += QLatin1Char(' ') + escapeForLine(station.distanceText).toHtmlEscaped();
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

void DesktopNotifier::notify(int stationsInRange, const QList<ListedStation>& newStations) {
    const Content content{summaryText(stationsInRange), bodyText(newStations)};
    if (m_waiting)
        m_next = content;
    else
        send(content);
}

void DesktopNotifier::send(const Content& content) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    // Critical urgency: an alarm stays until the operator sees it.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},
                            {QStringLiteral("desktop-entry"), QStringLiteral("ringwarden")}};
    call << QStringLiteral("Ringwarden") << m_id << QStringLiteral("ringwarden") << content.summary
         << content.body
         << QStringList{QString::fromLatin1(kAcknowledgeAllKey), QStringLiteral("Acknowledge all")}
         << hints << qint32(-1);
    call.setAutoStartService(m_autoStart);
    m_waiting = true;
    auto* watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DesktopNotifier::onReply);
}

void DesktopNotifier::onReply(QDBusPendingCallWatcher* watcher) {
    watcher->deleteLater();
    m_waiting = false;
    const QDBusPendingReply<uint> reply = *watcher;
    if (reply.isError()) {
        emit unavailable(reply.error().message());
    } else {
        m_id = reply.value();
        emit shown(m_id);
    }
    if (m_next) {
        const Content next = *m_next;
        m_next.reset();
        send(next);
    }
}

void DesktopNotifier::onActionInvoked(uint id, const QString& actionKey) {
    if (id != 0 && id == m_id && actionKey == QLatin1String(kAcknowledgeAllKey))
        emit acknowledgeAllInvoked();
}
