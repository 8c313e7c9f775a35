// Guards against an installed program that cannot find its help page, sounds or icon.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/AppPaths.h"

namespace {

class AppPaths : public ::testing::Test {
protected:
    QString make(const QString& relative, bool file = true) {
        const QString path = root.filePath(relative);
        QDir().mkpath(file ? QFileInfo(path).path() : path);
        if (file)
            QFile(path).open(QIODevice::WriteOnly);
        return path;
    }
    QTemporaryDir root;
};

TEST_F(AppPaths, FilesBesideTheProgramWinOverTheShareFolder) {
    make("build/bin/Ringwarden.html");
    make("build/share/ringwarden/Ringwarden.html");
    EXPECT_EQ(installedDataDir(root.filePath("build/bin")), root.filePath("build/bin"));
    make("portable/WAV", false);
    EXPECT_EQ(installedDataDir(root.filePath("portable")), root.filePath("portable"));
}

TEST_F(AppPaths, InstalledProgramFindsShareRingwardenOrFallsBackBesideItself) {
    const QString bin = make("usr/bin", false);
    make("usr/share/ringwarden/Ringwarden.html");
    EXPECT_EQ(installedHelpFile(bin), root.filePath("usr/share/ringwarden/Ringwarden.html"));
    EXPECT_EQ(installedIconFile(bin), root.filePath("usr/share/ringwarden/ringwarden.svg"));
    const QString bare = make("empty/bin", false);
    EXPECT_EQ(installedHelpFile(bare), bare + "/Ringwarden.html");
}

} // namespace
