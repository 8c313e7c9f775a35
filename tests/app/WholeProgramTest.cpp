// The pair as an operator runs it: marks or alerts gone astray over the real bus, or a tracker
// closing that leaves Ringwarden running or lets a refused second copy write over the files.
// Copies of build/bin in a temporary folder, a private bus, real 10-second ticks (one run).
#include <gtest/gtest.h>

#include <algorithm>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>

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

bool copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = to + source.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        if (!QFile::copy(source, target))
            return false;
        QFile::setPermissions(target, QFile::permissions(source));
    }
    return true;
}

struct Circle {
    double x, y, radius;
    qint64 colour;
    double start, end, aspect;
};

QList<Circle> circles(const HostProcess& host) {
    QList<Circle> list;
    for (const QJsonObject& line : host.calls(QStringLiteral("DrawCircle"))) {
        const QJsonArray a = line.value(QStringLiteral("args")).toArray();
        list << Circle{a[0].toDouble(), a[1].toDouble(), a[2].toDouble(), qint64(a[3].toDouble()),
                       a[4].toDouble(), a[5].toDouble(), a[6].toDouble()};
    }
    return list;
}

// The pair in a temporary folder: copies of build/bin with the given settings and lists.
class Pair : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(copyFolder(QFileInfo(HostProcess::program()).path(), bin));
        ASSERT_TRUE(QFile::exists(bin + QStringLiteral("/Ringwarden")));
        ASSERT_TRUE(putFile(
            bin + QStringLiteral("/Ringwarden.INI"),
            "[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=FALSE\r\nAUDIBLE_ALARM=TRUE\r\n"));
        ASSERT_TRUE(putFile(bin + QStringLiteral("/Ringwarden.LST"), "G2ACK|Acknowledged\r\n"));
        env = host.environment();
        const QString runtime = host.dir() + QStringLiteral("/runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
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
    ASSERT_TRUE(host.start(scene));
    startRingwarden(ringwarden);

    // Two whole ticks: each draws one range ring, 32 sweep arcs, a red ring round G1NEAR and
    // a green one round G2ACK.
    const auto wholeTicks = [&] {
        int ranges = 0, arcs = 0, red = 0, green = 0;
        for (const Circle& c : circles(host)) {
            ranges += c.colour == 16776960;
            arcs += c.colour == 65280 && c.aspect == 0.5;
            red += c.colour == 255;
            green += c.colour == 65280 && c.aspect != 0.5;
        }
        return std::min({ranges, arcs / 32, red, green});
    };
    ASSERT_TRUE(waitUntil([&] { return wholeTicks() >= 2; }, 45000))
        << "whole ticks seen: " << wholeTicks()
        << "; Ringwarden running: " << (ringwarden.state() == QProcess::Running);

    const QList<Circle> drawn = circles(host);
    int ranges = 0, arcs = 0, red = 0, green = 0;
    for (const Circle& c : drawn) {
        if (c.colour == 16776960) {
            ++ranges;
            EXPECT_EQ(c.x, -60.0);
            EXPECT_EQ(c.y, 3120.0);
            EXPECT_EQ(c.radius, 9.0); // Int(10 * 0.9)
            EXPECT_EQ(c.aspect, 1.0);
        } else if (c.colour == 65280 && c.aspect == 0.5) {
            ++arcs;
            EXPECT_EQ(c.radius, 9.0);
            EXPECT_NEAR(c.end - c.start, 0.2, 1e-6);
        } else if (c.colour == 255) {
            ++red;
            EXPECT_EQ(c.x, -60.0); // G1NEAR
            EXPECT_NEAR(c.y, 3121.2, 1e-3);
        } else if (c.colour == 65280) {
            ++green;
            EXPECT_NEAR(c.x, -63.0, 1e-4); // G2ACK
            EXPECT_EQ(c.y, 3120.0);
        } else {
            ADD_FAILURE() << "unexpected circle colour " << c.colour;
        }
    }
    EXPECT_GE(ranges, 2);
    EXPECT_EQ(arcs, 32 * ranges) << "32 sweep arcs a tick";
    EXPECT_EQ(red, ranges);
    EXPECT_EQ(green, ranges);

    QStringList alerted;
    for (const QJsonObject& line : host.calls(QStringLiteral("AlertStation")))
        alerted << line.value(QStringLiteral("args")).toArray().at(0).toString();
    EXPECT_FALSE(alerted.isEmpty());
    for (const QString& callsign : alerted)
        EXPECT_EQ(callsign, QStringLiteral("G1NEAR"));

    const auto beacon = host.calls(QStringLiteral("SetBeacon"));
    ASSERT_EQ(beacon.size(), 1);
    EXPECT_EQ(beacon[0].value(QStringLiteral("args")).toArray(),
              (QJsonArray{"QQ0ZZZ", "Beacon by Ferris"}));
    EXPECT_EQ(host.calls(QStringLiteral("EventsEnabled")).size(), 1);

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
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.INI")));
    ASSERT_TRUE(QFile::remove(bin + QStringLiteral("/Ringwarden.LST")));
    ASSERT_TRUE(host.stop());
    ASSERT_TRUE(waitUntil([&] { return ringwarden.state() == QProcess::NotRunning; }, 15000))
        << "Ringwarden did not close with the tracker";
    ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 15000))
        << "the refused copy stayed behind its box";
    EXPECT_EQ(ringwarden.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
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
                         ::testing::Values("DrawCircle:1", "DrawCircle:12", "AlertStation:1"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             QString name = QString::fromLatin1(info.param);
                             return name.replace(QLatin1Char(':'), QLatin1Char('_')).toStdString();
                         });

} // namespace
