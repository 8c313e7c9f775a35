// The pair as an operator runs it: marks or alerts gone astray over the real bus, or a tracker
// closing that leaves Ringwarden running or lets a refused second copy write over the files.
// Copies of build/bin in a temporary folder, a private bus, real 10-second ticks (one run).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <QFile>
#include <QJsonArray>
#include <QTest>

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

// The pair in a temporary folder: copies of build/bin with the given settings and lists.
class Pair : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(QProcess::execute("cp", {"-a", QFileInfo(HostProcess::program()).path(), bin}),
                  0);
        ASSERT_TRUE(QFile::exists(bin + QStringLiteral("/Ringwarden")));
        ASSERT_TRUE(
            putFile(bin + QStringLiteral("/Ringwarden.INI"),
                    "[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=FALSE\r\nAUDIBLE_ALARM=TRUE\r\n"
                    "DESKTOP_NOTIFY=TRUE\r\n"));
        ASSERT_TRUE(putFile(bin + QStringLiteral("/Ringwarden.LST"), "G2ACK|Acknowledged\r\n"));
        env = host.environment(); // the test's own runtime folder, where the lock is
    }
    void startRingwarden(QProcess& process,
                         QProcess::ProcessChannelMode channels = QProcess::ForwardedChannels) {
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(channels);
        process.start(bin + QStringLiteral("/Ringwarden"), {});
        ASSERT_TRUE(process.waitForStarted(5000));
    }
    QByteArray file(const char* name) const { return fileBytes(bin + QLatin1Char('/') + name); }

    HostProcess host;
    const QString bin = host.dir() + QStringLiteral("/bin");
    QProcessEnvironment env;
    QProcess ringwarden;
};

TEST_F(Pair, twoTicksRingTheStationsAndTheFilesAreWrittenWhenTheTrackerCloses) {
    FakeNotifications notifications;
    ASSERT_TRUE(host.start(scene));
    startRingwarden(ringwarden);

    ASSERT_TRUE(waitUntil([&] { return marksOf(host).wholeTicks() >= 2; }, 45000))
        << "whole ticks seen: " << marksOf(host).wholeTicks()
        << "; Ringwarden running: " << (ringwarden.state() == QProcess::Running);
    const Marks marks = marksOf(host);
    EXPECT_EQ(marks.astray, 0);
    EXPECT_EQ(marks.arcs, 32 * marks.ranges) << "32 sweep arcs a tick";
    EXPECT_EQ(marks.red, marks.ranges);
    EXPECT_EQ(marks.green, marks.ranges);

    const auto alerts = host.calls(QStringLiteral("AlertStation"));
    EXPECT_FALSE(alerts.isEmpty());
    for (const QJsonObject& line : alerts)
        EXPECT_EQ(line.value(QStringLiteral("args")).toArray(), QJsonArray{"G1NEAR"});

    // A second copy is refused, and the tracker closes while its box is open. Closing the
    // tracker closes the first copy, which writes its files on the way out; the refused copy
    // writes nothing. The files are removed first, so that what is found was written then.
    QProcess second;
    startRingwarden(second, QProcess::ForwardedOutputChannel);
    QByteArray told;
    ASSERT_TRUE(waitUntil([&] {
        told += second.readAllStandardError();
        return told.contains("is already running");
    })) << "the second copy was not refused: "
        << told.constData();
    // Past the refused copy's first tick, had it one: with its window's design values it
    // would ring G2ACK red and record both stations as entered in the running copy's history.
    const QByteArray history = file("Ringwarden.HST");
    EXPECT_TRUE(history.contains("|entered|G1NEAR|")) << history.constData();
    QTest::qWait(11000);
    EXPECT_EQ(marksOf(host).astray, 0) << "the refused copy drew on the map";
    EXPECT_EQ(file("Ringwarden.HST").toStdString(), history.toStdString())
        << "the refused copy wrote the history";
    EXPECT_EQ(second.state(), QProcess::Running) << "the refused copy did not wait for its box";
    ASSERT_EQ(notifications.calls.size(), 1) << "G1NEAR entered once, and only for the first copy";
    EXPECT_EQ(notifications.calls[0].at(2), "Ringwarden: 1 station in range");
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.INI")));
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.LST")));
    ASSERT_TRUE(host.stop());
    ASSERT_TRUE(waitUntil([&] { return ringwarden.state() == QProcess::NotRunning; }, 15000))
        << "Ringwarden did not close with the tracker";
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 15000))
        << "the refused copy stayed behind its box";
    EXPECT_EQ(ringwarden.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(notifications.closed, QList<uint>{41}) << "the notification outlived Ringwarden";
    const QByteArray ini = file("Ringwarden.INI");
    EXPECT_TRUE(ini.contains("MIN_DISTANCE=10")) << ini.constData();
    EXPECT_TRUE(ini.contains("LEFT=")) << ini.constData();
    EXPECT_FALSE(ini.contains("SCAN_STATIONS")) << "written by start-up, not by the closing";
    EXPECT_TRUE(file("Ringwarden.LST").contains("G2ACK|Acknowledged"));
}

// The tracker closes in the middle of a tick: at the range ring, half-way through the
// sweep, and just after the sound, when the station is told it is in alarm. The calls that
// follow fail; Ringwarden must not stop behind a failure box but close and save.
class TrackerClosingMidTick : public Pair, public ::testing::WithParamInterface<const char*> {};

TEST_P(TrackerClosingMidTick, ringwardenClosesAndSaves) {
    ASSERT_TRUE(
        host.start(scene, {QStringLiteral("--quit-on-call"), QString::fromLatin1(GetParam())}));
    startRingwarden(ringwarden);
    ASSERT_TRUE(waitUntil([&] { return host.process().state() == QProcess::NotRunning; }, 45000))
        << "the tick never reached " << GetParam();
    EXPECT_EQ(host.events(QStringLiteral("Kestrel32IsClosing")).size(), 1);
    ASSERT_TRUE(waitUntil([&] { return ringwarden.state() == QProcess::NotRunning; }, 10000))
        << "Ringwarden stayed open after the tracker closed";
    EXPECT_EQ(ringwarden.exitStatus(), QProcess::NormalExit);
    EXPECT_TRUE(file("Ringwarden.INI").contains("LEFT=")) << file("Ringwarden.INI").constData();
    EXPECT_EQ(file("Ringwarden.LST"), QByteArray("G2ACK|Acknowledged\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Moments, TrackerClosingMidTick,
                         ::testing::Values("DrawCircle:1", "DrawCircle:12", "AlertStation:1"));

} // namespace
