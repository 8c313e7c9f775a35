// Guards "Follow own station" on a real drive: a real gpsd (gpsfake) moves the own station
// 4 km north through a view 2 km high; the view must keep it in sight all the way, and once
// the operator drags the map it must stay where the operator put it.
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

#include "FakeGpsd.h"
#include "HostCore.h"
#include "HostWindow.h"
#include "MapView.h"
#include "feed/GpsOwnStation.h"
#include "map/MapNavigation.h"

namespace {

// Fixes from 52.000 N to 52.036 N along 1 W, 100 m a fix, then a wait at the end; the
// sentences say 10 knots at 5 degrees (what gpsd hands on, whatever the positions say).
QByteArray driveNorth() {
    QByteArray log;
    for (int step = 0; step < 50; ++step) {
        const double lat = 52.0 + 0.0009 * std::min(step, 40);
        const QByteArray time = QString::asprintf("1200%02d.00", step).toLatin1();
        const QByteArray where =
            QString::asprintf("%02d%07.4f,N,00100.0000,W", int(lat), (lat - int(lat)) * 60.0)
                .toLatin1();
        log += nmeaSentence("GPRMC," + time + ",A," + where + ",010.0,005.0,071226,,,A");
        log += nmeaSentence("GPGGA," + time + "," + where + ",1,08,1.0,100.0,M,47.0,M,,");
    }
    return log;
}

quint16 freePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

TEST(FollowDrive, theViewFollowsADriveUntilTheOperatorPans) {
    if (QStandardPaths::findExecutable(QStringLiteral("gpsfake")).isEmpty())
        GTEST_SKIP() << "no gpsfake (scripts/install-deps.sh)";
    QTemporaryDir folder;
    const QString nmea = folder.filePath(QStringLiteral("drive.nmea"));
    {
        QFile file(nmea);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(driveNorth());
    }
    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("N0CALL-9");
    scenario.ownLat = 52.0;
    scenario.ownLon = -1.0;
    HostCore core(scenario);
    core.advanceTo(0.0);
    HostWindow window(core);
    window.resize(800, 600);
    window.show();
    MapScene& scene = core.scene();
    scene.pixelWidth = window.map()->width();
    scene.pixelHeight = window.map()->height();
    navigation::centreOn(scene, 52.0, -1.0);
    scene.unitsPerPixel = 2.0 / geo::kmPerNauticalMile / scene.pixelHeight; // 2 km high
    window.findChild<QAction*>(QStringLiteral("actionFollow"))->setChecked(true);

    // After every move the own station must be on the map; the view goes north with it.
    int moves = 0;
    bool everOutOfView = false;
    double lastLat = 52.0;
    QObject::connect(&core, &HostCore::changed, &window, [&] {
        const HeardStation& own = core.store().own();
        lastLat = own.lat;
        ++moves;
        const double x = scene.toPixelX(own.lon * 60.0), y = scene.toPixelY(own.lat * 60.0);
        if (x < 0 || x > scene.pixelWidth || y < 0 || y > scene.pixelHeight)
            everOutOfView = true;
    });

    const quint16 port = freePort();
    FakeGpsd gpsd(port, nmea, "0.05");
    ASSERT_TRUE(gpsd.process.waitForStarted(5000));
    GpsOwnStation gps(core);
    ASSERT_TRUE(gps.start(QStringLiteral("127.0.0.1"), port));

    ASSERT_TRUE(QTest::qWaitFor([&] { return lastLat > 52.018; }, 20000)) << lastLat;
    EXPECT_FALSE(everOutOfView);
    EXPECT_TRUE(window.map()->following());
    EXPECT_GT(scene.centreY, 52.005 * 60.0) << "the view never moved";

    // Half-way the operator drags the map a little to the east.
    QTest::mousePress(window.map(), Qt::LeftButton, {}, QPoint(400, 300));
    QTest::mouseMove(window.map(), QPoint(380, 300));
    QTest::mouseMove(window.map(), QPoint(350, 300));
    QTest::mouseRelease(window.map(), Qt::LeftButton, {}, QPoint(350, 300));
    EXPECT_FALSE(window.map()->following());
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("actionFollow"))->isChecked());
    const double centreX = scene.centreX, centreY = scene.centreY;

    // The drive goes on out of the view; the view stays.
    ASSERT_TRUE(QTest::qWaitFor([&] { return lastLat > 52.035; }, 20000)) << lastLat;
    EXPECT_EQ(scene.centreX, centreX);
    EXPECT_EQ(scene.centreY, centreY);
    EXPECT_LT(scene.toPixelY(lastLat * 60.0), 0.0) << "the station should have left the view";
    EXPECT_GE(moves, 20);
    // gpsd's course and speed (5 degrees, 10 knots) for the heading marker and the list.
    const StationRecord* own = core.log().find(QStringLiteral("N0CALL-9"));
    ASSERT_TRUE(own && own->courseDegrees && own->speedKmh);
    EXPECT_NEAR(*own->courseDegrees, 5.0, 0.01);
    EXPECT_NEAR(*own->speedKmh, 18.52, 0.01);
    gps.stop();
}

} // namespace
