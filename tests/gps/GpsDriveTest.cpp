// Guards against kestrel32 not following a real gpsd past a station, or its APRS-IS filter not.
// (Ringwarden's alarm on the distances the bus gives is the whole-program tests'.)
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "FakeGpsd.h"
#include "FeedTestUtil.h"
#include "HostProcess.h"
#include "host/dbus/DbusKestrelHost.h"

namespace {

constexpr int DriveMs = 60000;

// A log of fixes along the meridian 1 W: a wait at `from`, the drive to `to`, a wait there.
QByteArray driveNorth(double from, double to) {
    QByteArray log;
    constexpr int wait = 25, drive = 30;
    for (int step = 0; step < wait + drive + 3 * wait; ++step) {
        const double lat = from + (to - from) * std::clamp(step - wait, 0, drive) / drive;
        const QByteArray time = QString::asprintf("12%02d%02d.00", step / 60, step % 60).toLatin1();
        const QByteArray where =
            QString::asprintf("%02d%07.4f,N,00100.0000,W", int(lat), (lat - int(lat)) * 60.0)
                .toLatin1();
        log += nmeaSentence("GPRMC," + time + ",A," + where + ",030.0,000.0,071226,,,A");
        log += nmeaSentence("GPGGA," + time + "," + where + ",1,08,1.0,100.0,M,47.0,M,,");
    }
    return log;
}

TEST(GpsDrive, Kestrel32FollowsGpsdPastAStationAndKeepsTheFilterInStep) {
    if (QStandardPaths::findExecutable(QStringLiteral("gpsfake")).isEmpty())
        GTEST_SKIP() << "no gpsfake (scripts/install-deps.sh)";
    QTcpServer aprsIs; // only listens: enough to see the login and the filters
    ASSERT_TRUE(aprsIs.listen(QHostAddress::LocalHost, 0));
    QByteArray received;
    int connections = 0;
    QObject::connect(&aprsIs, &QTcpServer::newConnection, &aprsIs, [&] {
        QTcpSocket* s = aprsIs.nextPendingConnection();
        ++connections;
        QObject::connect(s, &QTcpSocket::readyRead, s, [&, s] { received += s->readAll(); });
    });

    HostProcess host;
    const quint16 gpsPort = freePort();
    FakeGpsd gpsd(gpsPort, host.writeScenario(driveNorth(52.0, 52.036), "there.nmea"), "0.1");
    ASSERT_TRUE(gpsd.process.waitForStarted(5000));
    ASSERT_TRUE(host.start(R"({"stations": [{"callsign": "G4CAR", "lat": 52.04, "lon": -1.0}]})",
                           {"--own", "N0CALL,52.0,-1.0", "--gpsd",
                            QStringLiteral("127.0.0.1:%1").arg(gpsPort), "--aprs-is",
                            QStringLiteral("127.0.0.1:%1").arg(aprsIs.serverPort()), "--login",
                            "N0CALL", "--range", "5"}));
    DbusKestrelHost bus;
    QList<float> distances;
    ASSERT_TRUE(waitUntil(
        [&] {
            KestrelStation car{QStringLiteral("G4CAR")};
            if (bus.GetStation(car) && (distances.isEmpty() || car.Distance != distances.last()))
                distances << car.Distance;
            return !distances.isEmpty() && distances.last() < 0.5f;
        },
        DriveMs))
        << distances.size();
    EXPECT_NEAR(distances.first(), 4.445, 0.01);
    EXPECT_TRUE(std::is_sorted(distances.rbegin(), distances.rend()));
    EXPECT_GE(distances.size(), 4) << "the distance jumped instead of following the drive";
    ASSERT_TRUE(waitUntil([&] { return received.count("#filter ") >= 3; }, DriveMs))
        << received.toStdString();
    EXPECT_TRUE(received.startsWith("user N0CALL pass -1 vers kestrel32 "));
    EXPECT_TRUE(received.contains(" filter r/52.0000/-1.0000/5\r\n#filter r/52.0"))
        << received.toStdString();
    EXPECT_EQ(connections, 1);
}

} // namespace
