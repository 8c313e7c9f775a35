#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include "feed/Ax25Frame.h"
#include "feed/FeedCounters.h"
#include "feed/PositionReport.h"
#include "feed/ReconnectDelay.h"

class QTcpSocket;

namespace feed {

// A TCP connection that delivers packets: it connects, hands incoming bytes to the
// subclass, and when the peer goes away (or never answers) it tries again after a growing
// delay until stop(). The state is published as a short text for a status bar.
class FeedLink : public QObject {
    Q_OBJECT
public:
    enum class State { Stopped, Connecting, Connected, Waiting };
    Q_ENUM(State)

    explicit FeedLink(QObject* parent = nullptr);
    ~FeedLink() override;
    Q_DISABLE_COPY_MOVE(FeedLink)

    // Starts connecting; false (and nothing started) when the subclass is not ready or the
    // address is empty.
    bool start(const QString& host, quint16 port);
    void stop();

    State state() const { return m_state; }
    // "KISS 127.0.0.1:8001: connected", "... retrying in 4 s (Connection refused)".
    QString stateText() const { return m_stateText; }
    const FeedCounters& counters() const { return m_counters; }

    // Delays between attempts (first, ceiling) and the bound on a connection attempt.
    void setReconnectDelays(int firstMs, int maxMs);
    void setConnectTimeout(int ms) { m_connectTimeoutMs = ms; }

signals:
    void stateChanged(feed::FeedLink::State state, const QString& text);
    // The link is down and the next attempt comes after this many milliseconds.
    void retryScheduled(int delayMs);
    // Every packet that parsed, before APRS decoding (a monitor or a log may want it).
    void packetReceived(const feed::Ax25Frame& frame);
    void reportReceived(const feed::PositionReport& report);
    // A packet or line that gave no report, with the reason in words.
    void rejected(const QString& reason);

protected:
    // "KISS", "APRS-IS": the first word of the state text.
    virtual QString linkName() const = 0;
    // Why start() must refuse; empty when ready.
    virtual QString startProblem() const { return {}; }
    // The connection is up (send a login here).
    virtual void linkUp() {}
    // Bytes from the peer, as they came.
    virtual void bytesArrived(const QByteArray& bytes) = 0;
    // The connection is gone; drop half-read input.
    virtual void linkDown() {}

    // Decodes a parsed packet, counts the outcome and emits it.
    void handlePacket(const Ax25Frame& frame);
    // One line of APRS-IS text without its line end: "#" lines are the server's own and
    // are counted, the others are parsed as TNC2 and handed on.
    void handleTnc2Line(const QByteArray& line);
    void countBadFrame(const QString& reason);
    void countDropped(const QString& reason);
    // The peer has proved to be a working source: the next outage starts at the first delay.
    void markHealthy() { m_delay.reset(); }
    // Gives up on this connection (garbage, silence) and waits to reconnect.
    void dropConnection(const QString& reason);
    QTcpSocket* socket() const { return m_socket; }
    FeedCounters m_counters;

private:
    void halt();
    void connectNow();
    void onConnected();
    void onReadyRead();
    void onLost(const QString& reason);
    void setState(State state, const QString& detail = {});

    QTcpSocket* m_socket;
    QTimer m_retryTimer;
    QTimer m_connectTimer;
    ReconnectDelay m_delay;
    QString m_host;
    quint16 m_port = 0;
    int m_connectTimeoutMs = 15000;
    State m_state = State::Stopped;
    QString m_stateText;
};

} // namespace feed
