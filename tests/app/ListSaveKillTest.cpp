// The program killed (SIGKILL) while it saves the list file: whenever the kill lands, the
// file on disk is one of the two complete versions, never a cut or mixed one.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "SaveLoopLists.h"
#include "TestFiles.h"
#include "lists/ListFile.h"

namespace {

TEST(KilledDuringSave, listFileIsAlwaysOneWholeVersion) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Ringwarden.LST"));
    const auto save = [&path](char which) {
        const SaveLoopLists lists = SaveLoopLists::of(which);
        EXPECT_TRUE(SaveLists(path, lists.acked, lists.watch, false));
        return fileBytes(path);
    };
    const QByteArray versionB = save('B');
    const QByteArray versionA = save('A'); // on disk when the first save loop starts

    const quint32 seed = QRandomGenerator::global()->generate();
    QRandomGenerator random(seed);
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    constexpr int kills = 50;
    int sawA = 0;
    int sawB = 0;
    for (int kill = 0; kill < kills; ++kill) {
        QProcess saver;
        saver.start(QStringLiteral(FAULTS_SAVE_LOOP), {path});
        // Let one to three saves complete, then land anywhere within the next one (as long
        // as the last one took), so that kills find both versions and every stage between.
        const int saves = 1 + int(random.bounded(3));
        int saved = 0;
        qint64 saveUs = 1000;
        QElapsedTimer sinceLast;
        sinceLast.start();
        while (saved < saves) {
            ASSERT_TRUE(saver.waitForReadyRead(10000)) << "the save loop stopped saving";
            while (saver.canReadLine()) {
                saver.readLine();
                ++saved;
                saveUs = std::max<qint64>(100, sinceLast.nsecsElapsed() / 1000);
                sinceLast.restart();
            }
        }
        QThread::usleep(unsigned(random.bounded(quint32(saveUs))));
        ::kill(pid_t(saver.processId()), SIGKILL);
        ASSERT_TRUE(saver.waitForFinished(10000));
        ASSERT_EQ(saver.exitStatus(), QProcess::CrashExit) << "the loop ended by itself";

        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "kill " << kill << " lost the file";
        const QByteArray bytes = file.readAll();
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
