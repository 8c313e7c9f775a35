// The spoken alarm's real engine: a speech daemon that is missing or cannot reach a sound
// device must neither take the program down nor leave the spoken alarm waiting for ever, and
// a locale without a voice of its own (C.UTF-8) must not silence it.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QStandardPaths>
#include <QTest>

#include "speech/QtAlarmSpeaker.h"

// The speech daemon that the test wakes (even one that then cannot speak) keeps its logs in
// the runtime folder: the test's own.
TEST(SpokenAlarm, theRealEngineSaysWhenATextIsDoneSpeaksSomeLanguageAndKeepsToTheTestsFolders) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QtAlarmSpeaker speaker;
    bool spoken = false;
    speaker.speak(QStringLiteral("P D 1 A A A, 2.5"), [&] { spoken = true; });
    // Said, failed or given up: the next text may follow.
    EXPECT_TRUE(QTest::qWaitFor([&] { return spoken; }, 15000));
    EXPECT_FALSE(speaker.speaking());
    if (speaker.available()) {
        EXPECT_NE(speaker.speechLocale().language(), QLocale::C);
    }
    if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty())
        GTEST_SKIP() << "no speech-dispatcher";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return QFileInfo(runtime + QStringLiteral("/speech-dispatcher/log")).isDir(); },
        10000));
}
