#include "feed/AprsIsClient.h"

#include <QTcpSocket>

#include "feed/AprsText.h"

namespace feed {

AprsIsClient::AprsIsClient(QObject* parent)
    : FeedLink(parent), m_version(QStringLiteral(KESTREL32_FEED_VERSION)) {
    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this,
            [this] { dropConnection(QStringLiteral("server silent")); });
}

bool AprsIsClient::setLogin(const QString& callsign) {
    if (!isLoginCallsign(callsign))
        return false;
    m_login = callsign;
    return true;
}

bool AprsIsClient::setFilter(const QString& filter) {
    for (const QChar c : filter) {
        if (c.unicode() < 0x20 || c.unicode() >= 0x7F)
            return false;
    }
    m_filter = filter.trimmed();
    return true;
}

bool AprsIsClient::changeFilter(const QString& filter) {
    if (!setFilter(filter))
        return false;
    if (state() == State::Connected && !m_filter.isEmpty())
        socket()->write("#filter " + m_filter.toLatin1() + "\r\n");
    return true;
}

QString AprsIsClient::rangeFilter(double latitude, double longitude, int km) {
    return QStringLiteral("r/%1/%2/%3")
        .arg(QString::number(latitude, 'f', 4), QString::number(longitude, 'f', 4))
        .arg(km);
}

QByteArray AprsIsClient::loginLine() const {
    QByteArray line = "user " + m_login.toLatin1() + " pass " + QByteArray::number(m_passcode) +
                      " vers kestrel32 " + m_version.toLatin1();
    if (!m_filter.isEmpty())
        line += " filter " + m_filter.toLatin1();
    return line + "\r\n";
}

QString AprsIsClient::startProblem() const {
    return m_login.isEmpty() ? QStringLiteral("no login callsign") : QString();
}

void AprsIsClient::linkUp() {
    m_loginResponse.clear();
    m_idleTimer.start(m_idleMs);
    socket()->write(loginLine());
}

void AprsIsClient::linkDown() {
    m_idleTimer.stop();
    m_lines.reset();
}

void AprsIsClient::bytesArrived(const QByteArray& bytes) {
    m_idleTimer.start(m_idleMs);
    const quint64 tooLongBefore = m_lines.tooLong();
    const QList<QByteArray> lines = m_lines.feed(bytes);
    for (quint64 i = tooLongBefore; i < m_lines.tooLong(); ++i)
        countDropped(QStringLiteral("line too long"));
    for (const QByteArray& line : lines) {
        if (line.startsWith("# logresp"))
            m_loginResponse = QString::fromLatin1(line.mid(2));
        handleTnc2Line(line);
    }
}

} // namespace feed
