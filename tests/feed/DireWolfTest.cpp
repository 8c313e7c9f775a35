// Guards against packets that a real modem decodes from real audio never reaching the
// tracker's list, or reaching it in the wrong place: Dire Wolf fed AFSK made by gen_packets.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "FeedTestUtil.h"
#include "HostCore.h"
#include "feed/KissTcpClient.h"
#include "feed/RadioFeed.h"

namespace {

struct AirPacket {
    QByteArray line;
    QString name;
    double latitude;
    double longitude;
};

const QList<AirPacket> packets = {
    {"N0CALL-1>APRS,WIDE1-1:!4903.50N/07201.75W-Test 001234", "N0CALL-1", 49.058333, -72.029167},
    {"N0CALL-3>APRS:=/5L!!<*e7>7P[", "N0CALL-3", 49.5, -72.75},
    {"N0CALL-4>S32UVT:`(_fn\"O>/", "N0CALL-4", 33.0 + 25.64 / 60.0, -(112.0 + 7.74 / 60.0)},
    {"N0CALL-5>APRS:;LEADER   *092345z3351.23S\\15112.34E&", "LEADER", -33.853833, 151.205667},
};

// The samples of gen_packets' WAV output: its "data" chunk.
QByteArray wavSamples(const QByteArray& wav) {
    for (int at = 12; at + 8 <= wav.size();) {
        const auto* p = reinterpret_cast<const uchar*>(wav.constData() + at + 4);
        const int size = p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
        if (wav.mid(at, 4) == "data")
            return wav.mid(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return {};
}

TEST(DireWolf, stationsFromRealAudioJoinTheTrackersListWithTheirPositions) {
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    if (direwolf.isEmpty() || genPackets.isEmpty())
        GTEST_SKIP() << "direwolf is not installed (Debian package direwolf)";
    QTemporaryDir dir;
    const QByteArray silence(44100, '\0'); // half a second of 16-bit mono
    QByteArray audio = silence;
    const QString wav = dir.filePath(QStringLiteral("packet.wav"));
    for (const AirPacket& p : packets) {
        QProcess gen;
        gen.start(genPackets, {"-r", "44100", "-o", wav, "-"});
        gen.write(p.line);
        gen.closeWriteChannel();
        ASSERT_TRUE(gen.waitForFinished(30000) && gen.exitCode() == 0) << gen.readAll().data();
        QFile file(wav);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        audio += wavSamples(file.readAll()) + silence;
    }
    const quint16 port = freePort();
    QFile conf(dir.filePath(QStringLiteral("direwolf.conf")));
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write(QStringLiteral("ADEVICE stdin null\nARATE 44100\nACHANNELS 1\nCHANNEL 0\n"
                              "MYCALL N0CALL\nMODEM 1200\nAGWPORT 0\nKISSPORT %1\n")
                   .arg(port)
                   .toLatin1());
    conf.close();
    QProcess modem;
    modem.setWorkingDirectory(dir.path());
    modem.setProcessChannelMode(QProcess::MergedChannels);
    modem.start(direwolf, {"-c", conf.fileName(), "-t", "0", "-"});
    ASSERT_TRUE(modem.waitForStarted(10000));

    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("OWN0");
    scenario.ownLat = 49.0;
    scenario.ownLon = -72.0;
    HostCore core(std::move(scenario));
    feed::FeedOptions options;
    options.kissHost = QStringLiteral("127.0.0.1");
    options.kissPort = port;
    RadioFeed radio(options, core);
    radio.kiss()->setReconnectDelays(100, 500);
    QString error;
    ASSERT_TRUE(radio.start(&error)) << error.toStdString();
    // KISS keeps no history: the client must be on the port before the audio plays.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return radio.kiss()->state() == feed::FeedLink::State::Connected; }, 20000))
        << radio.statusText().toStdString() << "\n"
        << modem.readAll().data();
    modem.write(audio);
    modem.closeWriteChannel();
    ASSERT_TRUE(QTest::qWaitFor([&] { return core.store().count() == 1 + packets.size(); }, 30000))
        << modem.readAll().data();
    for (int i = 0; i < packets.size(); ++i) {
        const AirPacket& p = packets[i];
        EXPECT_TRUE(core.stationListItem(i + 1).startsWith("#" + p.name + " "))
            << core.stationListItem(i + 1).toStdString();
        const std::optional<StationFix> fix = core.getStation(p.name);
        ASSERT_TRUE(fix.has_value()) << p.name.toStdString();
        EXPECT_NEAR(fix->latitudeMinutes, p.latitude * 60.0, 6e-3) << p.name.toStdString();
        EXPECT_NEAR(fix->longitudeMinutes, p.longitude * 60.0, 6e-3) << p.name.toStdString();
    }
    EXPECT_EQ(radio.kiss()->counters().rejected(), 0u);
    modem.kill();
    modem.waitForFinished(5000);
}

} // namespace
