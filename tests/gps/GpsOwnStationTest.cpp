// Guards against bad gpsd input (garbage, NaN, no fix) moving the own station, a lost gpsd
// losing its place or way, and an APRS-IS filter that does not follow the own station. (Its
// distances are the station list's tests', its answers over the bus the host contract's.)
#include <gtest/gtest.h>

#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "FakeGpsd.h"
#include "FeedTestUtil.h"
#include "HostCore.h"
#include "feed/GpsOwnStation.h"
#include "feed/GpsdReport.h"
#include "feed/RadioFeed.h"

namespace {

// What a report carries, in one line: a fix's mode, place, course and speed ("-" where it
// has none), or gpsd's release and protocol version.
QString carried(const feed::GpsdReport& r) {
    using Kind = feed::GpsdReport::Kind;
    const auto shown = [](std::optional<double> v) {
        return v ? QString::number(*v) : QStringLiteral("-");
    };
    if (r.kind == Kind::Fix)
        return QStringList{feed::fixWords(r.mode), QString::number(r.latitude),
                           QString::number(r.longitude), shown(r.trackDegrees), shown(r.speedMps)}
            .join(' ');
    if (r.kind == Kind::Version)
        return QStringLiteral("version %1 %2 %3")
            .arg(r.release)
            .arg(r.protocolMajor)
            .arg(r.protocolMinor);
    return r.kind == Kind::NoFix ? "no fix" : r.kind == Kind::Other ? "other" : "not gpsd";
}

// No fix, NaN, a place off the globe and bytes that are no JSON are fed by the link test.
// A mode gpsd does not have is no fix: its position could be anything. A course or speed
// out of its range is not known; a protocol number not given as a whole is not known. (A
// gpsd of another major protocol is refused in the link test.)
TEST(GpsdReport, ReadsTheFixWithItsCourseAndSpeedOrTheVersionOrSaysWhyNot) {
    const std::pair<const char*, const char*> rows[] = {
        {R"({"class":"TPV","mode":3,"lat":52.0612,"lon":-1.0833,"alt":9})",
         "3D fix 52.0612 -1.0833 - -"},
        {R"({"class":"TPV","mode":2,"lat":90,"lon":-180,"track":360,"speed":0})",
         "2D fix 90 -180 0 0"},
        {R"({"class":"TPV","mode":3,"lat":52,"lon":-1,"track":88.5,"speed":12.5})",
         "3D fix 52 -1 88.5 12.5"},
        {R"({"class":"TPV","mode":3,"lat":52,"lon":-1,"track":-3,"speed":-1})", "3D fix 52 -1 - -"},
        {R"({"class":"TPV","mode":3,"lat":52,"lon":-1,"track":"N","speed":"fast"})",
         "3D fix 52 -1 - -"},
        {R"({"class":"TPV","mode":3,"lat":52,"lon":-1,"track":400,"speed":3})", "3D fix 52 -1 - 3"},
        {R"({"class":"TPV","mode":4,"lat":52.0,"lon":-1.0})", "no fix"},
        {R"({"class":"TPV","mode":2.5,"lat":52.0,"lon":-1.0})", "no fix"},
        {R"({"class":"TPV","mode":3,"lat":"52","lon":-1.0})", "no fix"},
        {R"({"class":"DEVICES","devices":[]})", "other"},
        {R"({"class":"TPV","mode":3,"lat":1e999,"lon":1})", "not gpsd"},
        {R"([{"class":"TPV","mode":3,"lat":52.0,"lon":-1.0}])", "not gpsd"},
        {R"({"class":"VERSION","release":"3.22","rev":"3.22","proto_major":3,"proto_minor":14})",
         "version 3.22 3 14"},
        {R"({"class":"VERSION","proto_major":"3","proto_minor":3.5})", "version  -1 -1"},
        {R"({"class":"VERSION"})", "version  -1 -1"}};
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(carried(feed::readGpsdReport(text)), QLatin1String(expected)) << text;
}

QByteArray tpv(double lat, double lon, int mode = 3) {
    const char* format = R"({"class":"TPV","mode":%d,"lat":%.6f,"lon":%.6f})";
    return QString::asprintf(format, mode, lat, lon).toLatin1() + '\n';
}

// A gpsd of the test's own: once a client has sent its WATCH, the script for that connection
// (numbered from 1) runs.
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
        // What the status bar shows: the text as it stands at each change.
        QObject::connect(&m_gps, &GpsOwnStation::statusChanged, &m_gps,
                         [this] { m_shown << m_gps.statusText(); });
        m_gps.client().setReconnectDelays(20, 200);
        ASSERT_TRUE(m_gps.start(QStringLiteral("127.0.0.1"), m_server.serverPort()));
    }
    bool waitForLat(double lat) {
        return QTest::qWaitFor([&] { return m_core.store().own().lat == lat; }, 10000);
    }

    QTcpServer m_server;
    int m_connections = 0;
    std::function<void(QTcpSocket*, int)> m_onWatch;
    HostCore m_core{
        parseScenario(R"({"own": {"callsign": "N0CALL", "lat": 52, "lon": -1}})", "own.json")};
    GpsOwnStation m_gps{m_core};
    QList<QVariantList> m_beacons;
    QStringList m_shown;
};

