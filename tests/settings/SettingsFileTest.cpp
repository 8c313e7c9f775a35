#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestFiles.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"

namespace {

class SettingsFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.INI"); }
    QTemporaryDir m_dir;
};

TEST_F(SettingsFile, FirstStartCreatesEveryKeyWithItsDefaultInOrder) {
    const IniSettings read = readSettingsFile(path(), 5400.0, 3600.0);
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\n"
                                       "MIN_DISTANCE=10\r\n"
                                       "BRING_TO_FRONT=TRUE\r\n"
                                       "AUDIBLE_ALARM=TRUE\r\n"
                                       "SCAN_STATIONS=TRUE\r\n"
                                       "SCAN_OVERLAYS=TRUE\r\n"
                                       "LEFT=5400\r\n"
                                       "TOP=3600\r\n"
                                       "MINIMIZED=FALSE\r\n"));
    EXPECT_EQ(read.minDistance, QStringLiteral("10"));
    EXPECT_TRUE(read.bringToFront);
    EXPECT_TRUE(read.audibleAlarm);
    EXPECT_TRUE(read.scanStations);
    EXPECT_TRUE(read.scanOverlays);
    EXPECT_EQ(read.left, 5400.0);
    EXPECT_EQ(read.top, 3600.0);
    EXPECT_FALSE(read.minimized);
}

struct CentreCase {
    double left;
    double top;
    const char* leftText;
    const char* topText;
};

void PrintTo(const CentreCase& c, std::ostream* os) {
    *os << c.left << ',' << c.top;
}

class CentredDefault : public SettingsFile, public ::testing::WithParamInterface<CentreCase> {};

TEST_P(CentredDefault, IsRoundedHalfToEvenAndHeldTo16Bits) {
    const CentreCase& c = GetParam();
    const IniSettings read = readSettingsFile(path(), c.left, c.top);
    const QByteArray content = fileBytes(path());
    EXPECT_TRUE(content.contains(QByteArray("\r\nLEFT=") + c.leftText + "\r\n")) << content.data();
    EXPECT_TRUE(content.contains(QByteArray("\r\nTOP=") + c.topText + "\r\n")) << content.data();
    EXPECT_EQ(read.left, QByteArray(c.leftText).toDouble());
    EXPECT_EQ(read.top, QByteArray(c.topText).toDouble());
}

INSTANTIATE_TEST_SUITE_P(Positions, CentredDefault,
                         ::testing::Values(CentreCase{4500.5, 4501.5, "4500", "4502"},
                                           CentreCase{-7.5, 0.4, "-8", "0"},
                                           CentreCase{100000.0, -50000.0, "32767", "-32768"},
                                           CentreCase{32767.5, -32768.6, "32767", "-32768"}));

TEST_F(SettingsFile, StoredValuesAreAppliedAndOnlyDefaultsRewritten) {
    const QByteArray before = bytes("[SETUP]\r\n"
                                    "MIN_DISTANCE = 25 \r\n"
                                    "BRING_TO_FRONT=no\r\n"
                                    "AUDIBLE_ALARM=yes\r\n"
                                    "SCAN_STATIONS=-1\r\n"
                                    "SCAN_OVERLAYS=On\r\n"
                                    "LEFT= 1234.7abc\r\n"
                                    "TOP=xyz\r\n"
                                    "MINIMIZED=1\r\n");
    ASSERT_TRUE(putFile(path(), before));
    const IniSettings read = readSettingsFile(path(), 100, 100);
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(read.minDistance, QStringLiteral("25"));
    EXPECT_FALSE(read.bringToFront);
    EXPECT_TRUE(read.audibleAlarm);
    EXPECT_FALSE(read.scanStations);
    EXPECT_TRUE(read.scanOverlays);
    EXPECT_DOUBLE_EQ(read.left, 1234.7);
    EXPECT_EQ(read.top, 0.0);
    EXPECT_TRUE(read.minimized);
}

