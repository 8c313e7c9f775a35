// Files missing or misplaced in the install or .deb, broken desktop entries, raw man pages.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
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
    QStringList shipped =
        QString("bin/Ringwarden bin/kestrel32 share/applications/kestrel32.desktop "
                "share/applications/ringwarden.desktop share/doc/ringwarden/changelog.gz "
                "share/doc/ringwarden/copyright share/icons/hicolor/scalable/apps/kestrel32.svg "
                "share/icons/hicolor/scalable/apps/ringwarden.svg share/man/man1/Ringwarden.1.gz "
                "share/kestrel32/basemap-50m.k32map share/man/man1/kestrel32.1.gz "
                "share/metainfo/org.example.ringwarden.Kestrel32.metainfo.xml "
                "share/metainfo/org.example.ringwarden.Ringwarden.metainfo.xml "
                "share/ringwarden/Ringwarden.html "
                "share/ringwarden/WAV/SIREN.WAV share/ringwarden/WAV/rw_gt_4_stations_alarm.wav "
                "share/ringwarden/WAV/rw_le_4_stations_alarm.wav share/ringwarden/ringwarden.svg")
            .split(u' ');
    for (const int size : {48, 64, 128, 256})
        for (const char* name : {"kestrel32", "ringwarden"})
            shipped << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(name);
    shipped.sort();
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
        EXPECT_FALSE(keys.value("Desktop Entry/Name").toString().contains("stand-in")) << name;
        if (!validator.isEmpty()) {
            const auto [code, said] = run(validator, {entry});
            EXPECT_EQ(code, 0) << name;
            EXPECT_EQ(said.toStdString(), "") << name; // hints too
        }
    }
    // Each man page lists every option its program's --help lists, and both programs answer
    // --help and --version with exit code 0 (without a display).
    for (const char* program : {"Ringwarden", "kestrel32"}) {
        const QString page = QString::fromLatin1(program) + QStringLiteral(".1");
        const auto [code, text] =
            run("gzip", {"-dc", root.filePath(QStringLiteral("share/man/man1/%1.gz").arg(page))});
        EXPECT_EQ(code, 0) << page.toStdString();
        EXPECT_TRUE(text.startsWith(".TH " + page.chopped(2).toUpper() + " 1 ")) << program;
        EXPECT_FALSE(text.contains(u'@')) << program; // the version was filled in
        const QString man = QString(text).replace(QStringLiteral("\\-"), QStringLiteral("-"));
        const auto [helped, help] =
            run(root.filePath(QStringLiteral("bin/") + program), {"--help"});
        EXPECT_EQ(helped, 0) << program;
        static const QRegularExpression option(QStringLiteral("(?:^|[ ,])(--[a-z][a-z-]*)"),
                                               QRegularExpression::MultilineOption);
        int options = 0;
        for (const QRegularExpressionMatch& m : option.globalMatch(help)) {
            ++options;
            EXPECT_TRUE(man.contains(m.captured(1)))
                << program << " man page lacks " << m.captured(1).toStdString();
        }
        EXPECT_GE(options, 2) << help.toStdString();
        const auto [versioned, version] =
            run(root.filePath(QStringLiteral("bin/") + program), {"--version"});
        EXPECT_EQ(versioned, 0) << program;
        EXPECT_TRUE(version.contains(QStringLiteral(RINGWARDEN_VERSION))) << version.toStdString();
        EXPECT_FALSE((help + man).contains("stand-in")) << program;
    }
    // AppStream metainfo as software centres read it.
    const QString appstream = QStandardPaths::findExecutable("appstreamcli");
    ASSERT_FALSE(appstream.isEmpty()) << "appstreamcli (package appstream) is not installed";
    for (const char* id :
         {"org.example.ringwarden.Ringwarden", "org.example.ringwarden.Kestrel32"}) {
        const auto [code, said] = run(
            appstream, {"validate", "--no-net", "--explain",
                        root.filePath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(id))});
        EXPECT_EQ(code, 0) << said.toStdString();
    }
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
    for (const char* wanted : {"libqt6widgets6", "libqt6network6", "qt6-qpa-plugins", "xdg-utils",
                               "qt6-speech-speechd-plugin"})
        EXPECT_TRUE(fields.contains(QString::fromLatin1(wanted)))
            << wanted << " in " << fields.toStdString();
}

} // namespace
