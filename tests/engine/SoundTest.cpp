#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "engine/AlarmCycle.h"
#include "engine/QtSoundPlayer.h"

namespace {

QString shippedWav(const char* name) {
    return QDir(QStringLiteral(RINGWARDEN_TEST_WAV_DIR)).filePath(QString::fromLatin1(name));
}

TEST(WavDuration, readsTheShippedSounds) {
    EXPECT_EQ(wavDurationMs(shippedWav(kWavFewStations)), 1200);
    EXPECT_EQ(wavDurationMs(shippedWav(kWavManyStations)), 1500);
    EXPECT_EQ(wavDurationMs(shippedWav(kWavSiren)), 2000);
}

class WavFiles : public ::testing::Test {
protected:
    QString write(const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("f%1.wav").arg(++count));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }
    static QByteArray le32(quint32 v) {
        QByteArray b(4, '\0');
        for (int i = 0; i < 4; ++i)
            b[i] = char((v >> (8 * i)) & 0xff);
        return b;
    }
    static QByteArray header(quint32 byteRate, quint32 dataBytes, const QByteArray& extra = {}) {
        QByteArray fmt = QByteArray("\x01\x00\x01\x00", 4) + le32(byteRate / 2) + le32(byteRate) +
                         QByteArray("\x02\x00\x10\x00", 4);
        return "RIFF" + le32(36 + dataBytes) + "WAVE" + extra + "fmt " + le32(16) + fmt + "data" +
               le32(dataBytes);
    }
    QTemporaryDir tmp;
    QDir dir{tmp.path()};
    int count = 0;
};

TEST_F(WavFiles, durationFromTheHeader) {
    EXPECT_EQ(wavDurationMs(write(header(8000, 4000) + QByteArray(4000, '\0'))), 500);
    // A LIST chunk before fmt is stepped over (odd size padded).
    const QByteArray list = "LIST" + le32(3) + "abc" + QByteArray(1, '\0');
    EXPECT_EQ(wavDurationMs(write(header(8000, 8000, list) + QByteArray(8000, '\0'))), 1000);
}

TEST_F(WavFiles, truncatedFileCountsWhatItHolds) {
    EXPECT_EQ(wavDurationMs(write(header(8000, 80000000) + QByteArray(800, '\0'))), 100);
}

TEST_F(WavFiles, whatIsNoWavGivesNothing) {
    EXPECT_FALSE(wavDurationMs(dir.filePath("missing.wav")));
    EXPECT_FALSE(wavDurationMs(write("")));
    EXPECT_FALSE(wavDurationMs(write("RIFF")));
    EXPECT_FALSE(wavDurationMs(write("hello, this is a text file and no sound at all")));
    EXPECT_FALSE(wavDurationMs(write(header(0, 100) + QByteArray(100, '\0'))));
    QByteArray noData = header(8000, 100);
    noData.chop(8);
    EXPECT_FALSE(wavDurationMs(write(noData)));
}

TEST_F(WavFiles, playerReturnsAtOnceForWhatCannotPlay) {
    QtSoundPlayer player;
    // None of these has a length, so none waits; the test would hang if one did.
    player.playToEnd(dir.filePath("missing.wav"));
    EXPECT_EQ(player.lastWaitBoundMs(), 0);
    player.playToEnd(write("junk"));
    EXPECT_EQ(player.lastWaitBoundMs(), 0);
    player.playAsync(dir.filePath("missing.wav"));
}

TEST(QtSound, playToEndReturnsWithoutASoundServer) {
    // With no sound server the effect never reports its end; the bound must end the wait.
    QtSoundPlayer player;
    player.playToEnd(shippedWav(kWavFewStations));
    EXPECT_LE(player.lastWaitBoundMs(), 1200 + 1000);
    player.playAsync(shippedWav(kWavSiren));
}

} // namespace
