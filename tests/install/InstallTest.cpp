// Files missing or misplaced in the install or .deb, broken desktop entries, raw man pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/AppPaths.h"

namespace {

const QString kBuildDir = QStringLiteral(RINGWARDEN_BUILD_DIR);

// Exit code (-1: crashed or did not end) and everything the program wrote.
std::pair<int, QString> run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended =
        process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit;
    return {ended ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

QStringList filesBelow(const QString& root) {
    QStringList files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(root).relativeFilePath(it.next()));
    files.sort();
    return files;
}

// What an install below prefix must hold, and nothing else.
void expectShipped(const QString& prefix) {
    const QStringList shipped =
        QString("bin/Ringwarden bin/kestrel32 share/applications/kestrel32.desktop "
                "share/applications/ringwarden.desktop share/doc/ringwarden/changelog.gz "
                "share/doc/ringwarden/copyright share/icons/hicolor/scalable/apps/kestrel32.svg "
                "share/icons/hicolor/scalable/apps/ringwarden.svg "
                "share/kestrel32/basemap-50m.k32map share/man/man1/Ringwarden.1.gz "
                "share/man/man1/kestrel32.1.gz share/ringwarden/Ringwarden.html "
                "share/ringwarden/WAV/SIREN.WAV share/ringwarden/WAV/rw_gt_4_stations_alarm.wav "
                "share/ringwarden/WAV/rw_le_4_stations_alarm.wav share/ringwarden/ringwarden.svg")
            .split(u' ');
    EXPECT_EQ(filesBelow(prefix), shipped);
    const QDir root(prefix);
    const QString validator = QStandardPaths::findExecutable("desktop-file-validate");
    for (const char* name : {"ringwarden", "kestrel32"}) {
        const QString entry =
            root.filePath(QStringLiteral("share/applications/%1.desktop").arg(name));
        const QSettings keys(entry, QSettings::IniFormat);
        const QString exec = keys.value("Desktop Entry/Exec").toString();
        const QString icon = keys.value("Desktop Entry/Icon").toString();
        const QFileInfo program(root.filePath("bin/" + exec));
        EXPECT_TRUE(program.isFile() && program.isExecutable()) << name;
        EXPECT_FALSE(
            QImage(root.filePath("share/icons/hicolor/scalable/apps/" + icon + ".svg")).isNull())
            << name;
        if (!validator.isEmpty()) {
            const auto [code, said] = run(validator, {entry});
            EXPECT_EQ(code, 0) << name;
            EXPECT_EQ(said.toStdString(), "") << name; // hints too
        }
    }
    for (const char* page : {"Ringwarden.1", "kestrel32.1"}) {
        const auto [code, text] =
            run("gzip", {"-dc", root.filePath(QStringLiteral("share/man/man1/%1.gz").arg(page))});
        EXPECT_EQ(code, 0) << page;
        EXPECT_TRUE(text.startsWith(".TH " + QString(page).chopped(2).toUpper() + " 1 ")) << page;
        EXPECT_FALSE(text.contains(u'@')) << page; // the version was filled in
    }
    QFile copyright(root.filePath("share/doc/ringwarden/copyright"));
    ASSERT_TRUE(copyright.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copyright.readAll().contains("\nLicense: GPL-3+\n"));
}

// The package holds the install's files under /usr, so their contents are checked once.
TEST(Install, PutsEveryFileInItsPlaceAndTheDebianPackageShipsTheSameUnderUsr) {
    QTemporaryDir prefix;
    const auto [code, output] =
        run(RINGWARDEN_CMAKE, {"--install", kBuildDir, "--prefix", prefix.path()});
    ASSERT_EQ(code, 0) << output.toStdString();
    expectShipped(prefix.path());
    const QString bin = prefix.filePath("bin");
    EXPECT_EQ(installedDataDir(bin), prefix.filePath("share/ringwarden"));
    EXPECT_TRUE(QFileInfo(installedHelpFile(bin)).isFile());
    EXPECT_FALSE(QImage(installedIconFile(bin)).isNull());

    const QString dpkgDeb = QStandardPaths::findExecutable("dpkg-deb");
    if (dpkgDeb.isEmpty())
        GTEST_SKIP() << "dpkg-deb is not available";
    QTemporaryDir packaged;
    const auto [packed, log] =
        run(RINGWARDEN_CPACK,
            {"-G", "DEB", "--config", kBuildDir + "/CPackConfig.cmake", "-B", packaged.path()});
    ASSERT_EQ(packed, 0) << log.toStdString();
    const QStringList packages = QDir(packaged.path()).entryList({"ringwarden_*.deb"});
    ASSERT_EQ(packages.size(), 1) << log.toStdString();
    const QString package = packaged.filePath(packages.first());
    ASSERT_EQ(run(dpkgDeb, {"-x", package, packaged.filePath("root")}).first, 0);
    EXPECT_EQ(filesBelow(packaged.filePath("root/usr")), filesBelow(prefix.path()));
    const QString fields = run(dpkgDeb, {"--field", package, "Depends", "Recommends"}).second;
    for (const char* wanted : {"libqt6widgets6", "libqt6network6", "qt6-qpa-plugins", "xdg-utils"})
        EXPECT_TRUE(fields.contains(QString::fromLatin1(wanted)))
            << wanted << " in " << fields.toStdString();
}

} // namespace
