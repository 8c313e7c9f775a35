#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "LinkTestUtil.h"
#include "feed/KissTcpClient.h"

namespace {

struct AirPacket {
    QByteArray line;
    QString name;
    double latitude;
    double longitude;
};

const QList<AirPacket> Packets = {
    {"N0CALL-1>APRS,WIDE1-1:!4903.50N/07201.75W-Test 001234", "N0CALL-1", 49.058333, -72.029167},
    {"N0CALL-2>APRS:@092345z3351.23S\\15112.34E&", "N0CALL-2", -33.853833, 151.205667},
    {"N0CALL-3>APRS:=/5L!!<*e7>7P[", "N0CALL-3", 49.5, -72.75},
    {"N0CALL-4>S32UVT:`(_fn\"O>/", "N0CALL-4", 33.0 + 25.64 / 60.0, -(112.0 + 7.74 / 60.0)},
    {"N0CALL-5>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036", "LEADER", 49.058333, -72.029167},
    {"N0CALL-6>APRS:)AID#2!49  .  N/072  .  WA", "AID#2", 49.5, -72.5},
};

// The samples of a WAV file: the payload of its "data" chunk.
QByteArray wavSamples(const QByteArray& wav) {
    int at = 12; // "RIFF", size, "WAVE"
    while (at + 8 <= wav.size()) {
        const QByteArray id = wav.mid(at, 4);
        const auto* p = reinterpret_cast<const uchar*>(wav.constData() + at + 4);
        const int size = p[0] | (p[1] << 8) | (p[2] << 16) | (p[3] << 24);
        if (id == "data")
            return wav.mid(at + 8, size);
        at += 8 + size + (size & 1);
    }
    return {};
}

// AFSK audio of one packet, made by gen_packets (the packet on standard input, no line end).
QByteArray audioOf(const QString& genPackets, const QString& folder, const QByteArray& packet,
                   QString& error) {
    const QString wav = folder + QStringLiteral("/packet.wav");
    QFile::remove(wav);
    QProcess gen;
    gen.start(genPackets, {QStringLiteral("-r"), QStringLiteral("44100"), QStringLiteral("-o"), wav,
                           QStringLiteral("-")});
    if (!gen.waitForStarted(10000)) {
        error = QStringLiteral("gen_packets did not start");
        return {};
    }
    gen.write(packet);
    gen.closeWriteChannel();
    if (!gen.waitForFinished(30000) || gen.exitCode() != 0) {
        error = QStringLiteral("gen_packets failed: ") + QString::fromLocal8Bit(gen.readAll());
        return {};
    }
    QFile file(wav);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("no audio from gen_packets");
        return {};
    }
    return wavSamples(file.readAll());
}

TEST(DireWolf, PacketsFromRealAudioReachTheClientWithTheirPositions) {
    const QString direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
    const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
    if (direwolf.isEmpty() || genPackets.isEmpty())
        GTEST_SKIP() << "direwolf is not installed (Debian package direwolf)";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QByteArray audio;
    const QByteArray silence(44100 / 2 * 2, '\0'); // half a second of 16-bit mono
    for (const AirPacket& p : Packets) {
        QString error;
        const QByteArray samples = audioOf(genPackets, dir.path(), p.line, error);
        ASSERT_FALSE(samples.isEmpty()) << error.toStdString();
        audio += silence + samples;
    }
    audio += silence;

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
    modem.start(direwolf, {QStringLiteral("-c"), conf.fileName(), QStringLiteral("-t"),
                           QStringLiteral("0"), QStringLiteral("-")});
    ASSERT_TRUE(modem.waitForStarted(10000));
    auto modemOutput = [&] { return QString::fromLocal8Bit(modem.readAll()).toStdString(); };

    // KISS keeps no history: the client must be on the port before the audio goes in.
    feed::KissTcpClient client;
    client.setReconnectDelays(100, 500);
    LinkRecorder seen(client);
    ASSERT_TRUE(client.start(QStringLiteral("127.0.0.1"), port));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client.state() == feed::FeedLink::State::Connected; }, 20000))
        << client.stateText().toStdString() << "\n"
        << modemOutput();

    modem.write(audio);
    modem.closeWriteChannel();
    (void)QTest::qWaitFor([&] { return seen.reports.size() == Packets.size(); }, 30000);
    modem.waitForFinished(10000);

    ASSERT_EQ(seen.reports.size(), Packets.size())
        << "rejected: " << seen.rejections.join(QStringLiteral(", ")).toStdString() << "\n"
        << modemOutput();
    for (int i = 0; i < Packets.size(); ++i) {
        const feed::PositionReport& r = seen.reports[i];
        EXPECT_EQ(r.name, Packets[i].name) << i;
        EXPECT_NEAR(r.latitude, Packets[i].latitude, 1e-4) << r.name.toStdString();
        EXPECT_NEAR(r.longitude, Packets[i].longitude, 1e-4) << r.name.toStdString();
    }
    EXPECT_EQ(client.counters().rejected(), 0u);
}

} // namespace
