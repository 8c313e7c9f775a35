#include "app/Startup.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "support/AppPaths.h"

namespace {

bool folderIsWritable(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

} // namespace

QString lockPath(const QString& lockFolder, const QString& executablePath) {
    const QByteArray key =
        QCryptographicHash::hash(QFileInfo(executablePath).absoluteFilePath().toUtf8(),
                                 QCryptographicHash::Sha1)
            .toHex()
            .left(16);
    return QDir(lockFolder)
        .filePath(QStringLiteral("ringwarden-") + QString::fromLatin1(key) +
                  QStringLiteral(".lock"));
}

ProgramFiles programFiles(const QString& executablePath, const QString& fallbackConfigFolder) {
    const QFileInfo executable(executablePath);
    ProgramFiles files;
    files.folder = executable.absolutePath() + QLatin1Char('/');
    files.baseName = executable.completeBaseName();
    QString dataFolder = files.folder;
    // An installed program (its data in share/, or a folder it may not write) keeps the
    // operator's files in the configuration folder, even when run by root.
    const bool installed = installedDataDir(executable.absolutePath()) != executable.absolutePath();
    if ((installed || !folderIsWritable(files.folder)) && !fallbackConfigFolder.isEmpty()) {
        QDir().mkpath(fallbackConfigFolder);
        dataFolder = QDir(fallbackConfigFolder).absolutePath() + QLatin1Char('/');
    }
    files.iniFile = dataFolder + files.baseName + QStringLiteral(".INI");
    files.listFile = dataFolder + files.baseName + QStringLiteral(".LST");
    // An installed program finds its help page and sounds where they were installed.
    files.helpFile = installedHelpFile(executable.absolutePath());
    files.wavFolder = installedDataDir(executable.absolutePath()) + QStringLiteral("/WAV");
    return files;
}

StartupEnvironment defaultStartupEnvironment() {
    StartupEnvironment env;
    env.executablePath = QCoreApplication::applicationFilePath();
    env.fallbackConfigFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty()) {
        runtime = QDir::temp().filePath(QStringLiteral("ringwarden-locks"));
        QDir().mkpath(runtime);
    }
    env.lockFolder = runtime;
    return env;
}
