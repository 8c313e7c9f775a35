#pragma once

#include <functional>

#include <QByteArray>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A feed's server of the test's own on 127.0.0.1: sends `greeting` to each client, answers
// each line a client sends through `answer`, and keeps what came and who hung up.
class LineServer final : public QObject {
public:
    explicit LineServer(QByteArray greeting = {},
                        std::function<QByteArray(const QByteArray&)> answer = {})
        : m_greeting(std::move(greeting)), m_answer(std::move(answer)) {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* client = m_server.nextPendingConnection()) {
                ++connections;
                client->write(m_greeting);
                QObject::connect(client, &QTcpSocket::readyRead, this, [this, client] {
                    m_pending += client->readAll();
                    qsizetype end;
                    while ((end = m_pending.indexOf('\n')) >= 0) {
                        const QByteArray line = m_pending.left(end + 1);
                        m_pending.remove(0, end + 1);
                        received += line;
                        if (m_answer)
                            client->write(m_answer(line));
                    }
                });
                QObject::connect(client, &QTcpSocket::disconnected, this, [this] { ++hangUps; });
            }
        });
    }

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }

    int connections = 0;
    int hangUps = 0;
    QByteArray received;

private:
    QTcpServer m_server;
    QByteArray m_greeting;
    std::function<QByteArray(const QByteArray&)> m_answer;
    QByteArray m_pending;
};

// An APRS-IS server's answer to a login line: "# logresp CALL unverified, server T1".
inline QByteArray aprsIsLoginAnswer(const QByteArray& line) {
    if (!line.startsWith("user "))
        return {};
    const QList<QByteArray> words = line.trimmed().split(' ');
    const bool verified = words.size() > 3 && words[3] == "12345";
    return "# logresp " + words.value(1) + (verified ? " verified" : " unverified") +
           ", server T1\r\n";
}
