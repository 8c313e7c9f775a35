#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "LinkTestUtil.h"
#include "feed/KissTcpClient.h"
#ifdef FEED_TEST_WITH_HOST
#include <cmath>

#include "HostCore.h"
#include "feed/RadioFeed.h"
#endif

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

// A Dire Wolf fed on standard input, with its KISS port on 127.0.0.1, and the audio of
// the test packets ready to be written.
class DireWolfTest : public testing::Test {
protected:
    void SetUp() override {
        m_direwolf = QStandardPaths::findExecutable(QStringLiteral("direwolf"));
        const QString genPackets = QStandardPaths::findExecutable(QStringLiteral("gen_packets"));
        if (m_direwolf.isEmpty() || genPackets.isEmpty())
            GTEST_SKIP() << "direwolf is not installed (Debian package direwolf)";
        ASSERT_TRUE(m_dir.isValid());
        const QByteArray silence(44100 / 2 * 2, '\0'); // half a second of 16-bit mono
        for (const AirPacket& p : Packets) {
            QString error;
            const QByteArray samples = audioOf(genPackets, m_dir.path(), p.line, error);
            ASSERT_FALSE(samples.isEmpty()) << error.toStdString();
            m_audio += silence + samples;
        }
        m_audio += silence;

        m_port = freePort();
        QFile conf(m_dir.filePath(QStringLiteral("direwolf.conf")));
        ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
        conf.write(QStringLiteral("ADEVICE stdin null\nARATE 44100\nACHANNELS 1\nCHANNEL 0\n"
                                  "MYCALL N0CALL\nMODEM 1200\nAGWPORT 0\nKISSPORT %1\n")
                       .arg(m_port)
                       .toLatin1());
        conf.close();
        m_modem.setWorkingDirectory(m_dir.path());
        m_modem.setProcessChannelMode(QProcess::MergedChannels);
        m_modem.start(m_direwolf, {QStringLiteral("-c"), conf.fileName(), QStringLiteral("-t"),
                                   QStringLiteral("0"), QStringLiteral("-")});
        ASSERT_TRUE(m_modem.waitForStarted(10000));
    }

    void TearDown() override {
        if (m_modem.state() != QProcess::NotRunning) {
            m_modem.kill();
            m_modem.waitForFinished(5000);
        }
    }

    // KISS keeps no history: the client must be on the port before this.
    void playAudio() {
        m_modem.write(m_audio);
        m_modem.closeWriteChannel();
    }
    std::string modemOutput() { return QString::fromLocal8Bit(m_modem.readAll()).toStdString(); }

    QString m_direwolf;
    QTemporaryDir m_dir;
    QByteArray m_audio;
    quint16 m_port = 0;
    QProcess m_modem;
};

TEST_F(DireWolfTest, PacketsFromRealAudioReachTheClientWithTheirPositions) {
    feed::KissTcpClient client;
    client.setReconnectDelays(100, 500);
    LinkRecorder seen(client);
    ASSERT_TRUE(client.start(QStringLiteral("127.0.0.1"), m_port));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return client.state() == feed::FeedLink::State::Connected; }, 20000))
        << client.stateText().toStdString() << "\n"
        << modemOutput();

    playAudio();
    (void)QTest::qWaitFor([&] { return seen.reports.size() == Packets.size(); }, 30000);
    m_modem.waitForFinished(10000);

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

#ifdef FEED_TEST_WITH_HOST
// Great-circle kilometres at 111.12 km a degree, worked out here on its own (haversine).
double kmBetween(double lat1, double lon1, double lat2, double lon2) {
    const double rad = M_PI / 180.0;
    const double a = std::pow(std::sin((lat2 - lat1) * rad / 2), 2) +
                     std::cos(lat1 * rad) * std::cos(lat2 * rad) *
                         std::pow(std::sin((lon2 - lon1) * rad / 2), 2);
    return 2 * std::asin(std::sqrt(a)) / rad * 111.12;
}

TEST_F(DireWolfTest, EveryStationAppearsInTheHostListWithItsPositionAndDistance) {
    Scenario scenario;
    scenario.ownCallsign = QStringLiteral("OWN0");
    scenario.ownLat = 49.0;
    scenario.ownLon = -72.0;
    HostCore core(std::move(scenario));
    feed::FeedOptions options;
    options.kissHost = QStringLiteral("127.0.0.1");
    options.kissPort = m_port;
    RadioFeed radio(options, core);
    radio.kiss()->setReconnectDelays(100, 500);
    QStringList events;
    core.setEventsEnabled(1);
    QObject::connect(&core, &HostCore::hostEvent, &core,
                     [&](const QString& name, const QVariantList&) { events << name; });
    QString error;
    ASSERT_TRUE(radio.start(&error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return radio.kiss()->state() == feed::FeedLink::State::Connected; }, 20000))
        << radio.statusText().toStdString() << "\n"
        << modemOutput();
    EXPECT_EQ(radio.statusText(), QStringLiteral("KISS 127.0.0.1:%1: connected").arg(m_port));

    playAudio();
    (void)QTest::qWaitFor([&] { return core.store().count() == 1 + Packets.size(); }, 30000);
    m_modem.waitForFinished(10000);

    ASSERT_EQ(core.store().count(), 1 + Packets.size()) << modemOutput();
    for (int i = 0; i < Packets.size(); ++i) {
        const AirPacket& p = Packets[i];
        EXPECT_TRUE(core.stationListItem(i + 1).startsWith(QStringLiteral("#") + p.name + " "))
            << core.stationListItem(i + 1).toStdString();
        const std::optional<StationFix> fix = core.getStation(p.name);
        ASSERT_TRUE(fix.has_value()) << p.name.toStdString();
        EXPECT_NEAR(fix->latitudeMinutes, p.latitude * 60.0, 6e-3) << p.name.toStdString();
        EXPECT_NEAR(fix->longitudeMinutes, p.longitude * 60.0, 6e-3) << p.name.toStdString();
        const double km = kmBetween(49.0, -72.0, p.latitude, p.longitude);
        EXPECT_NEAR(fix->distance, km, 0.01 + km * 1e-6) << p.name.toStdString();
    }
    EXPECT_EQ(events.count(QStringLiteral("NotifyBeacon")), Packets.size());
    EXPECT_EQ(events.count(QStringLiteral("DataAvailable")), Packets.size());
}
#endif

} // namespace
