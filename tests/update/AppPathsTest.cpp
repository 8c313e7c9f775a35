#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/AppPaths.h"

namespace {

void touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

class AppPaths : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return root.filePath(relative); }
    QTemporaryDir root;
};

TEST_F(AppPaths, BuildFolderKeepsEverythingBesideTheProgram) {
    touch(path(QStringLiteral("build/bin/Ringwarden.html")));
    // A share folder next to it must not win over the files beside the program.
    touch(path(QStringLiteral("build/share/ringwarden/Ringwarden.html")));
    EXPECT_EQ(installedDataDir(path(QStringLiteral("build/bin"))),
              path(QStringLiteral("build/bin")));
}

TEST_F(AppPaths, WavFolderAloneMarksAProgramFolder) {
    QDir().mkpath(path(QStringLiteral("portable/WAV")));
    EXPECT_EQ(installedDataDir(path(QStringLiteral("portable"))), path(QStringLiteral("portable")));
}

TEST_F(AppPaths, InstalledProgramFindsShareRingwarden) {
    QDir().mkpath(path(QStringLiteral("usr/bin")));
    touch(path(QStringLiteral("usr/share/ringwarden/Ringwarden.html")));
    const QString bin = path(QStringLiteral("usr/bin"));
    EXPECT_EQ(installedDataDir(bin), path(QStringLiteral("usr/share/ringwarden")));
    EXPECT_EQ(installedHelpFile(bin), path(QStringLiteral("usr/share/ringwarden/Ringwarden.html")));
    EXPECT_EQ(installedIconFile(bin), path(QStringLiteral("usr/share/ringwarden/ringwarden.svg")));
}

TEST_F(AppPaths, NothingAnywhereFallsBackBesideTheProgram) {
    QDir().mkpath(path(QStringLiteral("empty/bin")));
    const QString bin = path(QStringLiteral("empty/bin"));
    EXPECT_EQ(installedDataDir(bin), bin);
    EXPECT_EQ(installedHelpFile(bin), bin + QStringLiteral("/Ringwarden.html"));
}

} // namespace
