// Guards against Ringwarden.INI losing the operator's values: wrong defaults, keys written back.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestFiles.h"
#include "settings/Settings.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.INI"); }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFile, FirstStartWritesTheDefaultsAndShutdownKeepsWhatTheMenuSwitchesWrote) {
    IniValues values = readSettingsFile(path(), 4500.5, 100000.0);
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=TRUE\r\n"
                                       "AUDIBLE_ALARM=TRUE\r\nSCAN_STATIONS=TRUE\r\n"
                                       "SCAN_OVERLAYS=TRUE\r\nLEFT=4500\r\nTOP=32767\r\n"
                                       "MINIMIZED=FALSE\r\n"));
    EXPECT_FALSE(values.on(Setting::DesktopNotify));
    EXPECT_FALSE(values.on(Setting::SpeakAlarm));
    EXPECT_EQ(values.number(Setting::Left), 4500.0);
    ASSERT_TRUE(writeSwitchSetting(path(), Setting::ScanStations, false));
    ASSERT_TRUE(writeSwitchSetting(path(), Setting::DesktopNotify, true));
    values.setText(Setting::MinDistance, QStringLiteral("  25.5 "));
    values.setOn(Setting::BringToFront, false);
    values.setText(Setting::Left, QStringLiteral("-120"));
    ASSERT_TRUE(saveSettingsFile(path(), values));
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nMIN_DISTANCE=25.5\r\nBRING_TO_FRONT=FALSE\r\n"
                                       "AUDIBLE_ALARM=TRUE\r\nSCAN_STATIONS=FALSE\r\n"
                                       "SCAN_OVERLAYS=TRUE\r\nLEFT=-120\r\nTOP=32767\r\n"
                                       "MINIMIZED=FALSE\r\nDESKTOP_NOTIFY=TRUE\r\n"));
}

TEST_F(SettingsFile, StoredValuesAreReadAndOnlyAValueEqualToItsDefaultIsRewritten) {
    const QByteArray stored =
        bytes("[SETUP]\r\nMIN_DISTANCE = \"10\" \r\nBRING_TO_FRONT=no\r\n"
              "AUDIBLE_ALARM=yes\r\nSCAN_STATIONS=-1\r\nSCAN_OVERLAYS=On\r\n"
              "LEFT= 1234.7abc\r\nTOP=xyz\r\nMINIMIZED=1\r\nSPEAK_ALARM=Y\r\n");
    ASSERT_TRUE(putFile(path(), stored));
    const IniValues read = readSettingsFile(path(), 100, 100);
    QByteArray expected = stored;
    expected.replace("MIN_DISTANCE = \"10\" ", "MIN_DISTANCE=10");
    EXPECT_EQ(fileBytes(path()), expected);
    const std::pair<Setting, bool> switches[] = {
        {Setting::BringToFront, false}, {Setting::AudibleAlarm, true},
        {Setting::ScanStations, false}, {Setting::ScanOverlays, true},
        {Setting::Minimized, true},     {Setting::SpeakAlarm, false}};
    for (const auto& [id, on] : switches)
        EXPECT_EQ(read.on(id), on) << keyName(id).toStdString();
    EXPECT_DOUBLE_EQ(read.number(Setting::Left), 1234.7);
    EXPECT_EQ(read.number(Setting::Top), 0.0);
}

} // namespace
