// The alarm sound: a window frozen for seconds by a sound nobody can hear, or a WAV length
// misread so that the wait is too short or endless.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

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

TEST(WavDuration, fromTheHeaderAndWhatTheFileHolds) {
    const std::pair<QByteArray, std::optional<int>> rows[] = {
        {wavHeader(8000, 4000) + QByteArray(4000, '\0'), 500},
        // A LIST chunk before fmt is stepped over, its odd size padded.
        {wavHeader(8000, 8000, "LIST" + le32(3) + QByteArray("abc\0", 4)) + QByteArray(8000, '\0'),
         1000},
        // A cut file counts what it holds, not what its header promises.
        {wavHeader(8000, 80000000) + QByteArray(800, '\0'), 100},
        {"", std::nullopt},
        {"RIFF", std::nullopt},
        {"no sound at all, only text", std::nullopt},
        {wavHeader(0, 100) + QByteArray(100, '\0'), std::nullopt}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.wav"));
    for (const auto& [bytes, ms] : rows) {
        ASSERT_TRUE(putFile(path, bytes));
        EXPECT_EQ(wavDurationMs(path), ms) << bytes.left(12).toHex().toStdString();
    }
}

// The end of a sound played to its end is told once, from the event loop, also for a sound
// that cannot be heard or is cut short by the next.
TEST(QtSound, waitsOnlyForWhatCanBeHeard) {
    EXPECT_EQ(wavDurationMs(shippedWav(kWavFewStations)), 1200);
    QtSoundPlayer player;
    int ended = 0;
    for (int tick = 0; tick < 3; ++tick) {
        player.playAsync(shippedWav(kWavFewStations));
        player.playToEnd(shippedWav(kWavFewStations), [&] { ++ended; });
        EXPECT_EQ(ended, tick) << "told before returning to the event loop";
        // Nobody hears it: the window is not held.
        EXPECT_EQ(player.lastWaitBoundMs(),
                  QtSoundPlayer::audioOutputAvailable() ? 1200 + 1000 : 0);
        // Within the bound (the end of a sound is told late: 0.5-2 s).
        EXPECT_TRUE(QTest::qWaitFor([&] { return ended == tick + 1; }, 1200 + 1000 + 500));
    }
    player.playToEnd(shippedWav(kWavFewStations), [&] { ++ended; });
    player.playToEnd(QStringLiteral("/nonexistent/missing.wav"), [&] { ++ended; });
    EXPECT_EQ(player.lastWaitBoundMs(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ended == 5; }, 1000));
    QTest::qWait(50);
    EXPECT_EQ(ended, 5);
}

} // namespace
