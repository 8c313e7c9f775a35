// Guards against kestrel32.ini written so that Ringwarden cannot read it, or with the
// operator's other lines lost.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "HostFiles.h"
#include "TestFiles.h"

namespace {

// Other sections, keys and the line ends stay byte for byte.
TEST(Files, aProfileValueChangesOnlyTheOneLine) {
    const std::pair<const char*, const char*> rows[] = {
        {"[MAP]\r\nZOOM=3\r\n[station]\r\ncallsign = OLD \r\nQRA=IO92\r\n",
         "[MAP]\r\nZOOM=3\r\n[station]\r\nCALLSIGN=G0OWN\r\nQRA=IO92\r\n"},
        {"[STATION]\nQRA=IO92\n\n[MAP]\nZOOM=3\n",
         "[STATION]\nQRA=IO92\nCALLSIGN=G0OWN\n\n[MAP]\nZOOM=3\n"},
        {"[MAP]\r\nZOOM=3", "[MAP]\r\nZOOM=3\r\n[STATION]\r\nCALLSIGN=G0OWN\r\n"},
        {"[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\n",
         "[OTHER]\r\nCALLSIGN=A\r\n[STATION]\r\nCALLSIGN=G0OWN\r\n"}};
    for (const auto& [before, after] : rows)
        EXPECT_EQ(hostfiles::withProfileValue(before, QStringLiteral("STATION"),
                                              QStringLiteral("CALLSIGN"), QStringLiteral("G0OWN")),
                  QByteArray(after))
            << before;
}

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