TEST_F(GpsOwnStationTest, GarbageLongLinesAndNaNNeverMoveTheOwnStationNorDoesSilence) {
    m_gps.setFixTimeout(1500);
    m_onWatch = [](QTcpSocket* s, int) {
        s->write("not json\n{\"class\":\"TPV\",\"mode\":3,\"lat\":NaN,\"lon\":NaN}\n");
        s->write(QByteArray("\x01\xfe\x00\x7f{\n", 6));
        // A megabyte in one line, whose beginning reads like a fix; the last fix lies within
        // the receiver's jitter of the one before.
        s->write(R"({"class":"TPV","mode":3,"lat":10.0,"lon":10.0,"pad":")" +
                 QByteArray(1 << 20, 'x') + "\"}\n" + tpv(11.0, 11.0, 1) + tpv(95.0, 11.0) +
                 tpv(52.01, -1.0) +
                 R"({"class":"TPV","mode":3,"lat":52.01,"lon":-1.00001,"track":5,"speed":5.144})"
                 "\n");
    };
    ASSERT_TRUE(waitForLat(52.01));
    // The last fix's course and speed for the heading marker and the list, though it is no move.
    const StationRecord* own = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return (own = m_core.log().find(QStringLiteral("N0CALL"))) && own->speedKmh; }));
    EXPECT_EQ(own->courseDegrees, 5.0);
    EXPECT_NEAR(*own->speedKmh, 18.5184, 1e-9);
    EXPECT_EQ(m_beacons, (QList<QVariantList>{{QStringLiteral("N0CALL"), 52.01 * 60.0, -60.0}}));
    EXPECT_EQ(m_gps.client().counters().badFrames, 3u);
    EXPECT_EQ(m_gps.client().counters().dropped, 1u);
    EXPECT_EQ(m_gps.statusText(), QStringLiteral("GPS: 3D fix"));
    // Silence on an open connection loses the fix; the place and the last fix's time stay.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_gps.hasFix(); }, 10000));
    EXPECT_TRUE(m_gps.statusText().startsWith(QStringLiteral("GPS: no fix since ")))
        << m_gps.statusText().toStdString();
    EXPECT_EQ(m_core.store().own().lat, 52.01);
    EXPECT_EQ(m_beacons.size(), 1);
    EXPECT_EQ(m_connections, 1);
}

// Found again after it went, gpsd may speak another major protocol: named and not read,
// however good its fixes look. The fix found on the connection after is a 2D one until gpsd
// says 3D, where it stands.
TEST_F(GpsOwnStationTest, GpsdGoneKeepsThePlaceAndIsFoundAgainWithGrowingDelays) {
    QPointer<QTcpSocket> third;
    m_onWatch = [&](QTcpSocket* s, int n) {
        if (n == 1) {
            s->write(tpv(52.01, -1.0));
            s->flush();
            m_server.close();
            s->disconnectFromHost();
        } else if (n == 2) {
            s->write(R"({"class":"VERSION","release":"4.1","proto_major":4,"proto_minor":0})"
                     "\n" +
                     tpv(10.0, 10.0));
        } else {
            s->write(tpv(52.03, -1.0, 2));
            third = s;
        }
    };
    const LinkRecorder seen{m_gps.client()};
    const quint16 port = m_server.serverPort();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.retryDelays.size() >= 3; }, 10000));
    EXPECT_EQ(seen.retryDelays.mid(0, 3), (QList<int>{20, 40, 80}));
    EXPECT_EQ(m_core.store().own().lat, 52.01);
    const QString status = m_gps.statusText();
    EXPECT_TRUE(status.startsWith(QStringLiteral("GPS: no fix since ")) &&
                status.contains(QStringLiteral("; gpsd 127.0.0.1:%1: retrying in").arg(port)))
        << status.toStdString();
    ASSERT_TRUE(m_server.listen(QHostAddress::LocalHost, port));

    const QString refused = QStringLiteral("gpsd 4.1 speaks protocol 4.0, not 3: not read");
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_gps.client().refusal() == refused; }, 10000));
    QTest::qWait(200); // room for the fix after it, should it be taken
    EXPECT_EQ(m_core.store().own().lat, 52.01);
    EXPECT_TRUE(m_gps.statusText().endsWith(QStringLiteral("; ") + refused))
        << m_gps.statusText().toStdString();
    EXPECT_EQ(m_gps.client().counters().decoded, 1u) << "only the first connection's fix";
    EXPECT_EQ(m_beacons.size(), 1);
    for (QTcpSocket* s : m_server.findChildren<QTcpSocket*>())
        s->disconnectFromHost();

    ASSERT_TRUE(waitForLat(52.03));
    EXPECT_EQ(m_connections, 3);
    EXPECT_EQ(m_gps.client().refusal(), QString());
    EXPECT_EQ(m_shown.last(), QStringLiteral("GPS: 2D fix"));
    ASSERT_TRUE(third);
    third->write(tpv(52.03, -1.0, 3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_shown.last() == "GPS: 3D fix"; }, 10000))
        << m_shown.join(" | ").toStdString();
    EXPECT_EQ(m_beacons.size(), 2) << "a new mode where it stands is no move";
}

