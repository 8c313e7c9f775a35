// Guards against a demo whose alarm is not heard, and against its set-up spoiling the
// operator's lists.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestFiles.h"

namespace {

const QString source = QStringLiteral(RINGWARDEN_SOURCE_DIR);

// Runs `commands` in bash with the demo's steps loaded; returns what it printed.
QString runSteps(const QString& commands, const QStringList& arguments = {}) {
    QProcess bash;
    bash.setProcessChannelMode(QProcess::MergedChannels);
    bash.start(QStringLiteral("bash"),
               QStringList{"-c", "source \"$0\"\n" + commands,
                           source + QStringLiteral("/scripts/demo-steps.sh")} +
                   arguments);
    if (!bash.waitForFinished(20000)) {
        bash.kill();
        bash.waitForFinished();
        return QStringLiteral("<hung>");
    }
    return QString::fromLocal8Bit(bash.readAll()) +
           (bash.exitCode() == 0 ? QString() : QStringLiteral("<exit %1>").arg(bash.exitCode()));
}

TEST(DemoWatchList, isSeededOnceAndKeepsTheOperatorsEntries) {
    const struct {
        const char* before; // nullptr: no list file yet
        QByteArray after;
    } rows[] = {
        {nullptr, "EI7WTC|Watched\r\nG0NEW|Watched\r\n"},
        {"", "EI7WTC|Watched\r\nG0NEW|Watched\r\n"},
        // The operator's last line had lost its line end: it keeps a line of its own.
        {"G4CAR|Acknowledged\r\nM0ME|Watched",
         "G4CAR|Acknowledged\r\nM0ME|Watched\r\nEI7WTC|Watched\r\nG0NEW|Watched\r\n"},
        {"EI7WTC|Acknowledged\rX|Watched\r", "EI7WTC|Acknowledged\rX|Watched\rG0NEW|Watched\r\n"},
        {"EI7WTC|Watched\r\nG0NEW|Watched\r\n", "EI7WTC|Watched\r\nG0NEW|Watched\r\n"}};
    for (const auto& row : rows) {
        QTemporaryDir dir;
        const QString watch = dir.filePath("watch.txt"), list = dir.filePath("Ringwarden.LST"),
                      done = dir.filePath("seeded");
        ASSERT_TRUE(putFile(watch, "EI7WTC\r\n\nG0NEW"));
        if (row.before) {
            ASSERT_TRUE(putFile(list, row.before));
        }
        const QString seed = QStringLiteral("seed_watch_list \"$1\" \"$2\" \"$3\"");
        EXPECT_EQ(runSteps(seed, {watch, list, done}), QString());
        EXPECT_EQ(fileBytes(list), row.after) << (row.before ? row.before : "(none)");
        // Taken off the list by the operator, a station is not put back by the next demo.
        ASSERT_TRUE(putFile(list, "M0ME|Watched\r\n"));
        EXPECT_EQ(runSteps(seed, {watch, list, done}), QString());
        EXPECT_EQ(fileBytes(list), QByteArray("M0ME|Watched\r\n"));
    }
}

// In the test's own runtime folder (see the test main), where no server runs.
TEST(DemoSound, aSoundServerIsStartedWhenNoneAnswersAndStoppedAfter) {
    if (QStandardPaths::findExecutable("pulseaudio").isEmpty() ||
        QStandardPaths::findExecutable("pactl").isEmpty())
        GTEST_SKIP() << "no PulseAudio (scripts/install-deps.sh run)";
    ASSERT_EQ(runSteps("pactl info >/dev/null 2>&1 || echo none"), QStringLiteral("none\n"))
        << "a sound server answers in the test's own runtime folder";
    EXPECT_EQ(
        runSteps("start_sound_server\n"
                 "pactl info >/dev/null 2>&1 && echo answers\n"
                 "stop_sound_server\n"
                 "for i in $(seq 50); do pactl info >/dev/null 2>&1 || break; sleep 0.1; done\n"
                 "pactl info >/dev/null 2>&1 || echo gone"),
        QStringLiteral("answers\ngone\n"));
}

} // namespace
