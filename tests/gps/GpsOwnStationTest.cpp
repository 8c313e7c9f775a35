// Guards against bad gpsd input moving the own station, or a lost gpsd losing its place or way.
#include <gtest/gtest.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "HostCore.h"
#include "feed/GpsOwnStation.h"

namespace {

constexpr int WaitMs = 10000;

QByteArray tpv(double lat, double lon, int mode = 3) {
    return QString::asprintf(R"({"class":"TPV","mode":%d,"lat":%.6f,"lon":%.6f})", mode, lat, lon)
               .toLatin1() +
           "\n";
}

// A gpsd of the test's own on 127.0.0.1: once a client has sent its WATCH, the test's script
// for that connection (numbered from 1) runs.
class GpsOwnStationTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket* s = m_server.nextPendingConnection();
            s->write("{\"class\":\"VERSION\",\"release\":\"3.22\"}\n");
            QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, n = ++m_connections] {
                if (s->readAll().contains("?WATCH={\"enable\":true,\"json\":true}\n"))
                    m_onWatch(s, n);
            });
        });
        m_core.setEventsEnabled(1);
        QObject::connect(&m_core, &HostCore::hostEvent, &m_core,
                         [this](const QString& name, const QVariantList& args) {
                             if (name == QStringLiteral("NotifyBeacon"))
                                 m_beacons << args;
                         });
        m_gps.client().setReconnectDelays(20, 200);
        ASSERT_TRUE(m_gps.start(QStringLiteral("127.0.0.1"), m_server.serverPort()));
    }
    double ownLat() const { return m_core.store().own().lat; }

    QTcpServer m_server;
    int m_connections = 0;
    std::function<void(QTcpSocket*, int)> m_onWatch;
    HostCore m_core{[] {
        Scenario own;
        own.ownCallsign = QStringLiteral("N0CALL");
        own.ownLat = 52.0;
        own.ownLon = -1.0;
        return own;
    }()};
    GpsOwnStation m_gps{m_core};
    QList<QVariantList> m_beacons;
};

TEST_F(GpsOwnStationTest, GarbageLongLinesAndNaNNeverMoveTheOwnStationNorDoesSilence) {
    m_gps.setFixTimeout(1500);
    m_onWatch = [](QTcpSocket* s, int) {
        s->write("not json\n{\"class\":\"TPV\",\"mode\":3,\"lat\":NaN,\"lon\":NaN}\n");
        s->write(QByteArray("\x01\xfe\x00\x7f{\n", 6));
        // A whole megabyte in one line, whose beginning reads like a fix.
        s->write(R"({"class":"TPV","mode":3,"lat":10.0,"lon":10.0,"pad":")" +
                 QByteArray(1 << 20, 'x') + "\"}\n");
        // The last one lies within the receiver's jitter of the one before.
        s->write(tpv(11.0, 11.0, 1) + tpv(95.0, 11.0) + tpv(52.01, -1.0) + tpv(52.01, -1.00001));
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return ownLat() == 52.01; }, WaitMs));
    const QTime fixed = QTime::currentTime();
    EXPECT_EQ(m_beacons, (QList<QVariantList>{{QStringLiteral("N0CALL"), 52.01 * 60.0, -60.0}}));
    EXPECT_EQ(m_gps.client().counters().badFrames, 3u);
    EXPECT_EQ(m_gps.client().counters().dropped, 1u);
    EXPECT_EQ(m_gps.statusText(), QStringLiteral("GPS: fix 52.0100 -1.0000"));
    // Silence on an open connection loses the fix; the place and the last fix's time stay.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_gps.hasFix(); }, WaitMs));
    const auto since = [](QTime t) { return "GPS: no fix since " + t.toString("HH:mm:ss"); };
    EXPECT_TRUE(m_gps.statusText() == since(fixed) ||
                m_gps.statusText() == since(fixed.addSecs(-1)))
        << m_gps.statusText().toStdString();
    EXPECT_EQ(ownLat(), 52.01);
    EXPECT_EQ(m_beacons.size(), 1);
    EXPECT_EQ(m_connections, 1);
}

TEST_F(GpsOwnStationTest, GpsdGoneKeepsThePlaceAndIsFoundAgainWithGrowingDelays) {
    m_onWatch = [this](QTcpSocket* s, int n) {
        s->write(tpv(n == 1 ? 52.01 : 52.03, -1.0));
        if (n == 1) {
            s->flush();
            m_server.close();
            s->disconnectFromHost();
        }
    };
    QList<int> delays;
    QObject::connect(&m_gps.client(), &feed::FeedLink::retryScheduled, &m_gps,
                     [&](int ms) { delays << ms; });
    const quint16 port = m_server.serverPort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return delays.size() >= 3; }, WaitMs));
    EXPECT_EQ(delays.mid(0, 3), (QList<int>{20, 40, 80}));
    EXPECT_EQ(ownLat(), 52.01);
    EXPECT_TRUE(m_gps.statusText().startsWith(QStringLiteral("GPS: no fix since ")));
    EXPECT_TRUE(
        m_gps.statusText().contains(QStringLiteral("; gpsd 127.0.0.1:%1: retrying in").arg(port)));

    ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ownLat() == 52.03; }, WaitMs));
    EXPECT_EQ(m_connections, 2);
    EXPECT_EQ(m_gps.statusText(), QStringLiteral("GPS: fix 52.0300 -1.0000"));
}

} // namespace
