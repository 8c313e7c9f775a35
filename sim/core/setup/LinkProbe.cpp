#include "LinkProbe.h"

LinkProbe::LinkProbe(Kind kind, QObject* parent) : QObject(parent), m_kind(kind) {
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &LinkProbe::onTimeout);
    connect(&m_socket, &QTcpSocket::connected, this, &LinkProbe::onConnected);
    connect(&m_socket, &QTcpSocket::readyRead, this, &LinkProbe::onReadyRead);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &LinkProbe::onError);
}

QString LinkProbe::where() const {
    return m_host + QLatin1Char(':') + QString::number(m_port);
}

void LinkProbe::start(const QString& host, quint16 port, const QString& login,
                      const QString& passcode) {
    cancel();
    m_host = host;
    m_port = port;
    m_login = login;
    m_passcode = passcode;
    m_banner.clear();
    m_pending.clear();
    m_kiss.reset();
    m_running = true;
    m_connected = false;
    m_timer.start(m_waitMs);
    m_socket.connectToHost(host, port);
}

void LinkProbe::cancel() {
    m_timer.stop();
    m_running = false;
    m_socket.blockSignals(true);
    m_socket.abort();
    m_socket.blockSignals(false);
}

void LinkProbe::onConnected() {
    m_connected = true;
    m_timer.start(m_waitMs);
}

void LinkProbe::onReadyRead() {
    const QByteArray bytes = m_socket.readAll();
    if (m_kind == Kind::Kiss) {
        const QList<feed::KissFrame> frames = m_kiss.feed(bytes);
        if (!frames.isEmpty())
            finish(true, QStringLiteral("Connected to %1: KISS frames arrive.").arg(where()));
        return;
    }
    m_pending += bytes;
    qsizetype end;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLatin1(m_pending.left(end)).trimmed();
        m_pending.remove(0, end + 1);
        if (m_banner.isEmpty()) {
            m_banner = line;
            if (!line.startsWith(QLatin1Char('#'))) {
                finish(false, QStringLiteral("Connected to %1, but it does not answer as an "
                                             "APRS-IS server (\"%2\").")
                                  .arg(where(), line.left(60)));
                return;
            }
            const QString pass = m_passcode.isEmpty() ? QStringLiteral("-1") : m_passcode;
            m_socket.write(QStringLiteral("user %1 pass %2 vers kestrel32 test\r\n")
                               .arg(m_login, pass)
                               .toLatin1());
            m_timer.start(m_waitMs);
        } else if (line.startsWith(QStringLiteral("# logresp"))) {
            const QStringList words = line.mid(10).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            const bool verified =
                words.size() > 1 && words[1].startsWith(QStringLiteral("verified"));
            QString login = verified
                                ? QStringLiteral("login %1 verified").arg(m_login)
                                : QStringLiteral("login %1 unverified (receive only)").arg(m_login);
            if (!verified && !m_passcode.isEmpty())
                login = QStringLiteral("login %1 not verified: check the passcode").arg(m_login);
            finish(true, QStringLiteral("Connected to %1 (%2); %3.")
                             .arg(where(), m_banner.mid(1).trimmed(), login));
            return;
        }
    }
}

void LinkProbe::onError(QAbstractSocket::SocketError error) {
    if (!m_running)
        return;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        finish(false, QStringLiteral("Refused: nothing listens on %1.").arg(where()));
        break;
    case QAbstractSocket::HostNotFoundError:
        finish(false, QStringLiteral("No such host: %1.").arg(m_host));
        break;
    case QAbstractSocket::RemoteHostClosedError:
        finish(false, QStringLiteral("Connected to %1, but it hung up%2.")
                          .arg(where(), m_banner.isEmpty()
                                            ? QString()
                                            : QStringLiteral(" after \"%1\"").arg(m_banner)));
        break;
    default:
        finish(false,
               QStringLiteral("Cannot connect to %1: %2.").arg(where(), m_socket.errorString()));
        break;
    }
}

void LinkProbe::onTimeout() {
    const double seconds = m_waitMs / 1000.0;
    if (!m_connected)
        finish(
            false,
            QStringLiteral("Timed out: no answer from %1 within %2 s.").arg(where()).arg(seconds));
    else if (m_kind == Kind::Kiss)
        finish(false, QStringLiteral("Connected to %1, but no KISS frames within %2 s (nothing "
                                     "heard yet, or not a KISS port).")
                          .arg(where())
                          .arg(seconds));
    else if (m_banner.isEmpty())
        finish(false, QStringLiteral("Connected to %1, but the server sent no banner within %2 s.")
                          .arg(where())
                          .arg(seconds));
    else
        finish(false,
               QStringLiteral("Connected to %1 (%2), but no answer to the login within %3 s.")
                   .arg(where(), m_banner.mid(1).trimmed())
                   .arg(seconds));
}

void LinkProbe::finish(bool working, const QString& words) {
    cancel();
    emit finished(working, words);
}
