// Guards against a settings file lost or cut short by a failed write, or written where it must not.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "settings/ProfileFile.h"

namespace {

class ProfileFile : public ::testing::Test {
protected:
    QString path(const char* name = "Ringwarden.INI") const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

TEST_F(ProfileFile, NameWithoutFolderAndFolderInPlaceOfTheFileAreNeitherReadNorWritten) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    const QByteArray tracker = bytes("[STATION]\r\nCALLSIGN=AB1CD\r\n");
    ASSERT_TRUE(putFile(path("kestrel32.ini"), tracker));
    EXPECT_EQ(readProfileString("kestrel32.ini", "STATION", "CALLSIGN", "NO"), "NO");
    EXPECT_FALSE(writeProfileString("kestrel32.ini", "STATION", "CALLSIGN", "X"));
    QDir::setCurrent(previous);
    EXPECT_EQ(fileBytes(path("kestrel32.ini")), tracker);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.INI"));
    EXPECT_EQ(readProfileString(path(), "SETUP", "K", "d"), QStringLiteral("d"));
    for (const QString& file : {path(), path("no/such/Ringwarden.INI")})
        EXPECT_FALSE(writeProfileString(file, "SETUP", "K", "v")) << file.toStdString();
}

TEST_F(ProfileFile, FailedWriteLeavesTheOldFileAndNoLeftovers) {
    const QByteArray before = "[SETUP]\r\n" + QByteArray(3000, 'x') + "\r\nK=old\r\n";
    ASSERT_TRUE(putFile(path(), before));
    {
        FileSizeLimit limit(static_cast<rlim_t>(before.size()));
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(writeProfileString(path(), "SETUP", "K", QString(5000, u'n')));
    }
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.INI"});
}

TEST(ProfileBytes, ContentOverTheLimitGivesNothing) {
    QBuffer device;
    device.setData(QByteArray(1000, 'x'));
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_FALSE(readProfileBytes(device, 999).has_value());
    device.seek(0);
    EXPECT_EQ(readProfileBytes(device, 1000).value_or("<none>"), device.data());
}

} // namespace
