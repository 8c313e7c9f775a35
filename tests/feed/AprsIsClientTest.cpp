#include <gtest/gtest.h>

#include "LinkTestUtil.h"
#include "feed/AprsIsClient.h"

namespace {

constexpr int WaitMs = 5000;
const QByteArray ExpectedLogin =
    "user N0CALL pass -1 vers kestrel32 0.9 filter r/49.0000/-72.0000/100\r\n";

// A small APRS-IS server on 127.0.0.1: it reads the login line of each connection, then
// runs the test's script for that connection.
class AprsIsLinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                const int n = ++m_connections;
                s->write("# aprsc 2.1.14-test\r\n");
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, n] {
                    m_received[n] += s->readAll();
                    if (m_received[n].endsWith('\n') && !m_answered.contains(n)) {
                        m_answered << n;
                        if (m_afterLogin)
                            m_afterLogin(s, n);
                    }
                });
            }
        });
        ASSERT_TRUE(m_client.setLogin(QStringLiteral("N0CALL")));
        m_client.setVersion(QStringLiteral("0.9"));
        ASSERT_TRUE(m_client.setFilter(feed::AprsIsClient::rangeFilter(49.0, -72.0, 100)));
        m_client.setReconnectDelays(20, 100);
    }

    bool startClient() {
        return m_client.start(QStringLiteral("127.0.0.1"), m_server.serverPort());
    }

    QTcpServer m_server;
    int m_connections = 0;
    QMap<int, QByteArray> m_received;
    QList<int> m_answered;
    std::function<void(QTcpSocket*, int)> m_afterLogin;
    feed::AprsIsClient m_client;
    LinkRecorder m_seen{m_client};
};

TEST_F(AprsIsLinkTest, LogsInAndDecodesTheLinesThatFollow) {
    m_afterLogin = [](QTcpSocket* s, int) {
        writeInChunks(s,
                      "# logresp N0CALL unverified, server T2TEST\r\n"
                      "N0CALL-1>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-first\r\n"
                      "N0CALL-2>APRS,qAR,N1GATE:>status only\r\n"
                      "this is no packet\r\n"
                      "N0CALL-3>S32UVT,WIDE1-1,qAR,N1GATE:`(_fn\"O>/]mobile\r\n"
                      "# 14 Dec 2026 10:00:00 GMT T2TEST\r\n"
                      "N0CALL-4>APRS,TCPIP*,qAC,T2TEST:;LEADER   *092345z4903.50N/07201.75W>\r\n");
    };
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 3; }, WaitMs));
    EXPECT_EQ(m_received.value(1), ExpectedLogin);
    EXPECT_EQ(m_seen.reports[0].name, QStringLiteral("N0CALL-1"));
    EXPECT_EQ(m_seen.reports[0].comment, QStringLiteral("first"));
    EXPECT_EQ(m_seen.reports[1].name, QStringLiteral("N0CALL-3"));
    EXPECT_EQ(m_seen.reports[1].comment, QStringLiteral("]mobile"));
    EXPECT_EQ(m_seen.reports[2].name, QStringLiteral("LEADER"));
    EXPECT_EQ(m_seen.reports[2].sender, QStringLiteral("N0CALL-4"));
    EXPECT_EQ(m_client.counters().serverLines, 3u);
    EXPECT_EQ(m_client.counters().badFrames, 1u);
    EXPECT_EQ(m_client.counters().rejectedFor(feed::AprsReject::NoPosition), 1u);
    EXPECT_EQ(m_client.loginResponse(), QStringLiteral("logresp N0CALL unverified, server T2TEST"));
    EXPECT_EQ(m_client.stateText(),
              QStringLiteral("APRS-IS 127.0.0.1:%1: connected").arg(m_server.serverPort()));
}

TEST_F(AprsIsLinkTest, LongLinesAndBinaryGarbageAreCountedAndSkipped) {
    m_afterLogin = [](QTcpSocket* s, int) {
        QByteArray garbage(300, '\0');
        for (int i = 0; i < garbage.size(); ++i)
            garbage[i] = static_cast<char>((i * 37) & 0xFF);
        garbage.replace('\n', '.');
        s->write("N0CALL-1>APRS:!4903.50N/07201.75W-" + QByteArray(10300, 'x') + "\r\n");
        s->write(QByteArray(50000, 'y')); // a line that never ends ... until:
        s->write("\n" + garbage + "\r\n");
        s->write("N0CALL-2>APRS:!4903.50N/07201.75W-" + QByteArray(10206, 'z') + "\r\n");
        s->write("N\x01"
                 "CALL>APRS:!4903.50N/07201.75W-\r\n");
    };
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_client.counters().badFrames == 2; }, WaitMs));
    ASSERT_EQ(m_seen.reports.size(), 1);
    // Exactly 10,240 bytes of text: the longest line we take.
    EXPECT_EQ(m_seen.reports[0].name, QStringLiteral("N0CALL-2"));
    EXPECT_EQ(m_client.tooLongLines(), 2u);
    EXPECT_EQ(m_client.counters().dropped, 2u);
    EXPECT_EQ(m_connections, 1);
}

TEST_F(AprsIsLinkTest, ASilentServerIsLeftAndCalledAgain) {
    m_client.setIdleTimeout(150);
    m_afterLogin = [](QTcpSocket* s, int n) {
        if (n == 2)
            s->write("N0CALL-7>APRS:!4903.50N/07201.75W-\r\n");
    };
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 1; }, WaitMs));
    EXPECT_EQ(m_connections, 2);
    EXPECT_EQ(m_received.value(2), ExpectedLogin);
    EXPECT_EQ(m_seen.statesContaining(QStringLiteral("server silent")), 1);
}

TEST_F(AprsIsLinkTest, AServerThatHangsUpIsCalledAgainWithGrowingDelays) {
    m_afterLogin = [](QTcpSocket* s, int) { s->disconnectFromHost(); };
    m_client.setReconnectDelays(10, 60);
    QList<int> delays;
    QObject::connect(&m_client, &feed::FeedLink::retryScheduled, &m_client,
                     [&](int ms) { delays << ms; });
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return delays.size() >= 5; }, WaitMs));
    // Server comment lines do not prove the link good: the delay keeps growing.
    EXPECT_EQ(delays.mid(0, 5), (QList<int>{10, 20, 40, 60, 60}));
    EXPECT_TRUE(m_seen.reports.isEmpty());
}

} // namespace
