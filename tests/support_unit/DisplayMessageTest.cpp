#include <gtest/gtest.h>

#include <vector>

#include "support/DisplayMessage.h"
#include "support/Globals.h"

namespace {

struct ProcessEnded {
    int code;
};

class DisplayMessageTest : public ::testing::Test {
protected:
    void SetUp() override {
        gstrAppTitle = QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0");
        gstrHelpFile = QStringLiteral("/opt/rw/Ringwarden.html");
        m_oldShower =
            setMessageBoxShower([this](const MessageBoxRequest& r) { shown.push_back(r); });
        m_oldEnder = setProcessEnder([](int code) { throw ProcessEnded{code}; });
    }
    void TearDown() override {
        setMessageBoxShower(m_oldShower);
        setProcessEnder(m_oldEnder);
    }
    std::vector<MessageBoxRequest> shown;

private:
    MessageBoxShower m_oldShower;
    ProcessEnder m_oldEnder;
};

TEST_F(DisplayMessageTest, InformationalStartsWithTwoEmptyLines) {
    DisplayMessage(64, QStringLiteral("hello"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Information);
    EXPECT_EQ(shown[0].title,
              QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0 Informational message"));
    EXPECT_EQ(shown[0].text, QStringLiteral("\r\n\r\nhello"));
}

TEST_F(DisplayMessageTest, ErrorNamesHelpFileAndKeepsMisspelling) {
    DisplayMessage(48, QString());
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(shown[0].title, QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0 Error message"));
    EXPECT_EQ(shown[0].text,
              QStringLiteral("The following error has ocurred, you may want to read the online "
                             "help file (/opt/rw/Ringwarden.html) on this :\r\n\r\n"));
}

TEST_F(DisplayMessageTest, CriticalShowsThenEndsTheProcess) {
    EXPECT_THROW(
        DisplayMessage(16, QStringLiteral("Error getting station callsign from Kestrel32.INI")),
        ProcessEnded);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, MessageIcon::Critical);
    EXPECT_EQ(shown[0].title, QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0 Error message"));
    EXPECT_EQ(shown[0].text,
              QStringLiteral("The following critical error has ocurred, you may want to read the "
                             "online help file (/opt/rw/Ringwarden.html) on this :\r\n\r\n"
                             "Error getting station callsign from Kestrel32.INI\r\n\r\n"
                             "The program will be stopped"));
}

class UnknownKindTest : public DisplayMessageTest, public ::testing::WithParamInterface<int> {};

TEST_P(UnknownKindTest, ShowsNothingAndReturns) {
    DisplayMessage(static_cast<qint16>(GetParam()), QStringLiteral("x"));
    EXPECT_TRUE(shown.empty());
}

INSTANTIATE_TEST_SUITE_P(Kinds, UnknownKindTest, ::testing::Values(0, 32, 65, -16, 17, 1));

} // namespace
