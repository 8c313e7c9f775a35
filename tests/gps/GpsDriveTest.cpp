// Guards against kestrel32 not following a real gpsd, or its APRS-IS filter not. (Distances
// that follow the own station are the station list's tests', their answers over the bus the
// host contract's, Ringwarden's alarm on them the whole-program tests'.)
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "FakeGpsd.h"
#include "FeedTestUtil.h"
#include "HostProcess.h"

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

TEST(GpsDrive, Kestrel32FollowsARealGpsdAndKeepsTheFilterInStep) {
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
    ASSERT_TRUE(host.start("{}", {"--own", "N0CALL,52.0,-1.0", "--gpsd",
                                  QStringLiteral("127.0.0.1:%1").arg(gpsPort), "--aprs-is",
                                  QStringLiteral("127.0.0.1:%1").arg(aprsIs.serverPort()),
                                  "--login", "N0CALL", "--range", "5"}));
    // The own station goes north with the fixes, its filter following a kilometre at a time
    // on the one connection.
    ASSERT_TRUE(waitUntil([&] { return received.contains("#filter r/52.02"); }, DriveMs))
        << received.toStdString();
    EXPECT_TRUE(received.startsWith("user N0CALL pass -1 vers kestrel32 "));
    EXPECT_TRUE(received.contains(" filter r/52.0000/-1.0000/5\r\n")) << received.toStdString();
    QList<double> north;
    for (const QByteArray& line : received.split('\n'))
        if (line.startsWith("#filter r/"))
            north << line.split('/')[1].toDouble();
    EXPECT_GE(north.size(), 3) << "the filter jumped instead of following the drive";
    EXPECT_TRUE(std::is_sorted(north.begin(), north.end())) << received.toStdString();
    EXPECT_EQ(connections, 1);
}

} // namespace
