// Guards against the own station moving on bad gpsd input, or losing its place or its way back when
// gpsd stops.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "HostCore.h"
#include "feed/GpsOwnStation.h"

namespace {

constexpr int WaitMs = 10000;

Scenario ownAtBanbury() {
    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("N0CALL");
    scenario.ownLat = 52.0;
    scenario.ownLon = -1.0;
    return scenario;
}

QByteArray tpv(double lat, double lon, int mode = 3) {
    return QStringLiteral(R"({"class":"TPV","mode":%1,"lat":%2,"lon":%3})")
               .arg(mode)
               .arg(lat, 0, 'f', 6)
               .arg(lon, 0, 'f', 6)
               .toLatin1() +
           "\n";
}

// A gpsd of the test's own on 127.0.0.1: once a client has sent its WATCH, the test's script
// for that connection runs.
class GpsOwnStationTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                s->write(R"({"class":"VERSION","release":"3.22","proto_major":3})"
                         "\n");
                const int n = ++m_connections;
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s, n] {
                    if (s->readAll().contains("?WATCH={\"enable\":true,\"json\":true}") &&
                        m_onWatch)
                        m_onWatch(s, n);
                });
            }
        });
        m_core.setEventsEnabled(1);
        QObject::connect(&m_core, &HostCore::hostEvent, &m_core,
                         [this](const QString& name, const QVariantList& args) {
                             if (name == QStringLiteral("NotifyBeacon"))
                                 m_beacons << args;
                         });
        m_gps.client().setReconnectDelays(20, 200);
    }
    bool start() { return m_gps.start(QStringLiteral("127.0.0.1"), m_server.serverPort()); }
    double ownLat() const { return m_core.store().own().lat; }
    // The HH:MM:SS of "GPS: no fix since HH:MM:SS", invalid when the status says otherwise.
    QTime noFixSince() const {
        static const QRegularExpression since(
            QStringLiteral("^GPS: no fix since (\\d\\d:\\d\\d:\\d\\d)"));
        const auto match = since.match(m_gps.statusText());
        return match.hasMatch() ? QTime::fromString(match.captured(1), QStringLiteral("HH:mm:ss"))
                                : QTime();
    }

    QTcpServer m_server;
    int m_connections = 0;
    std::function<void(QTcpSocket*, int)> m_onWatch;
    HostCore m_core{ownAtBanbury()};
    GpsOwnStation m_gps{m_core};
    QList<QVariantList> m_beacons;
};

TEST_F(GpsOwnStationTest, GarbageLongLinesAndNaNNeverMoveTheOwnStation) {
    m_onWatch = [](QTcpSocket* s, int) {
        s->write("not json at all\n{\"class\":\"TPV\",\"mode\":3,\"lat\":NaN,\"lon\":NaN}\n");
        s->write(QByteArray("\x01\xfe\x00\x7f{", 5) + "\n");
        // A whole megabyte in one line, whose beginning reads like a fix.
        s->write(R"({"class":"TPV","mode":3,"lat":10.0,"lon":10.0,"pad":")" +
                 QByteArray(1 << 20, 'x') + "\"}\n");
        s->write(tpv(11.0, 11.0, 1) + tpv(95.0, 11.0) + tpv(52.01, -1.0));
    };
    ASSERT_TRUE(start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return ownLat() == 52.01; }, WaitMs));
    ASSERT_EQ(m_beacons.size(), 1);
    EXPECT_EQ(m_beacons[0], (QVariantList{QStringLiteral("N0CALL"), 52.01 * 60.0, -60.0}));
    EXPECT_EQ(m_gps.client().counters().badFrames, 3u);
    EXPECT_EQ(m_gps.client().counters().dropped, 1u);
    EXPECT_EQ(m_gps.statusText(), QStringLiteral("GPS: fix 52.0100 -1.0000"));
    EXPECT_EQ(m_connections, 1);
}

TEST_F(GpsOwnStationTest, GpsdGoneKeepsThePlaceAndIsFoundAgainWithGrowingDelays) {
    const QTime beforeFix = QTime::currentTime().addMSecs(-1000);
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
    ASSERT_TRUE(start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return delays.size() >= 3; }, WaitMs));
    EXPECT_EQ(delays.mid(0, 3), (QList<int>{20, 40, 80}));
    EXPECT_EQ(ownLat(), 52.01);
    EXPECT_TRUE(
        m_gps.statusText().contains(QStringLiteral("; gpsd 127.0.0.1:%1: retrying in").arg(port)))
        << m_gps.statusText().toStdString();
    const QTime since = noFixSince();
    EXPECT_TRUE(since.isValid() && since >= beforeFix && since <= QTime::currentTime());

    ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, port));
    ASSERT_TRUE(QTest::qWaitFor([&] { return ownLat() == 52.03; }, WaitMs));
    EXPECT_EQ(m_connections, 2);
    EXPECT_EQ(m_gps.statusText(), QStringLiteral("GPS: fix 52.0300 -1.0000"));
}

TEST_F(GpsOwnStationTest, SilenceAfterAFixLosesItButNotThePosition) {
    m_gps.setFixTimeout(300);
    m_onWatch = [](QTcpSocket* s, int) { s->write(tpv(52.01, -1.0) + tpv(52.01, -1.00001)); };
    ASSERT_TRUE(start());
    EXPECT_TRUE(noFixSince().isValid()) << m_gps.statusText().toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_gps.hasFix(); }, WaitMs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_gps.hasFix(); }, WaitMs));
    EXPECT_TRUE(noFixSince().isValid()) << m_gps.statusText().toStdString();
    EXPECT_FALSE(m_gps.statusText().contains(QStringLiteral("gpsd")));
    EXPECT_EQ(ownLat(), 52.01);
    // The second fix lay within the receiver's jitter: one beacon only.
    EXPECT_EQ(m_beacons.size(), 1);
}

} // namespace
