#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include "BuildInfo.h"
#include "OpenedUrls.h"
#include "support/Globals.h"
#include "ui/LinkLabel.h"
#include "ui/frmAbout.h"

namespace {

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override {
        gstrAppName = QStringLiteral("Kestrel32 add-on Ringwarden");
        gstrAppTitle = gstrAppName + QStringLiteral(" V1.1.0");
        mainWindow = new QMainWindow;
        mainWindow->show();
    }
    void TearDown() override {
        delete mainWindow;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QMainWindow* mainWindow = nullptr;
};

TEST_F(AboutWindow, ShowsTitleDescriptionLinkAndLegalTexts) {
    frmAbout* about = frmAbout::showAbout(mainWindow);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Kestrel32 add-on Ringwarden V1.1.0"));
    EXPECT_EQ(about->Label1->text(), QStringLiteral("Kestrel32 add-on Ringwarden V1.1.0"));
    EXPECT_EQ(about->Label3->text(),
              QStringLiteral("This Kestrel32 add-on sounds an alarm when stations are withing a "
                             "certain range. "));
    EXPECT_EQ(about->Label8->text(), QStringLiteral("More information on this website"));
    EXPECT_EQ(about->Label4->text(), QStringLiteral("Legal"));
    EXPECT_EQ(about->Label5->text(),
              frmAbout::legalNoticeText(QString::fromUtf8(BuildInfo::legalNotice)));
    EXPECT_EQ(about->lblWebURL->text(), frmAbout::webSiteAddress());
    EXPECT_TRUE(about->Label2->text().contains(QStringLiteral("Ringwarden project")));
    EXPECT_FALSE(about->Label6->text().isEmpty());
    EXPECT_EQ(about->Command1->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(about->Label1->font().bold());
    EXPECT_TRUE(about->lblWebURL->font().underline());
}

TEST(AboutLegalNotice, FallsBackWhenTheBuildHasNone) {
    EXPECT_EQ(frmAbout::legalNoticeText(QString()), QStringLiteral("Not set in Project!"));
    EXPECT_EQ(frmAbout::legalNoticeText(QStringLiteral("(C) us")), QStringLiteral("(C) us"));
}

TEST_F(AboutWindow, AlwaysOnTopNotModalAndCentred) {
    frmAbout* about = frmAbout::showAbout(mainWindow);
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(about->isModal());
    EXPECT_TRUE(about->isWindow());
    const QRect screen = mainWindow->screen()->geometry();
    EXPECT_NEAR(about->frameGeometry().center().x(), screen.center().x(), 1);
    EXPECT_NEAR(about->frameGeometry().center().y(), screen.center().y(), 1);
    // The main window still takes input.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(AboutWindow, SecondAboutWhileOpenDoesNothing) {
    frmAbout* first = frmAbout::showAbout(mainWindow);
    first->move(10, 20); // the operator moved it
    frmAbout* second = frmAbout::showAbout(mainWindow);
    EXPECT_EQ(second, first);
    EXPECT_EQ(first->pos(), QPoint(10, 20));
    EXPECT_EQ(mainWindow->findChildren<frmAbout*>().size(), 1);
}

TEST_F(AboutWindow, OkUnloadsAndTheNextAboutLoadsAnew) {
    frmAbout* first = frmAbout::showAbout(mainWindow);
    QTest::mouseClick(first->Command1, Qt::LeftButton);
    settle();
    EXPECT_EQ(frmAbout::openWindow(), nullptr);
    frmAbout* again = frmAbout::showAbout(mainWindow);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
}

TEST_F(AboutWindow, ClosesWithTheMainWindowButNotWhenItIsMinimised) {
    frmAbout::showAbout(mainWindow);
    mainWindow->showMinimized();
    settle();
    EXPECT_NE(frmAbout::openWindow(), nullptr);
    mainWindow->close();
    settle();
    EXPECT_EQ(frmAbout::openWindow(), nullptr);
}

TEST_F(AboutWindow, LinkOpensTheWebSiteAndChangesNothingElse) {
    OpenedUrls opened({QStringLiteral("https"), QStringLiteral("http")});
    frmAbout* about = frmAbout::showAbout(mainWindow);
    const QString before = about->lblWebURL->text();
    QTest::mouseClick(about->lblWebURL, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first(), QUrl(frmAbout::webSiteAddress()));
    EXPECT_EQ(about->lblWebURL->text(), before);
    EXPECT_TRUE(about->isVisible());
}

TEST_F(AboutWindow, Screenshot) {
    frmAbout* about = frmAbout::showAbout(mainWindow);
    const QPixmap picture = about->grab();
    EXPECT_EQ(picture.size(), about->size() * picture.devicePixelRatio());
    const QString folder = qEnvironmentVariable("RINGWARDEN_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(picture.save(folder + QStringLiteral("/about-window.png")));
    }
}

} // namespace
