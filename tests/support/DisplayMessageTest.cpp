// Guards against a message box with the wrong title or text, or a critical error that lets run on.
#include <gtest/gtest.h>

#include <vector>

#include "support/DisplayMessage.h"
#include "support/Globals.h"

namespace {

const QString kHelp = QStringLiteral("/opt/rw/Ringwarden.html");

TEST(DisplayMessage, EachKindHasItsIconTitleAndText) {
    const QString errorHead =
        "you may want to read the online help file (" + kHelp + ") on this :\r\n\r\n";
    const struct {
        qint16 kind;
        MessageIcon icon;
        QString title;
        QString text;
    } rows[] = {
        {64, MessageIcon::Information, " Informational message", "\r\n\r\nhello"},
        {48, MessageIcon::Warning, " Error message",
         "The following error has ocurred, " + errorHead + "hello"},
        {16, MessageIcon::Critical, " Error message",
         "The following critical error has ocurred, " + errorHead +
             "hello\r\n\r\nThe program will be stopped"},
    };
    ASSERT_TRUE(gstrAppTitle.startsWith(QStringLiteral("Kestrel32 add-on Ringwarden V")));
    for (const auto& row : rows) {
        const MessageBoxRequest request = buildMessage(row.kind, QStringLiteral("hello"), kHelp);
        EXPECT_EQ(request.icon, row.icon) << row.kind;
        EXPECT_EQ(request.title, gstrAppTitle + row.title) << row.kind;
        EXPECT_EQ(request.text, row.text) << row.kind;
    }
}

TEST(DisplayMessage, OnlyTheCriticalKindEndsTheProgramAndUnknownKindsShowNothing) {
    std::vector<MessageBoxRequest> shown;
    const MessageBoxShower oldShower =
        setMessageBoxShower([&](const auto& r) { shown.push_back(r); });
    const ProcessEnder oldEnder = setProcessEnder([](int code) { throw code; });
    for (const qint16 kind : {0, 1, 17, 32, 65, -16})
        DisplayMessage(kind, "x", kHelp);
    EXPECT_TRUE(shown.empty());
    DisplayMessage(48, "x", kHelp);
    EXPECT_EQ(shown.size(), 1u);
    int endedWith = -1;
    try {
        DisplayMessage(16, "Error getting station callsign from Kestrel32.INI", kHelp);
    } catch (int code) {
        endedWith = code;
    }
    setMessageBoxShower(oldShower);
    setProcessEnder(oldEnder);
    EXPECT_EQ(endedWith, 1);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].icon, MessageIcon::Critical);
}

} // namespace
