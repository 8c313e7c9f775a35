#include "feed/FeedLink.h"

#include <QTcpSocket>

#include "feed/AprsDecoder.h"
#include "feed/AprsText.h"
#include "feed/Tnc2.h"

namespace feed {

FeedLink::FeedLink(QObject* parent) : QObject(parent), m_socket(new QTcpSocket(this)) {
    m_retryTimer.setSingleShot(true);
    m_connectTimer.setSingleShot(true);
    connect(&m_retryTimer, &QTimer::timeout, this, &FeedLink::connectNow);
    connect(&m_connectTimer, &QTimer::timeout, this,
            [this] { dropConnection(QStringLiteral("no answer")); });
    connect(m_socket, &QTcpSocket::connected, this, &FeedLink::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &FeedLink::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this,
            [this] { onLost(QStringLiteral("connection closed")); });
    connect(m_socket, &QTcpSocket::errorOccurred, this,
            [this] { onLost(m_socket->errorString()); });
    m_stateText = QStringLiteral("off");
}

FeedLink::~FeedLink() {
    // No signals to a half-destroyed subclass while the socket closes.
    m_socket->disconnect(this);
    m_socket->abort();
}

void FeedLink::setReconnectDelays(int firstMs, int maxMs) {
    m_delay = ReconnectDelay(firstMs, maxMs);
}

bool FeedLink::start(const QString& host, quint16 port) {
    if (host.isEmpty() || port == 0 || !startProblem().isEmpty())
        return false;
    halt();
    m_host = host;
    m_port = port;
    m_delay.reset();
    connectNow();
    return true;
}

void FeedLink::halt() {
    m_retryTimer.stop();
    m_connectTimer.stop();
    m_state = State::Stopped; // before abort(): its signals must not schedule a retry
    m_socket->abort();
    linkDown();
}

void FeedLink::stop() {
    halt();
    setState(State::Stopped);
}

void FeedLink::connectNow() {
    setState(State::Connecting);
    m_connectTimer.start(m_connectTimeoutMs);
    m_socket->connectToHost(m_host, m_port);
}

void FeedLink::onConnected() {
    m_connectTimer.stop();
    setState(State::Connected);
    linkUp();
}

void FeedLink::onReadyRead() {
    const QByteArray bytes = m_socket->readAll();
    if (m_state == State::Connected)
        bytesArrived(bytes);
}

void FeedLink::onLost(const QString& reason) {
    // Both errorOccurred and disconnected arrive for one loss; act on the first.
    if (m_state != State::Connecting && m_state != State::Connected)
        return;
    m_connectTimer.stop();
    m_state = State::Waiting;
    m_socket->abort();
    linkDown();
    const int delay = m_delay.next();
    m_retryTimer.start(delay);
    const int seconds = (delay + 999) / 1000;
    setState(State::Waiting, QStringLiteral("retrying in %1 s (%2)").arg(seconds).arg(reason));
    emit retryScheduled(delay);
}

void FeedLink::dropConnection(const QString& reason) {
    onLost(reason);
}

void FeedLink::setState(State state, const QString& detail) {
    m_state = state;
    QString text;
    switch (state) {
    case State::Stopped:
        text = QStringLiteral("%1: off").arg(linkName());
        break;
    case State::Connecting:
        text = QStringLiteral("%1 %2:%3: connecting").arg(linkName(), m_host).arg(m_port);
        break;
    case State::Connected:
        text = QStringLiteral("%1 %2:%3: connected").arg(linkName(), m_host).arg(m_port);
        break;
    case State::Waiting:
        text = QStringLiteral("%1 %2:%3: %4").arg(linkName(), m_host).arg(m_port).arg(detail);
        break;
    }
    if (text == m_stateText)
        return;
    m_stateText = text;
    emit stateChanged(state, text);
}

void FeedLink::handlePacket(const Ax25Frame& frame) {
    emit packetReceived(frame);
    const AprsResult result = decodeAprs(frame);
    if (!result.ok()) {
        m_counters.countReject(result.reject);
        emit rejected(result.reject == AprsReject::BadName ? unusableNameText(result.report.name)
                                                           : aprsRejectText(result.reject));
        return;
    }
    ++m_counters.decoded;
    emit reportReceived(result.report);
}

void FeedLink::handleTnc2Line(const QByteArray& line) {
    if (line.isEmpty())
        return;
    if (line.startsWith('#')) {
        ++m_counters.serverLines;
        return;
    }
    const Tnc2Result tnc2 = parseTnc2(line);
    if (!tnc2.ok()) {
        countBadFrame(tnc2ErrorText(tnc2.error));
        return;
    }
    markHealthy();
    handlePacket(tnc2.frame);
}

void FeedLink::countBadFrame(const QString& reason) {
    ++m_counters.badFrames;
    emit rejected(reason);
}

void FeedLink::countDropped(const QString& reason) {
    ++m_counters.dropped;
    emit rejected(reason);
}

} // namespace feed
