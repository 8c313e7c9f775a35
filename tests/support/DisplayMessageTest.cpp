// Guards against a message box with the wrong title or text, or a critical error that lets run on.
#include <gtest/gtest.h>

#include <QList>

#include "support/DisplayMessage.h"
#include "support/Globals.h"

namespace {

TEST(DisplayMessage, EachKindHasItsIconTitleAndTextAndOnlyTheCriticalOneEndsTheProgram) {
    const QString help = QStringLiteral("/opt/rw/Ringwarden.html");
    const QString errorHead =
        "you may want to read the online help file (" + help + ") on this :\r\n\r\n";
    const struct {
        qint16 kind;
        MessageIcon icon;
        QString title;
        QString text;
        int exitCode = -1;
    } rows[] = {
        {64, MessageIcon::Information, " Informational message", "\r\n\r\nhello"},
        {48, MessageIcon::Warning, " Error message",
         "The following error has ocurred, " + errorHead + "hello"},
        {16, MessageIcon::Critical, " Error message",
         "The following critical error has ocurred, " + errorHead +
             "hello\r\n\r\nThe program will be stopped",
         1},
    };
    QList<MessageBoxRequest> shown;
    const MessageBoxShower oldShower = setMessageBoxShower([&](const auto& r) { shown << r; });
    const ProcessEnder oldEnder = setProcessEnder([](int code) { throw code; });
    for (const qint16 kind : {0, 1, 17, 32, 65, -16})
        DisplayMessage(kind, "x", help);
    EXPECT_TRUE(shown.isEmpty());
    for (const auto& row : rows) {
        shown.clear();
        int endedWith = -1;
        try {
            DisplayMessage(row.kind, QStringLiteral("hello"), help);
        } catch (int code) {
            endedWith = code;
        }
        EXPECT_EQ(shown.size(), 1) << row.kind;
        EXPECT_EQ(shown.value(0).icon, row.icon) << row.kind;
        EXPECT_EQ(shown.value(0).title, appTitle + row.title) << row.kind;
        EXPECT_EQ(shown.value(0).text, row.text) << row.kind;
        EXPECT_EQ(endedWith, row.exitCode) << row.kind;
    }
    setMessageBoxShower(oldShower);
    setProcessEnder(oldEnder);
}

} // namespace
