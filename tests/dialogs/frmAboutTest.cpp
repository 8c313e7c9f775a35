// The About window showing a wrong text, opening a wrong address, or drawing its link black.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include "OpenedUrls.h"
#include "support/Globals.h"
#include "ui/LinkLabel.h"
#include "ui/frmAbout.h"

namespace {

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        mainWindow.show();
        about = frmAbout::showAbout(&mainWindow);
        ASSERT_NE(about, nullptr);
    }
    void TearDown() override {
        if (frmAbout::openWindow())
            frmAbout::openWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QMainWindow mainWindow;
    frmAbout* about = nullptr;
};

TEST_F(AboutWindow, ShowsItsTextsAndTheLinkOpensTheWebSite) {
    EXPECT_EQ(about->windowTitle(),
              QStringLiteral("About Kestrel32 add-on Ringwarden ") + gstrAppVersion);
    EXPECT_EQ(about->Label1->text(), gstrAppTitle);
    EXPECT_EQ(about->Label3->text(),
              QStringLiteral("This Kestrel32 add-on sounds an alarm when stations are withing a "
                             "certain range. "));
    EXPECT_EQ(about->Label8->text(), QStringLiteral("More information on this website"));
    EXPECT_EQ(about->Label4->text(), QStringLiteral("Legal"));
    EXPECT_FALSE(about->Label5->text().isEmpty());
    EXPECT_EQ(frmAbout::legalNoticeText(QString()), QStringLiteral("Not set in Project!"));
    EXPECT_EQ(about->Command1->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    OpenedUrls opened({QStringLiteral("https"), QStringLiteral("http")});
    EXPECT_EQ(about->lblWebURL->text(), frmAbout::webSiteAddress());
    QTest::mouseClick(about->lblWebURL, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first(), QUrl(frmAbout::webSiteAddress()));
    EXPECT_TRUE(about->isVisible());

    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmAbout::openWindow(), nullptr);
}

// The link has to follow the palette it is shown with: the system's, and one changed later.
TEST_F(AboutWindow, LinkIsDrawnInTheHighlightColour) {
    QPalette changed = about->palette();
    changed.setColor(QPalette::Highlight, QColor(200, 30, 30));
    for (const QPalette& palette : {about->palette(), changed}) {
        about->setPalette(palette);
        const QColor highlight = palette.color(QPalette::Highlight);
        const QImage drawn = about->lblWebURL->grab().toImage();
        // Text edges blend the highlight into the background, never into anything darker.
        int inHighlight = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                ASSERT_GE(pixel.lightness(), highlight.lightness() - 8)
                    << x << "," << y << ": " << pixel.name().toStdString();
                const int distance = std::abs(pixel.red() - highlight.red()) +
                                     std::abs(pixel.green() - highlight.green()) +
                                     std::abs(pixel.blue() - highlight.blue());
                inHighlight += distance < 24 ? 1 : 0;
            }
        }
        EXPECT_GT(inHighlight, 0) << "no pixel in " << highlight.name().toStdString();
    }
}

} // namespace
