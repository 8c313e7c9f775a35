// The update window losing the answer or the link, or greying its menu item at the wrong time.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "BuildInfo.h"
#include "OpenedUrls.h"
#include "TestHttpServer.h"
#include "support/Globals.h"
#include "support/MessageBoxSeam.h"
#include "ui/LinkLabel.h"
#include "ui/frmUpdate.h"

namespace {

TEST(UpdateWindow, ShowsTheAnswerOffersTheDownloadAndGreysTheItemOnlyDuringTheRequest) {
    int boxes = 0;
    const MessageBoxShower previous =
        setMessageBoxShower([&](const MessageBoxRequest&) { ++boxes; });

    TestHttpServer server;
    TestHttpServer::Answer answer; // still out when the window is first looked at
    answer.body = "<p>Quillfeather</p> Kestrel32 add-on Ringwarden Version V" +
                  QByteArray::number(BuildInfo::major + 1) +
                  ".0.0 <br>UpdateFile_Kestrel32 add-on Ringwarden=ringwarden_9.deb <br>";
    answer.delayMs = 400;
    server.setAnswer("/", answer);

    QMainWindow caller;
    QAction* item = caller.menuBar()->addMenu("&Help")->addAction("&Check for update");
    item->setObjectName(QStringLiteral("mnuHelpUpdate"));
    caller.show();

    bool greyedWhileAsking = false; // the item, the window's button, and its close refused
    QTimer::singleShot(0, [&] {     // runs as soon as the check waits for the server
        frmUpdate* window = frmUpdate::openWindow();
        greyedWhileAsking =
            window && !item->isEnabled() && !window->Command1->isEnabled() && !window->close();
    });
    CheckForUpdate(caller, UpdateCheck(server.baseAddress(), 5000));
    // The check goes on from the reply; the menu item says when it has ended.
    ASSERT_TRUE(QTest::qWaitFor([&] { return item->isEnabled(); }, 10000));
    EXPECT_TRUE(greyedWhileAsking);
    frmUpdate* window = frmUpdate::openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label1->text(),
              "There is a newer version of this program at " + server.baseAddress());
    EXPECT_EQ(window->statusColour(), QColor(0, 128, 0));
    EXPECT_TRUE(item->isEnabled() && window->Command1->isEnabled());
    EXPECT_EQ(boxes, 0);
    ASSERT_TRUE(window->lblWebURL->isVisible());
    EXPECT_EQ(window->lblWebURL->text(), QStringLiteral("Download the update ringwarden_9.deb"));
    OpenedUrls opened;
    QTest::mouseClick(window->lblWebURL, Qt::LeftButton);
    EXPECT_EQ(opened.urls, QList{QUrl(server.baseAddress() + "/ringwarden_9.deb")});
    EXPECT_TRUE(window->close());
    setMessageBoxShower(previous);
}

} // namespace
