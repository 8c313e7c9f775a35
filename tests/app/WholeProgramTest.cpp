// The pair as an operator runs it: marks or alerts gone astray over the real bus, or a tracker
// closing mid-tick that leaves Ringwarden running or its files unwritten (real 10-second ticks).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QJsonArray>

#include "FakeNotifications.h"
#include "HostProcess.h"
#include "TestFiles.h"

namespace {

const QByteArray scene = R"({
  "own": {"callsign": "G4KST", "lat": 52.0, "lon": -1.0},
  "stations": [
    {"callsign": "G1NEAR", "lat": 52.02, "lon": -1.0, "star": true},
    {"callsign": "G2ACK", "lat": 52.0, "lon": -1.05},
    {"callsign": "G3FAR", "lat": 53.0, "lon": -1.0}
  ]
})";

// The rings drawn so far, by kind. A whole tick draws a range ring, 32 sweep arcs, a red ring
// round G1NEAR and a green one round G2ACK; a ring anywhere else, or of another size or
// colour, has gone astray.
struct Marks {
    int ranges = 0, arcs = 0, red = 0, green = 0, astray = 0;
    int wholeTicks() const { return std::min({ranges, arcs / 32, red, green}); }
};

Marks marksOf(const HostProcess& host) {
    Marks m;
    const auto count = [&m](double x, double y, double radius, qint64 colour, double aspect) {
        const bool sweep = aspect == 0.5;
        if (colour == 16776960 && x == -60.0 && y == 3120.0 && radius == 9.0) // Int(10 * 0.9)
            ++m.ranges;
        else if (colour == 65280 && sweep && radius == 9.0)
            ++m.arcs;
        else if (colour == 255 && x == -60.0 && std::abs(y - 3121.2) < 1e-3) // G1NEAR
            ++m.red;
        else if (colour == 65280 && !sweep && std::abs(x + 63.0) < 1e-4 && y == 3120.0) // G2ACK
            ++m.green;
        else
            ++m.astray;
    };
    for (const QJsonObject& line : host.calls(QStringLiteral("DrawCircle"))) {
        const QJsonArray a = line.value(QStringLiteral("args")).toArray();
        count(a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), qint64(a[3].toDouble()),
              a[6].toDouble());
    }
    // The station rings of a block in one call: the settings, then arrays of the circles'.
    for (const QJsonObject& line : host.calls(QStringLiteral("DrawCircles"))) {
        const QJsonArray a = line.value(QStringLiteral("args")).toArray();
        const QJsonArray x = a[3].toArray(), y = a[4].toArray(), radius = a[5].toArray(),
                         colour = a[6].toArray(), aspect = a[9].toArray();
        for (qsizetype i = 0; i < x.size(); ++i)
            count(x[i].toDouble(), y[i].toDouble(), radius[i].toDouble(),
                  qint64(colour[i].toDouble()), aspect[i].toDouble());
    }
    return m;
}

// The pair as an operator runs it, in copies of build/bin: the tracker closes half-way
// through the third tick's sweep (its calls then fail), and Ringwarden must not stop behind a
// failure box but withdraw its notification, write its files and end.
TEST(Pair, twoTicksRingTheStationsAndATrackerClosingMidTickEndsRingwardenWithItsFilesWritten) {
    HostProcess host;
    FakeNotifications notifications;
    const QString bin = host.dir() + QStringLiteral("/bin");
    ASSERT_EQ(QProcess::execute("cp", {"-a", QFileInfo(HostProcess::program()).path(), bin}), 0);
    ASSERT_TRUE(
        putFile(bin + QStringLiteral("/Ringwarden.INI"),
                "[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=FALSE\r\nAUDIBLE_ALARM=TRUE\r\n"
                "DESKTOP_NOTIFY=TRUE\r\n"));
    ASSERT_TRUE(putFile(bin + QStringLiteral("/Ringwarden.LST"), "G2ACK|Acknowledged\r\n"));
    // A tick draws a range ring and 32 sweep arcs one call each: the 80th is in the third.
    ASSERT_TRUE(host.start(scene, {QStringLiteral("--quit-on-call"), "DrawCircle:80"}));
    QProcess ringwarden;
    ringwarden.setProcessEnvironment(host.environment()); // the test's own runtime folder
    ringwarden.setProcessChannelMode(QProcess::ForwardedChannels);
    ringwarden.start(bin + QStringLiteral("/Ringwarden"), {});
    ASSERT_TRUE(ringwarden.waitForStarted(5000));

    // Removed after the first tick, so that what is found at the end was written then.
    ASSERT_TRUE(waitUntil([&] { return marksOf(host).wholeTicks() == 1; }, 30000));
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.INI")));
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.LST")));
    ASSERT_TRUE(waitUntil([&] { return host.process().state() == QProcess::NotRunning; }, 60000))
        << "whole ticks seen: " << marksOf(host).wholeTicks()
        << "; Ringwarden running: " << (ringwarden.state() == QProcess::Running);
    EXPECT_EQ(host.events(QStringLiteral("Kestrel32IsClosing")).size(), 1);
    const Marks marks = marksOf(host);
    EXPECT_EQ(marks.wholeTicks(), 2);
    EXPECT_EQ(marks.astray, 0);
    EXPECT_EQ(marks.ranges, 3);
    EXPECT_EQ(marks.red, 2);
    EXPECT_EQ(marks.green, 2);

    ASSERT_TRUE(waitUntil([&] { return ringwarden.state() == QProcess::NotRunning; }, 10000))
        << "Ringwarden stayed open after the tracker closed";
    EXPECT_EQ(ringwarden.exitStatus(), QProcess::NormalExit);
    ASSERT_EQ(notifications.calls.size(), 1) << "G1NEAR entered once";
    EXPECT_EQ(notifications.closed, QList<uint>{41}) << "the notification outlived Ringwarden";
    EXPECT_TRUE(fileBytes(bin + "/Ringwarden.HST").contains("|entered|G1NEAR|"));
    const QByteArray ini = fileBytes(bin + "/Ringwarden.INI");
    EXPECT_TRUE(ini.contains("MIN_DISTANCE=10")) << ini.constData();
    EXPECT_FALSE(ini.contains("SCAN_STATIONS")) << "written by start-up, not by the closing";
    EXPECT_EQ(fileBytes(bin + "/Ringwarden.LST"), QByteArray("G2ACK|Acknowledged\r\n"));
}

} // namespace