// A drive north in fixes 1.1 km apart, a fifth of the 5 km range each: the filter follows
// a kilometre at a time, on the one connection, without a new login.
TEST_F(GpsOwnStationTest, TheAprsIsFilterFollowsTheDriveOnItsOneConnection) {
    m_gps.stop();
    QTcpServer aprsIs; // only listens: enough to see the login and the filters
    ASSERT_TRUE(aprsIs.listen(QHostAddress::LocalHost, 0));
    QByteArray received;
    QObject::connect(&aprsIs, &QTcpServer::newConnection, &aprsIs, [&] {
        QTcpSocket* s = aprsIs.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, s, [&, s] { received += s->readAll(); });
    });
    m_onWatch = [](QTcpSocket* s, int) {
        for (int step = 1; step <= 4; ++step)
            s->write(tpv(52.0 + 0.01 * step, -1.0));
    };
    feed::FeedOptions options;
    options.gpsdHost = options.aprsIsHost = QStringLiteral("127.0.0.1");
    options.gpsdPort = m_server.serverPort();
    options.aprsIsPort = aprsIs.serverPort();
    options.login = QStringLiteral("N0CALL");
    options.rangeKm = 5;
    RadioFeed feed(options, m_core);
    QString error;
    ASSERT_TRUE(feed.start(&error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return received.contains("#filter r/52.04"); }, 10000))
        << received.toStdString();
    EXPECT_TRUE(received.startsWith("user N0CALL pass -1 vers kestrel32 "));
    EXPECT_TRUE(received.contains(" filter r/52.0000/-1.0000/5\r\n")) << received.toStdString();
    EXPECT_EQ(received.count("#filter r/"), 4) << received.toStdString();
    EXPECT_EQ(received.count("user "), 1);
}

// The real gpsd (under gpsfake) takes the link's WATCH, and what it sends moves the own station.
TEST(RealGpsd, TakesTheWatchAndItsFixMovesTheOwnStation) {
    if (QStandardPaths::findExecutable(QStringLiteral("gpsfake")).isEmpty())
        GTEST_SKIP() << "no gpsfake (scripts/install-deps.sh)";
    QTemporaryDir dir;
    QFile log(dir.filePath(QStringLiteral("fixes.nmea")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    for (int second = 0; second < 60; ++second) {
        const QByteArray time = QString::asprintf("1200%02d.00", second).toLatin1();
        log.write(nmeaSentence("GPRMC," + time + ",A,5203.0000,N,00100.0000,W,0.0,0.0,071226,,,A"));
        log.write(
            nmeaSentence("GPGGA," + time + ",5203.0000,N,00100.0000,W,1,08,1.0,100.0,M,47.0,M,,"));
    }
    log.close();
    const quint16 port = freePort();
    FakeGpsd gpsd(port, log.fileName(), "0.1");
    ASSERT_TRUE(gpsd.process.waitForStarted(5000));
    HostCore core{
        parseScenario(R"({"own": {"callsign": "N0CALL", "lat": 52, "lon": -1}})", "own.json")};
    GpsOwnStation gps{core};
    ASSERT_TRUE(gps.start(QStringLiteral("127.0.0.1"), port));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return std::abs(core.store().own().lat - 52.05) < 1e-6; }, 20000))
        << core.store().own().lat;
    EXPECT_EQ(core.store().own().lon, -1.0);
}

} // namespace
