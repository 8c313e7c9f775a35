#include "alerts/DesktopNotifier.h"

#include <limits>

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

#include "NotificationsProxy.h"
#include "alerts/LineEscape.h"

namespace {

// Services that show markup would otherwise take a callsign's "<" or "&" as theirs.
QString shownText(const QString& text) {
    return escapeForLine(text).toHtmlEscaped();
}

} // namespace

DesktopNotifier::DesktopNotifier(const QDBusConnection& bus, const QString& service,
                                 QObject* parent)
    : QObject(parent),
      m_proxy(new NotificationsProxy(service, QString::fromLatin1(kPath), bus, this)) {
    // An answer that comes late is still the id of what the service shows: it is waited for,
    // however long, rather than given up and the next notification sent beside it. A service
    // that leaves the bus ends the wait with an error.
    m_proxy->setTimeout(std::numeric_limits<int>::max());
    connect(m_proxy, &NotificationsProxy::ActionInvoked, this, &DesktopNotifier::onActionInvoked);
    connect(m_proxy, &NotificationsProxy::NotificationClosed, this, &DesktopNotifier::onClosed);
}

DesktopNotifier::~DesktopNotifier() = default;

QString DesktopNotifier::summaryText(int stationsInRange) {
    return stationsInRange == 1
               ? QStringLiteral("Ringwarden: 1 station in range")
               : QStringLiteral("Ringwarden: %1 stations in range").arg(stationsInRange);
}

QString DesktopNotifier::bodyText(const QList<ListedStation>& newestFirst) {
    const qsizetype shown =
        newestFirst.size() <= kMaxBodyLines ? newestFirst.size() : kMaxBodyLines - 1;
    QStringList lines;
    for (qsizetype i = 0; i < shown; ++i) {
        const ListedStation& station = newestFirst.at(i);
        QString line = shownText(station.callsign);
        if (!station.distanceText.isEmpty())
            line += QLatin1Char(' ') + shownText(station.distanceText);
        lines << line;
    }
    if (shown < newestFirst.size())
        lines << QStringLiteral("and %1 more").arg(newestFirst.size() - shown);
    return lines.join(QLatin1Char('\n'));
}

void DesktopNotifier::notify(const QList<ListedStation>& newestFirst) {
    const Content content{summaryText(int(newestFirst.size())), bodyText(newestFirst)};
    m_withdrawWanted = false;
    if (m_waiting)
        m_next = content;
    else
        send(content);
}

void DesktopNotifier::withdraw() {
    m_next.reset();
    if (m_waiting) {
        m_withdrawWanted = true;
        return;
    }
    if (m_id == 0)
        return;
    m_proxy->CloseNotification(std::exchange(m_id, 0u));
}

void DesktopNotifier::withdrawBeforeEnd() {
    m_next.reset();
    // A notification still on its way cannot be named: it goes when its service sees the
    // sender leave, or by its own expiry.
    if (m_id == 0)
        return;
    m_proxy->setTimeout(kCloseAtEndMs);
    // Waited for without an event loop: nothing else runs on the way out.
    m_proxy->CloseNotification(std::exchange(m_id, 0u)).waitForFinished();
    m_proxy->setTimeout(std::numeric_limits<int>::max());
}

void DesktopNotifier::send(const Content& content) {
    // Critical urgency: an alarm stays until the operator sees it.
    const QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(2))},
                            {QStringLiteral("desktop-entry"), QStringLiteral("ringwarden")}};
    const QStringList actions{QString::fromLatin1(kDefaultKey), QStringLiteral("Show Ringwarden"),
                              QString::fromLatin1(kAcknowledgeAllKey),
                              QStringLiteral("Acknowledge all")};
    m_waiting = true;
    const QDBusPendingReply<uint> reply =
        m_proxy->Notify(QStringLiteral("Ringwarden"), m_id, QStringLiteral("ringwarden"),
                        content.summary, content.body, actions, hints, -1);
    auto* watcher = new QDBusPendingCallWatcher(reply, this);
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
    if (std::exchange(m_withdrawWanted, false)) {
        withdraw();
    } else if (m_next) {
        const Content next = *m_next;
        m_next.reset();
        send(next);
    }
}

void DesktopNotifier::onActionInvoked(uint id, const QString& actionKey) {
    if (id == 0 || id != m_id)
        return;
    if (actionKey == QLatin1String(kAcknowledgeAllKey))
        emit acknowledgeAllInvoked();
    else if (actionKey == QLatin1String(kDefaultKey))
        emit raiseRequested();
}

void DesktopNotifier::onClosed(uint id, uint) {
    // Dismissed by the operator or expired: the next one is a new notification.
    if (id != 0 && id == m_id)
        m_id = 0;
}
