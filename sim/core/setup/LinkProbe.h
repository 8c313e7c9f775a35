#pragma once

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

#include "feed/KissDeframer.h"

// The setup window's "Test": one connection to a feed's address that says in words what it
// found there (the APRS-IS server's banner and its answer to the login, KISS frames, refused,
// timed out), then hangs up. Nothing it hears goes into the station list.
class LinkProbe final : public QObject {
    Q_OBJECT
public:
    enum class Kind { AprsIs, Kiss };
    static constexpr int DefaultWaitMs = 5000;

    explicit LinkProbe(Kind kind, QObject* parent = nullptr);

    // Starts a test (a running one is dropped). For APRS-IS `login` and `passcode` go into
    // the login line (passcode empty: -1, receive only).
    void start(const QString& host, quint16 port, const QString& login = {},
               const QString& passcode = {});
    void cancel();
    bool running() const { return m_running; }
    // How long each step (connecting, the banner, the login answer, a KISS frame) may take.
    void setWaitMs(int ms) { m_waitMs = ms; }

signals:
    // The test is over: `working` when the address serves the feed.
    void finished(bool working, const QString& words);

private:
    void onConnected();
    void onReadyRead();
    void onError(QAbstractSocket::SocketError error);
    void onTimeout();
    void finish(bool working, const QString& words);
    QString where() const;

    Kind m_kind;
    QTcpSocket m_socket;
    QTimer m_timer;
    feed::KissDeframer m_kiss;
    QByteArray m_pending;
    QString m_host;
    quint16 m_port = 0;
    QString m_login;
    QString m_passcode;
    QString m_banner;
    int m_waitMs = DefaultWaitMs;
    bool m_running = false;
    bool m_connected = false;
};
