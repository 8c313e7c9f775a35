#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointer>
#include <QString>
#include <QTcpServer>

class QTcpSocket;

// A small HTTP/1.1 server on 127.0.0.1 for the update check's tests: each path answers
// as its TestHttpServer::Answer says, including the ways real servers misbehave.
class TestHttpServer final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TestHttpServer)
public:
    enum class Behaviour {
        Answer,       // status, headers and body in one go
        CloseMidBody, // announces the full length, sends half, hangs up
        Trickle,      // sends the body in small pieces with pauses between them
        NoLength      // no Content-Length: the body ends when the server hangs up
    };

    struct Answer {
        Behaviour behaviour = Behaviour::Answer;
        QByteArray status = "200 OK";
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;
        int delayMs = 0;         // before anything is sent
        int pieceSize = 64;      // Trickle
        int pieceIntervalMs = 0; // Trickle
    };

    TestHttpServer();

    // Every path not given an answer gets a 404 with an empty body.
    void setAnswer(const QByteArray& path, const Answer& answer) { m_answers.insert(path, answer); }
    // http://127.0.0.1:<port> without a trailing "/".
    QString baseAddress() const {
        return QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort());
    }
    int requestCount() const { return int(m_requestHeads.size()); }
    // Each request's line and headers as they came, oldest first.
    const QList<QByteArray>& requestHeads() const { return m_requestHeads; }

    // A port on 127.0.0.1 that refuses connections (bound once, then released).
    static quint16 refusingPort();

private:
    void acceptConnections();
    void readRequest(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const Answer& answer);
    // Sends `rest` in pieces of `piece` bytes, `intervalMs` apart, then hangs up.
    void send(QPointer<QTcpSocket> socket, const QByteArray& rest, qsizetype piece, int intervalMs);

    QTcpServer m_server;
    QHash<QByteArray, Answer> m_answers;
    QHash<QTcpSocket*, QByteArray> m_pending;
    QList<QByteArray> m_requestHeads;
};
