#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "LinkTestUtil.h"
#include "feed/KissTcpClient.h"

namespace {

constexpr int WaitMs = 5000;

// A test TNC on 127.0.0.1 that hands each new connection to a script.
class KissLinkTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tnc.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_tnc, &QTcpServer::newConnection, &m_tnc, [this] {
            while (QTcpSocket* s = m_tnc.nextPendingConnection()) {
                ++m_connections;
                if (m_onConnection)
                    m_onConnection(s, m_connections);
            }
        });
        m_client.setReconnectDelays(20, 100);
    }

    bool startClient() { return m_client.start(QStringLiteral("127.0.0.1"), m_tnc.serverPort()); }

    QTcpServer m_tnc;
    int m_connections = 0;
    std::function<void(QTcpSocket*, int)> m_onConnection;
    feed::KissTcpClient m_client;
    LinkRecorder m_seen{m_client};
};

TEST_F(KissLinkTest, FramesInOddChunksBecomeReportsInOrder) {
    m_onConnection = [](QTcpSocket* s, int) {
        writeInChunks(
            s, kissOf("N0CALL-1>APRS,WIDE1-1*:!4903.50N/07201.75W-one") +
                   kissOf("N0CALL-2>APRS:=/5L!!<*e7>7P[") + kissOf("N0CALL-3>APRS:>just status") +
                   feed::kissEncode("\x01\x02 not a frame") + kissOf("N0CALL-4>S32UVT:`(_fn\"O>/"));
    };
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 3; }, WaitMs));
    EXPECT_EQ(m_seen.reports[0].name, QStringLiteral("N0CALL-1"));
    EXPECT_NEAR(m_seen.reports[0].latitude, 49.058333, 1e-4);
    EXPECT_EQ(m_seen.reports[0].comment, QStringLiteral("one"));
    EXPECT_EQ(m_seen.reports[1].name, QStringLiteral("N0CALL-2"));
    EXPECT_NEAR(m_seen.reports[1].longitude, -72.75, 1e-4);
    EXPECT_EQ(m_seen.reports[2].name, QStringLiteral("N0CALL-4"));
    EXPECT_NEAR(m_seen.reports[2].longitude, -(112.0 + 7.74 / 60.0), 1e-4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_client.counters().rejected() == 2; }, WaitMs));
    EXPECT_EQ(m_client.counters().decoded, 3u);
    EXPECT_EQ(m_client.counters().badFrames, 1u);
    EXPECT_EQ(m_client.counters().rejectedFor(feed::AprsReject::NoPosition), 1u);
    EXPECT_EQ(m_client.state(), feed::FeedLink::State::Connected);
    EXPECT_EQ(m_client.stateText(),
              QStringLiteral("KISS 127.0.0.1:%1: connected").arg(m_tnc.serverPort()));
}

TEST_F(KissLinkTest, ReconnectsWhenTheTncDropsTheConnection) {
    m_onConnection = [](QTcpSocket* s, int n) {
        if (n == 1) {
            // Half a frame, then the TNC goes away: the half must not join the next frame.
            writeInChunks(s, kissOf("N0CALL-1>APRS:!4903.50N/07201.75W-") +
                                 kissOf("N0CALL-9>APRS:!0000.00N/00000.00E-").left(12));
            s->disconnectFromHost();
        } else {
            writeInChunks(s, kissOf("N0CALL-2>APRS:!3351.23S\\15112.34E&"));
        }
    };
    QList<int> delays;
    QObject::connect(&m_client, &feed::FeedLink::retryScheduled, &m_client,
                     [&](int ms) { delays << ms; });
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 2; }, WaitMs));
    EXPECT_EQ(m_connections, 2);
    EXPECT_EQ(delays, QList<int>{20});
    EXPECT_EQ(m_seen.reports[0].name, QStringLiteral("N0CALL-1"));
    EXPECT_EQ(m_seen.reports[1].name, QStringLiteral("N0CALL-2"));
    EXPECT_NEAR(m_seen.reports[1].latitude, -33.853833, 1e-4);
    EXPECT_EQ(m_seen.statesContaining(QStringLiteral("retrying in")), 1);
    EXPECT_EQ(m_seen.statesContaining(QStringLiteral(": connected")), 2);
    EXPECT_EQ(m_client.counters().rejected(), 0u);
}

TEST_F(KissLinkTest, KeepsTryingUntilATncListens) {
    const quint16 port = m_tnc.serverPort();
    m_tnc.close();
    m_onConnection = [](QTcpSocket* s, int) {
        s->write(kissOf("N0CALL>APRS:!4903.50N/07201.75W-"));
    };
    ASSERT_TRUE(m_client.start(QStringLiteral("127.0.0.1"), port));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_seen.statesContaining(QStringLiteral("retrying in")) >= 3; }, WaitMs));
    EXPECT_EQ(m_client.state(), feed::FeedLink::State::Waiting);
    ASSERT_TRUE(m_tnc.listen(QHostAddress::LocalHost, port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 1; }, WaitMs));
    EXPECT_EQ(m_client.state(), feed::FeedLink::State::Connected);
}

TEST_F(KissLinkTest, GarbageIsCountedAndTheLinkLivesOn) {
    m_onConnection = [](QTcpSocket* s, int) {
        QByteArray noise(5000, '\0');
        for (char& c : noise)
            c = static_cast<char>(QRandomGenerator::global()->bounded(256) & 0x3F); // no FEND
        QByteArray bytes = QByteArray(1, '\xC0') + noise;
        bytes += feed::kissEncode(QByteArray(20, '\xFF')); // not an AX.25 frame
        bytes += feed::kissEncode(QByteArray(3000, 'A'));  // beyond the frame limit
        bytes += QByteArray("\xC0\x00\xDB\x41\xC0", 5);    // broken escape
        bytes += kissOf("N0CALL-5>APRS:!4903.50N/07201.75W-after");
        writeInChunks(s, bytes);
    };
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_seen.reports.size() == 1; }, WaitMs));
    EXPECT_EQ(m_seen.reports[0].comment, QStringLiteral("after"));
    EXPECT_EQ(m_client.counters().badFrames, 1u);
    EXPECT_EQ(m_client.counters().dropped, 3u); // two oversize frames, one broken escape
    EXPECT_EQ(m_client.kissCounters().oversize, 2u);
    EXPECT_EQ(m_client.kissCounters().badEscape, 1u);
    EXPECT_EQ(m_connections, 1);
}

TEST_F(KissLinkTest, StopClosesTheLinkAndSaysSo) {
    ASSERT_TRUE(startClient());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return m_client.state() == feed::FeedLink::State::Connected; }, WaitMs));
    m_client.stop();
    EXPECT_EQ(m_client.state(), feed::FeedLink::State::Stopped);
    EXPECT_EQ(m_client.stateText(), QStringLiteral("KISS: off"));
    QTest::qWait(300); // several retry delays: none may fire
    EXPECT_EQ(m_connections, 1);
    EXPECT_EQ(m_client.state(), feed::FeedLink::State::Stopped);
}

} // namespace
