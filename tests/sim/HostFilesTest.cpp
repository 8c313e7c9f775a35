// Guards against kestrel32.ini written so that Ringwarden cannot read it, or with the
// operator's other lines lost.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "HostFiles.h"
#include "TestFiles.h"

namespace {

struct ProfileCase {
    const char* before;
    const char* value;
    const char* after;
};

class ProfileValue : public ::testing::TestWithParam<ProfileCase> {};

TEST_P(ProfileValue, changesOnlyTheOneLine) {
    const ProfileCase& c = GetParam();
    EXPECT_EQ(hostfiles::withProfileValue(c.before, QStringLiteral("STATION"),
                                          QStringLiteral("CALLSIGN"), QString(c.value)),
              QByteArray(c.after));
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfileValue,
    ::testing::Values(
        // Other sections, keys and the line ends stay byte for byte.
        ProfileCase{"[MAP]\r\nZOOM=3\r\n[station]\r\ncallsign = OLD \r\nQRA=IO92\r\n", "G0OWN",
                    "[MAP]\r\nZOOM=3\r\n[station]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"},
        ProfileCase{"[STATION]\nQRA=IO92\n\n[MAP]\nZOOM=3\n", "G0OWN",
                    "[STATION]\nQRA=IO92\nCALLSIGN=G0OWN\n\n[MAP]\nZOOM=3\n"},
        ProfileCase{"[MAP]\r\nZOOM=3", "X1", "[MAP]\r\nZOOM=3\r\n[STATION]\r\nCALLSIGN=X1\r\n"},
        ProfileCase{"[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\n", "B",
                    "[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\nCALLSIGN=B\r\n"}));

// The overlays and the folder record are followed through a real start (HostProgramTest).
TEST(HostFolder, iniWithoutOwnCallsignHasNoKeyAndAMissingFolderIsAnError) {
    QTemporaryDir dir;
    hostfiles::writeHostIni(dir.path(), QStringLiteral("G0OWN"));
    hostfiles::writeHostIni(dir.path(), QString());
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("kestrel32.ini"))),
              QByteArray("[STATION]\r\n"));
    EXPECT_THROW(hostfiles::writeHostIni(dir.filePath(QStringLiteral("missing/sub")), "A"),
                 HostFileError);
}

} // namespace
