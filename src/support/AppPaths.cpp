#include "support/AppPaths.h"

#include <QDir>
#include <QFileInfo>

// The install rules set this from GNUInstallDirs; the default matches bin/ and share/.
#ifndef RINGWARDEN_DATA_DIR_FROM_BIN
#define RINGWARDEN_DATA_DIR_FROM_BIN "../share/ringwarden"
#endif

namespace {

bool holdsProgramData(const QString& folder) {
    const QDir dir(folder);
    return QFileInfo::exists(dir.filePath(QStringLiteral("Ringwarden.html"))) ||
           QFileInfo(dir.filePath(QStringLiteral("WAV"))).isDir();
}

} // namespace

QString installedDataDir(const QString& executableDir) {
    if (holdsProgramData(executableDir))
        return executableDir;
    const QString installed = QDir::cleanPath(
        QDir(executableDir).filePath(QString::fromUtf8(RINGWARDEN_DATA_DIR_FROM_BIN)));
    if (holdsProgramData(installed))
        return installed;
    // Neither place holds the files: look beside the executable, where a missing file
    // is reported the way it always was.
    return executableDir;
}

QString installedHelpFile(const QString& executableDir) {
    return QDir(installedDataDir(executableDir)).filePath(QStringLiteral("Ringwarden.html"));
}

QString installedIconFile(const QString& executableDir) {
    return QDir(installedDataDir(executableDir)).filePath(QStringLiteral("ringwarden.svg"));
}
