#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "settings/ProfileFile.h"

namespace {

class ProfileFile : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("Ringwarden.INI")) const {
        return m_dir.filePath(name);
    }
    QTemporaryDir m_dir;
};

TEST_F(ProfileFile, MissingFileGivesTheDefaultAndIsCreatedByAWrite) {
    EXPECT_EQ(readProfileString(path(), "SETUP", "K", "dflt"), QStringLiteral("dflt"));
    EXPECT_FALSE(QFile::exists(path()));
    ASSERT_TRUE(writeProfileString(path(), "SETUP", "K", "v"));
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nK=v\r\n"));
    EXPECT_EQ(readProfileString(path(), "setup", "k", "dflt"), QStringLiteral("v"));
}

TEST_F(ProfileFile, AddedKeyLeavesEveryOtherByteOfTheFile) {
    const QByteArray before =
        bytes("; by hand\r\n[SETUP]\r\nMIN_DISTANCE = \"25\"\r\n\r\n[OTHER]\nX=\xff\x00\r\n");
    ASSERT_TRUE(putFile(path(), before));
    ASSERT_TRUE(writeProfileString(path(), "SETUP", "TOP", "120"));
    EXPECT_EQ(fileBytes(path()),
              bytes("; by hand\r\n[SETUP]\r\nMIN_DISTANCE = \"25\"\r\nTOP=120\r\n"
                    "\r\n[OTHER]\nX=\xff\x00\r\n"));
    EXPECT_EQ(readProfileString(path(), "SETUP", "MIN_DISTANCE", ""), QStringLiteral("25"));
}

TEST_F(ProfileFile, SeveralKeysAtOnceEqualOneAfterAnother) {
    const QByteArray start = bytes("[SETUP]\r\nB=old\r\n");
    ASSERT_TRUE(putFile(path("one.ini"), start));
    ASSERT_TRUE(putFile(path("many.ini"), start));
    const QList<QPair<QString, QString>> keys = {{"A", "1"}, {"B", "2"}, {"C", "3"}};
    for (const auto& [key, value] : keys)
        ASSERT_TRUE(writeProfileString(path("one.ini"), "SETUP", key, value));
    ASSERT_TRUE(writeProfileStrings(path("many.ini"), "SETUP", keys));
    EXPECT_EQ(fileBytes(path("many.ini")), fileBytes(path("one.ini")));
    EXPECT_EQ(fileBytes(path("many.ini")), bytes("[SETUP]\r\nB=2\r\nA=1\r\nC=3\r\n"));
}

TEST_F(ProfileFile, BareFileNameIsLookedUpNowhere) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    ASSERT_TRUE(putFile(path("kestrel32.ini"), bytes("[STATION]\r\nCALLSIGN=AB1CD\r\n")));
    const QString read = readProfileString("kestrel32.ini", "STATION", "CALLSIGN", "NOCALL");
    const bool written = writeProfileString("kestrel32.ini", "STATION", "CALLSIGN", "X");
    QDir::setCurrent(previous);
    EXPECT_EQ(read, QStringLiteral("NOCALL"));
    EXPECT_FALSE(written);
    EXPECT_EQ(fileBytes(path("kestrel32.ini")), bytes("[STATION]\r\nCALLSIGN=AB1CD\r\n"));
}

TEST_F(ProfileFile, FolderJoinedWithoutSeparatorFindsNothing) {
    ASSERT_TRUE(putFile(path("kestrel32.ini"), bytes("[STATION]\r\nCALLSIGN=AB1CD\r\n")));
    EXPECT_EQ(readProfileString(m_dir.path() + "kestrel32.ini", "STATION", "CALLSIGN", "NOCALL"),
              QStringLiteral("NOCALL"));
    EXPECT_EQ(readProfileString(m_dir.path() + "/kestrel32.ini", "STATION", "CALLSIGN", "NOCALL"),
              QStringLiteral("AB1CD"));
}

TEST_F(ProfileFile, WriteIntoMissingFolderFails) {
    EXPECT_FALSE(writeProfileString(path("no/such/Ringwarden.INI"), "SETUP", "K", "v"));
}

TEST_F(ProfileFile, FolderInPlaceOfTheFileIsNeitherReadNorReplaced) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.INI"));
    EXPECT_EQ(readProfileString(path(), "SETUP", "K", "d"), QStringLiteral("d"));
    EXPECT_FALSE(writeProfileString(path(), "SETUP", "K", "v"));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(ProfileFile, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    const QByteArray before = "[SETUP]\r\n" + QByteArray(3000, 'x') + "\r\nK=old\r\n";
    ASSERT_TRUE(putFile(path(), before));
    {
        FileSizeLimit limit(static_cast<rlim_t>(before.size()));
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(writeProfileString(path(), "SETUP", "K", QString(5000, QLatin1Char('n'))));
    }
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.INI"});
}

TEST(ProfileBytes, DeviceThatFailsHalfWayGivesNothing) {
    FailingDevice device(bytes("[SETUP]\r\nK=1\r\nL=2\r\n"), 10);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(readProfileBytes(device).has_value());
}

TEST(ProfileBytes, ContentOverTheLimitGivesNothing) {
    QByteArray content(1000, 'x');
    QBuffer device(&content);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_FALSE(readProfileBytes(device, 999).has_value());
    device.seek(0);
    EXPECT_EQ(readProfileBytes(device, 1000).value_or("<none>"), content);
}

} // namespace
