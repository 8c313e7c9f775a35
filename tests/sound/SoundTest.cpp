// The alarm sound: a window frozen for seconds by a sound nobody can hear, or a WAV length
// misread so that the wait is too short or endless.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "engine/AlarmEngine.h"
#include "sound/QtSoundPlayer.h"

namespace {

QString shippedWav(const char* name) {
    return QDir(QStringLiteral(RINGWARDEN_TEST_WAV_DIR)).filePath(QString::fromLatin1(name));
}

QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = char((v >> (8 * i)) & 0xff);
    return b;
}

QByteArray wavHeader(quint32 byteRate, quint32 dataBytes, const QByteArray& extra = {}) {
    const QByteArray fmt = QByteArray("\x01\x00\x01\x00", 4) + le32(byteRate / 2) + le32(byteRate) +
                           QByteArray("\x02\x00\x10\x00", 4);
    return "RIFF" + le32(36 + dataBytes) + "WAVE" + extra + "fmt " + le32(16) + fmt + "data" +
           le32(dataBytes);
}

struct WavCase {
    QByteArray bytes;
    std::optional<int> ms;
};

class WavDuration : public ::testing::TestWithParam<WavCase> {};

TEST_P(WavDuration, fromTheHeaderAndWhatTheFileHolds) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.wav"));
    ASSERT_TRUE(putFile(path, GetParam().bytes));
    EXPECT_EQ(wavDurationMs(path), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WavDuration,
    ::testing::Values(WavCase{wavHeader(8000, 4000) + QByteArray(4000, '\0'), 500},
                      // A LIST chunk before fmt is stepped over, its odd size padded.
                      WavCase{wavHeader(8000, 8000, "LIST" + le32(3) + QByteArray("abc\0", 4)) +
                                  QByteArray(8000, '\0'),
                              1000},
                      // A cut file counts what it holds, not what its header promises.
                      WavCase{wavHeader(8000, 80000000) + QByteArray(800, '\0'), 100},
                      WavCase{"", std::nullopt}, WavCase{"RIFF", std::nullopt},
                      WavCase{"no sound at all, only text", std::nullopt},
                      WavCase{wavHeader(0, 100) + QByteArray(100, '\0'), std::nullopt}));

TEST(QtSound, waitsOnlyForWhatCanBeHeard) {
    EXPECT_EQ(wavDurationMs(shippedWav(kWavFewStations)), 1200);
    QtSoundPlayer player;
    player.playToEnd(shippedWav(kWavFewStations));
    if (QtSoundPlayer::audioOutputAvailable())
        EXPECT_EQ(player.lastWaitBoundMs(), 1200 + 1000);
    else
        EXPECT_EQ(player.lastWaitBoundMs(), 0); // nobody hears it: the window is not held
    player.playToEnd(QStringLiteral("/nonexistent/missing.wav"));
    EXPECT_EQ(player.lastWaitBoundMs(), 0);
}

// Told at every tick, the warning buries everything else the terminal says.
TEST(QtSound, aMissingAudioDeviceIsToldOnce) {
    static QStringList told;
    told.clear();
    const QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { told << text; });
    QtSoundPlayer player;
    for (int tick = 0; tick < 3; ++tick) {
        player.playAsync(shippedWav(kWavFewStations));
        player.playToEnd(shippedWav(kWavFewStations));
        QCoreApplication::processEvents();
    }
    qInstallMessageHandler(previous);
    const qsizetype count = told.filter(QStringLiteral("No audio device detected")).size();
    EXPECT_EQ(count, QtSoundPlayer::audioOutputAvailable() ? 0 : 1)
        << told.join('\n').toStdString();
}

} // namespace
