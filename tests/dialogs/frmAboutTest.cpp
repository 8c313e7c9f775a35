// The About window opening a wrong address, or drawing its link black.
#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QPushButton>
#include <QTest>

#include "OpenedUrls.h"
#include "ui/LinkLabel.h"
#include "ui/frmAbout.h"

// The link follows the palette it is shown with: the system's, and one changed later. Text
// edges blend the highlight into the background, never into anything darker.
TEST(AboutWindow, DrawsTheLinkInTheHighlightColourAndOpensTheWebSite) {
    QMainWindow mainWindow;
    mainWindow.show();
    frmAbout* about = frmAbout::showAbout(&mainWindow);
    ASSERT_NE(about, nullptr);
    QPalette changed = about->palette();
    changed.setColor(QPalette::Highlight, QColor(200, 30, 30));
    for (const QPalette& palette : {about->palette(), changed}) {
        about->setPalette(palette);
        const QColor highlight = palette.color(QPalette::Highlight);
        const QImage drawn = about->lblWebURL->grab().toImage();
        int inHighlight = 0;
        for (int y = 0; y < drawn.height(); ++y) {
            for (int x = 0; x < drawn.width(); ++x) {
                const QColor pixel = drawn.pixelColor(x, y);
                ASSERT_GE(pixel.lightness(), highlight.lightness() - 8) << x << "," << y;
                const int distance = std::abs(pixel.red() - highlight.red()) +
                                     std::abs(pixel.green() - highlight.green()) +
                                     std::abs(pixel.blue() - highlight.blue());
                inHighlight += distance < 24 ? 1 : 0;
            }
        }
        EXPECT_GT(inHighlight, 0) << "no pixel in " << highlight.name().toStdString();
    }
    OpenedUrls opened;
    QTest::mouseClick(about->lblWebURL, Qt::LeftButton);
    EXPECT_EQ(opened.urls, QList{QUrl(frmAbout::webSiteAddress())});
    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmAbout::openWindow(), nullptr);
}
