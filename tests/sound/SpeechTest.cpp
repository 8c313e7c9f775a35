// The spoken alarm's real engine: a speech daemon that is missing or cannot reach a sound
// device must neither take the program down nor pile texts up behind a voice never heard.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include "speech/QtAlarmSpeaker.h"

TEST(SpokenAlarm, theRealEngineIsAskedAndTextsWaitTheirTurn) {
    QtAlarmSpeaker speaker;
    const bool available = speaker.available();
    speaker.say(QStringLiteral("P D 1 A A A, 2.5"));
    speaker.say(QStringLiteral("G 4 C A R, 1.2"));
    // Without an engine nothing is kept; with one, the second text waits behind the first.
    EXPECT_LE(speaker.queued(), available ? 1 : 0);
}

// The speech daemon that a test wakes (even one that then cannot speak) keeps its logs in the
// runtime folder: the test's own.
TEST(SpokenAlarm, theSpeechDaemonKeepsItsFilesInTheTestsFolders) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    EXPECT_TRUE(runtime.startsWith(QDir::homePath() + QLatin1Char('/')) &&
                QDir::homePath().startsWith(QDir::tempPath() + QLatin1Char('/')))
        << runtime.toStdString() << " in " << QDir::homePath().toStdString();
    if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty())
        GTEST_SKIP() << "no speech-dispatcher";
    QtAlarmSpeaker speaker;
    speaker.say(QStringLiteral("G 4 C A R, 1.2"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo(runtime + QStringLiteral("/speech-dispatcher/log")).isDir(); },
        10000));
}
