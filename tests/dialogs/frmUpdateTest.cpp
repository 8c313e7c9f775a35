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
    TestHttpServer::Answer answer;
    answer.body = "<p>Quillfeather</p> Kestrel32 add-on Ringwarden Version V" +
                  QByteArray::number(BuildInfo::major + 1) +
                  ".0.0 <br>UpdateFile_Kestrel32 add-on Ringwarden=ringwarden_9.deb <br>";
    answer.delayMs = 400; // the request is still out when the window is first looked at
    server.setAnswer("/", answer);

    QMainWindow caller;
    QAction* item = caller.menuBar()
                        ->addMenu(QStringLiteral("&Help"))
                        ->addAction(QStringLiteral("&Check for update"));
    item->setObjectName(QStringLiteral("mnuHelpUpdate"));
    caller.show();

    bool looked = false, itemEnabled = true, closeEnabled = true, closed = true;
    // Runs as soon as the check waits for the server.
    QTimer::singleShot(0, [&] {
        frmUpdate* window = frmUpdate::openWindow();
        looked = window != nullptr;
        itemEnabled = item->isEnabled();
        closeEnabled = window && window->Command1->isEnabled();
        closed = window && window->close();
    });
    CheckForUpdate(caller, UpdateCheck(server.baseAddress(), 5000));
    frmUpdate* window = frmUpdate::openWindow();
    ASSERT_TRUE(looked);
    EXPECT_FALSE(itemEnabled);
    EXPECT_FALSE(closeEnabled);
    EXPECT_FALSE(closed);

    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Label1->text(),
              QStringLiteral("There is a newer version of this program at ") +
                  server.baseAddress());
    EXPECT_EQ(window->statusColour(), QColor(0, 128, 0));
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(window->Command1->isEnabled());
    EXPECT_EQ(boxes, 0);
    ASSERT_TRUE(window->lblWebURL->isVisible());
    EXPECT_EQ(window->lblWebURL->text(), QStringLiteral("Download the update ringwarden_9.deb"));

    OpenedUrls opened({QStringLiteral("http")});
    QTest::mouseClick(window->lblWebURL, Qt::LeftButton);
    ASSERT_EQ(opened.urls.size(), 1);
    EXPECT_EQ(opened.urls.first().toString(),
              server.baseAddress() + QStringLiteral("/ringwarden_9.deb"));

    EXPECT_TRUE(window->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(frmUpdate::openWindow(), nullptr);
    setMessageBoxShower(previous);
}

} // namespace
