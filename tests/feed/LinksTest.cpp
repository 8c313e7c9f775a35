// Guards against a link that loses or merges packets, dies on garbage, or stops calling a
// TNC or server that went away: KISS over TCP and APRS-IS against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <functional>

#include <QTcpServer>
#include <QTimer>

#include "FeedTestUtil.h"
#include "feed/AprsIsClient.h"
#include "feed/KissTcpClient.h"

namespace {

constexpr int waitMs = 5000;

// A server on 127.0.0.1 that hands each new connection (numbered from 1) to the test.
class LinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] {
            while (QTcpSocket* s = server.nextPendingConnection())
                if (onConnection)
                    onConnection(s, ++connections);
        });
    }
    QTcpServer server;
    int connections = 0;
    std::function<void(QTcpSocket*, int)> onConnection;
};

// N0CALL-1>APRS,WIDE1-1:!4903.50N/07201.75W-Test as Dire Wolf demodulated it from
// gen_packets' audio: the command bits of destination and source are set (E0, E2), which
// kissOf() leaves clear, and the text ends in a line end.
const QByteArray direWolfKiss = QByteArray::fromHex(
    "c00082a0a4a64040e09c6086829898e2ae92888a62406303f021343930332e35304e2f3037323031"
    "2e3735572d546573740ac0");

// Half a frame, then the TNC goes, and is away for a while: the half must not join the
// next frame, and the TNC is called again until it listens.
TEST_F(LinkTest, kissFramesInOddChunksAmongGarbageBecomeReportsInOrderAcrossATncThatWent) {
    feed::KissTcpClient client;
    LinkRecorder seen{client};
    client.setReconnectDelays(20, 100);
    onConnection = [this](QTcpSocket* s, int n) {
        if (n > 1) {
            writeInChunks(s, kissOf("N0CALL-2>APRS:!3351.23S\\15112.34E&"));
            return;
        }
        writeInChunks(s, QByteArray(300, '\x11') + direWolfKiss +
                             kissOf("N0CALL-3>APRS:>just status") +
                             feed::kissEncode(QByteArray(20, '\xFF')) + // not AX.25
                             feed::kissEncode(QByteArray(3000, 'A')) +  // beyond the frame limit
                             kissOf("N0CALL-4>S32UVT:`(_fn\"O>/") +
                             kissOf("N0CALL-9>APRS:!0000.00N/00000.00E-").left(12));
        s->disconnectFromHost();
        const quint16 port = server.serverPort();
        server.close();
        QTimer::singleShot(300, &server,
                           [this, port] { server.listen(QHostAddress::LocalHost, port); });
    };
    ASSERT_TRUE(client.start(QStringLiteral("127.0.0.1"), server.serverPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.reports.size() == 3; }, waitMs));
    EXPECT_EQ(seen.reports[0].name, QStringLiteral("N0CALL-1"));
    EXPECT_EQ(seen.reports[0].comment, QStringLiteral("Test"));
    EXPECT_NEAR(seen.reports[0].latitude, 49.058333, 1e-4);
    EXPECT_EQ(seen.reports[1].name, QStringLiteral("N0CALL-4"));
    EXPECT_EQ(seen.reports[2].name, QStringLiteral("N0CALL-2"));
    EXPECT_EQ(client.counters().rejectedFor(feed::AprsReject::NoPosition), 1u);
    EXPECT_EQ(client.counters().badFrames, 1u);
    EXPECT_EQ(client.counters().dropped, 1u);
}

// An APRS-IS server: greets, reads the login line, then sends what it heard.
TEST_F(LinkTest, aprsIsLogsInAndTakesTheLinesThatFollowSkippingGarbage) {
    feed::AprsIsClient client;
    LinkRecorder seen{client};
    ASSERT_TRUE(client.setLogin(QStringLiteral("N0CALL")));
    client.setVersion(QStringLiteral("0.9"));
    ASSERT_TRUE(client.setFilter(feed::AprsIsClient::rangeFilter(49.0, -72.0, 100)));
    QByteArray login;
    onConnection = [&login](QTcpSocket* s, int) {
        s->write("# aprsc 2.1.14-test\r\n");
        QObject::connect(s, &QTcpSocket::readyRead, s, [&login, s] {
            login += s->readAll();
            if (!login.endsWith('\n'))
                return;
            writeInChunks(
                s, "# logresp N0CALL unverified, server T2TEST\r\n"
                   "N0CALL-1>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-first\r\n"
                   "this is no packet\r\n"
                   "N0CALL-4>APRS,TCPIP*,qAC,T2TEST:;LEADER   *092345z4903.50N/07201.75W>\r\n");
            s->write("N0CALL-2>APRS:!4903.50N/07201.75W-\r\n");
        });
    };
    ASSERT_TRUE(client.start(QStringLiteral("127.0.0.1"), server.serverPort()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.reports.size() == 3; }, waitMs));
    EXPECT_EQ(login, "user N0CALL pass -1 vers kestrel32 0.9 filter r/49.0000/-72.0000/100\r\n");
    EXPECT_EQ(seen.reports[1].name, QStringLiteral("LEADER"));
    EXPECT_EQ(seen.reports[1].sender, QStringLiteral("N0CALL-4"));
    EXPECT_EQ(seen.reports[2].name, QStringLiteral("N0CALL-2"));
    EXPECT_EQ(client.counters().badFrames, 1u);
}

} // namespace
