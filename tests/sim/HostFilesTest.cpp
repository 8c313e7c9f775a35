// Guards against the tracker's files (kestrel32.ini, overlays, the program folder record)
// written so that Ringwarden cannot read them, or with the operator's other lines lost.
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
        qputenv("HOME", dir.path().toLocal8Bit());
    }
    QTemporaryDir dir;
} const privateHome;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

struct ProfileCase {
    const char* before;
    const char* value; // nullptr: remove
    const char* after;
};

class ProfileValue : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileValue, changesOnlyTheOneLine) {
    const ProfileCase& c = GetParam();
    const auto value = c.value ? std::optional(QString::fromLatin1(c.value)) : std::nullopt;
    EXPECT_EQ(hostfiles::withProfileValue(c.before, QStringLiteral("STATION"),
                                          QStringLiteral("CALLSIGN"), value),
              QByteArray(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileValue,
    ::testing::Values(
        ProfileCase{"", "G0OWN", "[STATION]\r\nCALLSIGN=G0OWN\r\n"},
        // Other sections, keys and the line ends stay byte for byte.
        ProfileCase{"[MAP]\r\nZOOM=3\r\n[station]\r\ncallsign = OLD \r\nQRA=IO92\r\n", "G0OWN",
                    "[MAP]\r\nZOOM=3\r\n[station]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"},
        ProfileCase{"[STATION]\nQRA=IO92\n\n[MAP]\nZOOM=3\n", "G0OWN",
                    "[STATION]\nQRA=IO92\nCALLSIGN=G0OWN\n\n[MAP]\nZOOM=3\n"},
        ProfileCase{"[MAP]\r\nZOOM=3", "X1", "[MAP]\r\nZOOM=3\r\n[STATION]\r\nCALLSIGN=X1\r\n"},
        ProfileCase{"[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\n", "B",
                    "[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\nCALLSIGN=B\r\n"},
        ProfileCase{"[STATION]\r\nCALLSIGN=OLD\r\nQRA=X\r\n", nullptr, "[STATION]\r\nQRA=X\r\n"}));

TEST(HostFolder, iniOverlaysAndTheFolderRecordAreWrittenLeavingOtherFilesAlone) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("kestrel32.ini"));
    hostfiles::writeHostIni(dir.path(), QStringLiteral("G0OWN"));
    EXPECT_EQ(readAll(ini), QByteArray("[STATION]\r\nCALLSIGN=G0OWN\r\n"));
    hostfiles::writeHostIni(dir.path(), QString()); // no own callsign: no key
    EXPECT_EQ(readAll(ini), QByteArray("[STATION]\r\n"));
    EXPECT_THROW(hostfiles::writeHostIni(dir.filePath(QStringLiteral("missing/sub")), "A"),
                 HostFileError);

    QDir(dir.path()).mkpath(QStringLiteral("overlays"));
    QFile mine(dir.filePath(QStringLiteral("overlays/mine.pos")));
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
    mine.write("keep me\r\n");
    mine.close();
    hostfiles::writeOverlays(dir.path(), {OverlayFile{QStringLiteral("town.pos"),
                                                      {"Church", QString::fromUtf8("café")}}});
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("overlays/town.pos"))),
              QByteArray("Church\r\ncaf\xe9\r\n"));
    EXPECT_EQ(readAll(mine.fileName()), QByteArray("keep me\r\n"));

    hostfiles::recordProgramFolder(dir.path());
    QSettings settings(QStringLiteral("Brightmoor"), QStringLiteral("Kestrel32"));
    EXPECT_EQ(settings.value(QStringLiteral("Program Folder")).toString(), dir.path() + "/");
    EXPECT_TRUE(QFile::exists(privateHome.dir.filePath("config/Brightmoor/Kestrel32.conf")));
}

} // namespace
