#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "HostFiles.h"

namespace {

// Settings paths are fixed on first use: point them at a private folder before main.
struct PrivateSettingsHome {
    PrivateSettingsHome() {
        qputenv("XDG_CONFIG_HOME", QByteArray(dir.path().toLocal8Bit() + "/config"));
        qputenv("XDG_DATA_HOME", QByteArray(dir.path().toLocal8Bit() + "/data"));
        qputenv("HOME", dir.path().toLocal8Bit());
    }
    QTemporaryDir dir;
} const privateHome;

QByteArray readAll(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct ProfileCase {
    const char* before;
    const char* value; // nullptr: remove
    const char* after;
};

void PrintTo(const ProfileCase& c, std::ostream* os) {
    *os << (c.value ? c.value : "(remove)") << " into "
        << QByteArray(c.before).toPercentEncoding().constData();
}

class ProfileValue : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileValue, changesOnlyTheOneLine) {
    const ProfileCase& c = GetParam();
    const std::optional<QString> value =
        c.value ? std::optional<QString>(QString::fromLatin1(c.value)) : std::nullopt;
    EXPECT_EQ(hostfiles::withProfileValue(c.before, QStringLiteral("STATION"),
                                          QStringLiteral("CALLSIGN"), value),
              QByteArray(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    , ProfileValue,
    ::testing::Values(
        ProfileCase{"", "G0OWN", "[STATION]\r\nCALLSIGN=G0OWN\r\n"},
        // Other sections, keys, comments and the line ends stay byte for byte.
        ProfileCase{"[MAP]\r\nZOOM=3\r\n[station]\r\ncallsign = OLD \r\nQRA=IO92\r\n", "G0OWN",
                    "[MAP]\r\nZOOM=3\r\n[station]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"},
        ProfileCase{"[STATION]\nQRA=IO92\n\n[MAP]\nZOOM=3\n", "G0OWN",
                    "[STATION]\nQRA=IO92\nCALLSIGN=G0OWN\n\n[MAP]\nZOOM=3\n"},
        ProfileCase{"[MAP]\r\nZOOM=3", "X1", "[MAP]\r\nZOOM=3\r\n[STATION]\r\nCALLSIGN=X1\r\n"},
        // A CALLSIGN in another section is not ours.
        ProfileCase{"[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\n", "B",
                    "[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\nCALLSIGN=B\r\n"},
        ProfileCase{"[STATION]\r\nCALLSIGN=OLD\r\nQRA=X\r\n", nullptr, "[STATION]\r\nQRA=X\r\n"},
        ProfileCase{"[STATION]\r\nQRA=X\r\n", nullptr, "[STATION]\r\nQRA=X\r\n"}));

class FolderTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
};

TEST_F(FolderTest, iniIsCreatedAndLaterRewrittenKeepingOtherKeys) {
    hostfiles::writeHostIni(dir.path(), QStringLiteral("G0OWN"));
    const QString ini = dir.path() + QStringLiteral("/kestrel32.ini");
    EXPECT_EQ(readAll(ini), QByteArray("[STATION]\r\nCALLSIGN=G0OWN\r\n"));
    writeAll(ini, "[STATION]\r\nCALLSIGN=G0OWN\r\nUNITS=km\r\n[COMMS]\r\nPORT=3\r\n");
    hostfiles::writeHostIni(dir.path(), QStringLiteral("M0NEW"));
    EXPECT_EQ(readAll(ini),
              QByteArray("[STATION]\r\nCALLSIGN=M0NEW\r\nUNITS=km\r\n[COMMS]\r\nPORT=3\r\n"));
}

TEST_F(FolderTest, noOwnCallsignLeavesNoKey) {
    const QString ini = dir.path() + QStringLiteral("/kestrel32.ini");
    writeAll(ini, "[STATION]\r\nCALLSIGN=STALE\r\n");
    hostfiles::writeHostIni(dir.path(), QString());
    EXPECT_EQ(readAll(ini), QByteArray("[STATION]\r\n"));
}

TEST_F(FolderTest, unwritableFolderIsReported) {
    EXPECT_THROW(
        hostfiles::writeHostIni(dir.path() + QStringLiteral("/missing/sub"), QStringLiteral("A")),
        HostFileError);
}

TEST_F(FolderTest, overlaysAreLatin1WithCrLfAndOtherFilesStay) {
    QDir(dir.path()).mkpath(QStringLiteral("overlays"));
    writeAll(dir.path() + QStringLiteral("/overlays/mine.pos"), "keep me\r\n");
    hostfiles::writeOverlays(dir.path(),
                             {OverlayFile{QStringLiteral("town.pos"),
                                          {QStringLiteral("Church"), QString::fromUtf8("café")}},
                              OverlayFile{QStringLiteral("empty.pos"), {}}});
    EXPECT_EQ(readAll(dir.path() + QStringLiteral("/overlays/town.pos")),
              QByteArray("Church\r\ncaf\xe9\r\n"));
    EXPECT_EQ(readAll(dir.path() + QStringLiteral("/overlays/empty.pos")), QByteArray());
    EXPECT_EQ(readAll(dir.path() + QStringLiteral("/overlays/mine.pos")),
              QByteArray("keep me\r\n"));
}

TEST_F(FolderTest, programFolderGoesToTheNativeStoreWithASlash) {
    hostfiles::recordProgramFolder(dir.path());
    const QString file =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Brightmoor/Kestrel32.conf");
    ASSERT_TRUE(QFile::exists(file)) << file.toStdString();
    QSettings settings(QStringLiteral("Brightmoor"), QStringLiteral("Kestrel32"));
    EXPECT_EQ(settings.value(QStringLiteral("Program Folder")).toString(),
              dir.path() + QStringLiteral("/"));
}

} // namespace
