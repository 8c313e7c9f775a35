// Help page and web links go to the desktop; a handler registered for the scheme stands
// in for the browser and records what it was given.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QList>
#include <QUrl>

#include "OpenedUrls.h"
#include "support/HelpBrowser.h"
#include "support/MessageBoxSeam.h"
#include "support/WebAddress.h"

namespace {

class HelpLinks : public ::testing::Test {
protected:
    void SetUp() override {
        previousShower = setMessageBoxShower([this](const MessageBoxRequest&) { ++boxes; });
    }
    void TearDown() override { setMessageBoxShower(previousShower); }

    OpenedUrls opened{{QStringLiteral("file"), QStringLiteral("https"), QStringLiteral("http")}};
    MessageBoxShower previousShower;
    int boxes = 0;
};

TEST_F(HelpLinks, HelpFileWithBlanksIsOneLocalFile) {
    const QString path = QStringLiteral("/opt/radio tools/Ring warden.html");
    OpenHelpFile(path);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first().scheme(), QStringLiteral("file"));
    EXPECT_EQ(opened.urls.first().toLocalFile(), path);
}

TEST_F(HelpLinks, EmptyHelpPathOpensNothing) {
    OpenHelpFile(QString());
    EXPECT_TRUE(opened.urls.isEmpty());
}

TEST_F(HelpLinks, WebAddressWithBlanksIsOneAddress) {
    OpenWebAddress(QStringLiteral("https://ringwarden.example.org/down load/rw 1.deb"));
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first().toString(QUrl::FullyEncoded),
              QStringLiteral("https://ringwarden.example.org/down%20load/rw%201.deb"));
}

TEST_F(HelpLinks, FailuresShowNothing) {
    // No handler: the offscreen desktop cannot open anything, and nothing is reported.
    OpenedUrls::removeHandlers({QStringLiteral("file"), QStringLiteral("https")});
    OpenHelpFile(QStringLiteral("/nonexistent/Ringwarden.html"));
    OpenWebAddress(QStringLiteral("https://ringwarden.example.org"));
    OpenWebAddress(QStringLiteral("::not an address::"));
    EXPECT_EQ(boxes, 0);
}

} // namespace
