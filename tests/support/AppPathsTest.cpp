// Guards against an installed program that cannot find its help page, sounds or icon.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/AppPaths.h"

TEST(AppPaths, FilesBesideTheProgramWinThenShareRingwardenThenBesideItselfAgain) {
    QTemporaryDir root;
    for (const char* file :
         {"build/bin/Ringwarden.html", "build/share/ringwarden/Ringwarden.html", "portable/WAV/",
          "usr/bin/", "usr/share/ringwarden/Ringwarden.html", "empty/bin/"}) {
        const QString path = root.filePath(QString::fromLatin1(file));
        QDir().mkpath(QFileInfo(path).path());
        QFile(path).open(QIODevice::WriteOnly); // a folder's trailing slash opens nothing
    }
    EXPECT_EQ(installedDataDir(root.filePath("build/bin")), root.filePath("build/bin"));
    EXPECT_EQ(installedDataDir(root.filePath("portable")), root.filePath("portable"));
    const QString bin = root.filePath("usr/bin");
    EXPECT_EQ(installedHelpFile(bin), root.filePath("usr/share/ringwarden/Ringwarden.html"));
    EXPECT_EQ(installedIconFile(bin), root.filePath("usr/share/ringwarden/ringwarden.svg"));
    EXPECT_EQ(installedHelpFile(root.filePath("empty/bin")),
              root.filePath("empty/bin/Ringwarden.html"));
}
