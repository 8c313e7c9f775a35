#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TestFiles.h"
#include "settings/IniHelpers.h"

namespace {

struct BoolCase {
    const char* text;
    bool expected;
};

void PrintTo(const BoolCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class TextToBoolCases : public ::testing::TestWithParam<BoolCase> {};

TEST_P(TextToBoolCases, ReadsTheWordAndUpperCasesItInPlace) {
    QString text = QString::fromLatin1(GetParam().text);
    EXPECT_EQ(TextToBool(text), GetParam().expected);
    EXPECT_EQ(text, QString::fromLatin1(GetParam().text).toUpper());
}

INSTANTIATE_TEST_SUITE_P(Words, TextToBoolCases,
                         ::testing::Values(BoolCase{"TRUE", true}, BoolCase{"true", true},
                                           BoolCase{"yes", true}, BoolCase{"On", true},
                                           BoolCase{"1", true}, BoolCase{"FALSE", false},
                                           BoolCase{"-1", false}, BoolCase{"Y", false},
                                           BoolCase{"T", false}, BoolCase{"", false},
                                           BoolCase{" TRUE ", false}, BoolCase{"0", false},
                                           BoolCase{"no", false}, BoolCase{"ONE", false}));

TEST(BoolToText, GivesTheWordsWrittenToTheFile) {
    EXPECT_EQ(BoolToText(true), QStringLiteral("TRUE"));
    EXPECT_EQ(BoolToText(false), QStringLiteral("FALSE"));
}

class IniSettingFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.INI"); }
    QTemporaryDir m_dir;
};

TEST_F(IniSettingFile, ReadIniStringCutsLongValuesTo499) {
    ASSERT_TRUE(putFile(path(), "[SETUP]\r\nK=" + QByteArray(600, 'y') + "\r\n"));
    EXPECT_EQ(ReadIniString(path(), "SETUP", "K", ""), QString(499, QLatin1Char('y')));
}

TEST_F(IniSettingFile, MissingKeyIsWrittenWithItsDefault) {
    EXPECT_EQ(GetIniSetting(path(), "SETUP", "K", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nK=dflt\r\n"));
}

TEST_F(IniSettingFile, StoredTextEqualToTheDefaultIsWrittenAgain) {
    ASSERT_TRUE(putFile(path(), bytes("[SETUP]\r\nK =  \"dflt\" \r\n")));
    EXPECT_EQ(GetIniSetting(path(), "SETUP", "K", "dflt"), QStringLiteral("dflt"));
    EXPECT_EQ(fileBytes(path()), bytes("[SETUP]\r\nK=dflt\r\n"));
}

TEST_F(IniSettingFile, OtherTextIsLeftAloneEvenWhenItDiffersOnlyInCase) {
    const QByteArray before = bytes("[SETUP]\r\nK =  true \r\n");
    ASSERT_TRUE(putFile(path(), before));
    EXPECT_EQ(GetIniSetting(path(), "SETUP", "K", "TRUE"), QStringLiteral("true"));
    EXPECT_EQ(fileBytes(path()), before);
}

} // namespace
