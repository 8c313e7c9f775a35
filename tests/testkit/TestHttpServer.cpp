#include "TestHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

TestHttpServer::TestHttpServer() {
    connect(&m_server, &QTcpServer::newConnection, this, &TestHttpServer::acceptConnections);
    m_server.listen(QHostAddress::LocalHost, 0);
}

quint16 TestHttpServer::refusingPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return port;
}

void TestHttpServer::acceptConnections() {
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TestHttpServer::readRequest(QTcpSocket* socket) {
    QByteArray& request = m_pending[socket];
    request += socket->readAll();
    if (!request.contains("\r\n\r\n"))
        return;
    const QByteArray head = request.left(request.indexOf("\r\n\r\n"));
    m_requestHeads << head;
    m_pending.remove(socket);
    Answer chosen;
    chosen.status = "404 Not Found";
    chosen = m_answers.value(head.left(head.indexOf("\r\n")).split(' ').value(1), chosen);
    QTimer::singleShot(chosen.delayMs, this, [this, guarded = QPointer(socket), chosen] {
        if (guarded)
            answer(guarded, chosen);
    });
}

void TestHttpServer::answer(QTcpSocket* socket, const Answer& answer) {
    QByteArray head = "HTTP/1.1 " + answer.status + "\r\n";
    for (const auto& [name, value] : answer.headers)
        head += name + ": " + value + "\r\n";
    if (answer.behaviour != Behaviour::NoLength)
        head += "Content-Length: " + QByteArray::number(answer.body.size()) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n");
    const QByteArray body = answer.behaviour == Behaviour::CloseMidBody
                                ? answer.body.left(answer.body.size() / 2)
                                : answer.body;
    if (answer.behaviour == Behaviour::Trickle)
        send(socket, body, answer.pieceSize, answer.pieceIntervalMs);
    else
        send(socket, body, body.size(), 0);
}

void TestHttpServer::send(QPointer<QTcpSocket> socket, const QByteArray& rest, qsizetype piece,
                          int intervalMs) {
    if (!socket)
        return;
    socket->write(rest.left(piece));
    if (rest.size() <= piece)
        return socket->disconnectFromHost();
    QTimer::singleShot(intervalMs, this, [this, socket, rest, piece, intervalMs] {
        send(socket, rest.mid(piece), piece, intervalMs);
    });
}
