// The program killed (SIGKILL) while it saves the list file: whenever the kill lands, the
// file on disk is one of the two complete versions, never a cut or mixed one.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "TestFiles.h"
#include "lists/ListFile.h"

namespace {

// Two lists of different lengths, so that a file cut anywhere matches neither.
bool saveVersion(const QString& path, char which) {
    QStringList acked;
    for (int i = 0; i < (which == 'A' ? 3000 : 5000); ++i)
        acked << QChar::fromLatin1(which) + QString::number(i).rightJustified(5, u'0');
    const QStringList watch{QStringLiteral("W%1").arg(which), QStringLiteral("LAST%1").arg(which)};
    return SaveLists(path, acked, watch, false);
}

TEST(KilledDuringSave, listFileIsAlwaysOneWholeVersion) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ringwarden.LST"));
    ASSERT_TRUE(saveVersion(path, 'B'));
    const QByteArray versionB = fileBytes(path);
    ASSERT_TRUE(saveVersion(path, 'A')); // on disk when the first save loop starts
    const QByteArray versionA = fileBytes(path);

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    constexpr int kills = 50;
    int sawA = 0;
    int sawB = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            // Saves the two versions in turn until it is killed.
            for (unsigned round = 0; saveVersion(path, round % 2 == 0 ? 'B' : 'A'); ++round) {
            }
            ::_exit(1);
        }
        // A kill at a random moment lands in any stage of a save.
        QThread::usleep(unsigned(random.bounded(20000u)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the loop ended by itself";

        ASSERT_TRUE(QFile::exists(path)) << "kill " << kill << " lost the file";
        const QByteArray bytes = fileBytes(path);
        ASSERT_TRUE(bytes == versionA || bytes == versionB)
            << "kill " << kill << " left " << bytes.size() << " bytes that are neither version";
        (bytes == versionA ? sawA : sawB)++;
    }
    // The kills landed after saves of both versions.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    // What a kill leaves behind is the unfinished new file beside the list: never the list.
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files))
        EXPECT_TRUE(name == QLatin1String("Ringwarden.LST") ||
                    name.startsWith(QLatin1String("Ringwarden.LST.")))
            << name.toStdString();
}

} // namespace