TEST_F(SettingsFile, MinDistanceEqualToTheDefaultIsRewritten) {
    ASSERT_TRUE(putFile(path(), bytes("[SETUP]\r\nMIN_DISTANCE = \"10\" \r\nLEFT=0\r\nTOP=0\r\n"
                                      "BRING_TO_FRONT=x\r\nAUDIBLE_ALARM=x\r\n"
                                      "SCAN_STATIONS=x\r\nSCAN_OVERLAYS=x\r\nMINIMIZED=x\r\n")));
    readSettingsFile(path(), 7, 7);
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nMIN_DISTANCE=10\r\nLEFT=0\r\nTOP=0\r\n"
                                       "BRING_TO_FRONT=x\r\nAUDIBLE_ALARM=x\r\n"
                                       "SCAN_STATIONS=x\r\nSCAN_OVERLAYS=x\r\nMINIMIZED=x\r\n"));
}

TEST_F(SettingsFile, SaveWritesItsSixKeysInOrder) {
    SavedSettings saved;
    saved.minDistance = QStringLiteral("  25.5 ");
    saved.audibleAlarm = false;
    saved.bringToFront = true;
    saved.left = -120;
    saved.top = 32767;
    saved.minimized = true;
    ASSERT_TRUE(saveSettingsFile(path(), saved));
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\n"
                                       "MIN_DISTANCE=25.5\r\n"
                                       "AUDIBLE_ALARM=FALSE\r\n"
                                       "BRING_TO_FRONT=TRUE\r\n"
                                       "LEFT=-120\r\n"
                                       "TOP=32767\r\n"
                                       "MINIMIZED=TRUE\r\n"));
}

TEST_F(SettingsFile, SaveLeavesTheScanSwitchesAndForeignLinesAlone) {
    readSettingsFile(path(), 10, 20);
    ASSERT_TRUE(writeSwitchSetting(path(), kKeyScanStations, false));
    SavedSettings saved;
    saved.minDistance = QStringLiteral("3");
    saved.left = 1;
    saved.top = 2;
    ASSERT_TRUE(saveSettingsFile(path(), saved));
    const IniSettings again = readSettingsFile(path(), 10, 20);
    EXPECT_FALSE(again.scanStations);
    EXPECT_TRUE(again.scanOverlays);
    EXPECT_EQ(again.minDistance, QStringLiteral("3"));
    EXPECT_EQ(again.left, 1.0);
    EXPECT_EQ(again.top, 2.0);
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\n"
                                       "MIN_DISTANCE=3\r\n"
                                       "BRING_TO_FRONT=TRUE\r\n"
                                       "AUDIBLE_ALARM=TRUE\r\n"
                                       "SCAN_STATIONS=FALSE\r\n"
                                       "SCAN_OVERLAYS=TRUE\r\n"
                                       "LEFT=1\r\n"
                                       "TOP=2\r\n"
                                       "MINIMIZED=FALSE\r\n"));
}

TEST_F(SettingsFile, SwitchWritesOnlyItsKey) {
    const QByteArray before = bytes("[SETUP]\r\nAUDIBLE_ALARM=TRUE\r\nBRING_TO_FRONT= yes\r\n");
    ASSERT_TRUE(putFile(path(), before));
    ASSERT_TRUE(writeSwitchSetting(path(), kKeyAudibleAlarm, false));
    EXPECT_EQ(fileBytes(path()),
              bytes("[SETUP]\r\nAUDIBLE_ALARM=FALSE\r\nBRING_TO_FRONT= yes\r\n"));
}

TEST_F(SettingsFile, UnwritablePlaceIsReportedNotThrown) {
    const QString nowhere = m_dir.filePath("missing/Ringwarden.INI");
    EXPECT_FALSE(saveSettingsFile(nowhere, SavedSettings{}));
    EXPECT_FALSE(writeSwitchSetting(nowhere, kKeyScanOverlays, true));
    const IniSettings read = readSettingsFile(nowhere, 15, 30);
    EXPECT_EQ(read.minDistance, QStringLiteral("10"));
    EXPECT_EQ(read.left, 15.0);
    EXPECT_EQ(read.top, 30.0);
}

} // namespace
