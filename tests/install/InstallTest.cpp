#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/AppPaths.h"

namespace {

const QString kBuildDir = QStringLiteral(RINGWARDEN_BUILD_DIR);
const QString kSourceDir = QStringLiteral(RINGWARDEN_SOURCE_DIR);

struct ProcessRun {
    int exitCode = -1;
    QString output;
};

ProcessRun run(const QString& program, const QStringList& arguments, int timeoutMs = 240000) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    ProcessRun result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.output = QStringLiteral("did not finish: ") + program;
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromLocal8Bit(process.readAll());
    return result;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Key=value pairs of the [Desktop Entry] group.
QHash<QString, QString> desktopEntry(const QString& path) {
    QHash<QString, QString> entry;
    bool inGroup = false;
    for (const QByteArray& raw : contents(path).split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'['))
            inGroup = line == QStringLiteral("[Desktop Entry]");
        else if (inGroup && line.contains(u'='))
            entry.insert(line.section(u'=', 0, 0), line.section(u'=', 1));
    }
    return entry;
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        prefix = new QTemporaryDir;
        const ProcessRun install =
            run(QStringLiteral(RINGWARDEN_CMAKE), {QStringLiteral("--install"), kBuildDir,
                                                   QStringLiteral("--prefix"), prefix->path()});
        installExitCode = install.exitCode;
        installOutput = install.output;
    }
    static void TearDownTestSuite() {
        delete prefix;
        prefix = nullptr;
    }
    void SetUp() override { ASSERT_EQ(installExitCode, 0) << installOutput.toStdString(); }

    static QString path(const QString& relative) { return prefix->filePath(relative); }

    static inline QTemporaryDir* prefix = nullptr;
    static inline int installExitCode = -1;
    static inline QString installOutput;
};

TEST_F(Installed, ProgramsLandInBin) {
    for (const char* name : {"bin/Ringwarden", "bin/kestrel32"}) {
        const QFileInfo program(path(QString::fromLatin1(name)));
        EXPECT_TRUE(program.isFile()) << name;
        EXPECT_TRUE(program.isExecutable()) << name;
    }
}

TEST_F(Installed, ProgramFindsHelpAndSoundsWhereTheyWereInstalled) {
    const QString bin = path(QStringLiteral("bin"));
    const QString data = path(QStringLiteral("share/ringwarden"));
    EXPECT_EQ(installedDataDir(bin), data);
    EXPECT_EQ(contents(installedHelpFile(bin)),
              contents(kSourceDir + QStringLiteral("/data/Ringwarden.html")));
    for (const char* sound :
         {"rw_le_4_stations_alarm.wav", "rw_gt_4_stations_alarm.wav", "SIREN.WAV"}) {
        const QFileInfo wav(data + QStringLiteral("/WAV/") + QString::fromLatin1(sound));
        EXPECT_TRUE(wav.isFile()) << sound;
        EXPECT_GT(wav.size(), 44) << sound; // more than a WAV header
    }
    EXPECT_FALSE(QImage(installedIconFile(bin)).isNull());
}

TEST_F(Installed, DesktopEntryStartsTheInstalledProgramWithItsIcon) {
    const QString desktopFile = path(QStringLiteral("share/applications/ringwarden.desktop"));
    ASSERT_TRUE(QFileInfo::exists(desktopFile));
    const auto entry = desktopEntry(desktopFile);
    EXPECT_EQ(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(entry.value(QStringLiteral("Name")), QStringLiteral("Ringwarden"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("bin/")) +
                          entry.value(QStringLiteral("Exec")).section(u' ', 0, 0))
                    .isExecutable());
    const QString icon = path(QStringLiteral("share/icons/hicolor/scalable/apps/")) +
                         entry.value(QStringLiteral("Icon")) + QStringLiteral(".svg");
    const QImage picture(icon);
    ASSERT_FALSE(picture.isNull()) << icon.toStdString();
    EXPECT_EQ(picture.width(), picture.height());

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        const ProcessRun validation = run(validator, {desktopFile});
        EXPECT_EQ(validation.exitCode, 0) << validation.output.toStdString();
    }
}

TEST_F(Installed, NothingElseIsInstalled) {
    const QSet<QString> expected{
        QStringLiteral("bin/Ringwarden"),
        QStringLiteral("bin/kestrel32"),
        QStringLiteral("share/ringwarden/Ringwarden.html"),
        QStringLiteral("share/ringwarden/ringwarden.svg"),
        QStringLiteral("share/ringwarden/WAV/rw_le_4_stations_alarm.wav"),
        QStringLiteral("share/ringwarden/WAV/rw_gt_4_stations_alarm.wav"),
        QStringLiteral("share/ringwarden/WAV/SIREN.WAV"),
        QStringLiteral("share/applications/ringwarden.desktop"),
        QStringLiteral("share/icons/hicolor/scalable/apps/ringwarden.svg")};
    QSet<QString> found;
    QDirIterator it(prefix->path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found.insert(QDir(prefix->path()).relativeFilePath(it.next()));
    EXPECT_EQ(found, expected);
}

TEST(DebianPackage, HoldsTheProgramUnderUsrAndDependsOnQt) {
    const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
    if (dpkgDeb.isEmpty())
        GTEST_SKIP() << "dpkg-deb is not available";
    QTemporaryDir output;
    const ProcessRun pack = run(
        QStringLiteral(RINGWARDEN_CPACK),
        {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
         kBuildDir + QStringLiteral("/CPackConfig.cmake"), QStringLiteral("-B"), output.path()});
    ASSERT_EQ(pack.exitCode, 0) << pack.output.toStdString();
    const QStringList packages =
        QDir(output.path()).entryList({QStringLiteral("ringwarden_*.deb")});
    ASSERT_EQ(packages.size(), 1) << pack.output.toStdString();
    const QString package = output.filePath(packages.first());

    const ProcessRun listing = run(dpkgDeb, {QStringLiteral("--contents"), package});
    ASSERT_EQ(listing.exitCode, 0);
    for (const char* file :
         {"./usr/bin/Ringwarden", "./usr/bin/kestrel32", "./usr/share/ringwarden/Ringwarden.html",
          "./usr/share/ringwarden/WAV/SIREN.WAV", "./usr/share/applications/ringwarden.desktop",
          "./usr/share/icons/hicolor/scalable/apps/ringwarden.svg"}) {
        EXPECT_TRUE(listing.output.contains(QString::fromLatin1(file))) << file;
    }

    const ProcessRun depends =
        run(dpkgDeb, {QStringLiteral("--field"), package, QStringLiteral("Depends")});
    ASSERT_EQ(depends.exitCode, 0);
    for (const char* dependency : {"libqt6widgets6", "libqt6network6", "qt6-qpa-plugins"}) {
        EXPECT_TRUE(depends.output.contains(QString::fromLatin1(dependency)))
            << dependency << " in " << depends.output.toStdString();
    }
}

} // namespace
