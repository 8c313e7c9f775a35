// F1 showing nothing when the desktop has no viewer for the page, or a window for a missing page.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "TestFiles.h"
#include "ui/HelpWindow.h"

TEST(Help, ShowsThePageInTheDesktopsViewerOrItsOwnWindowAndNothingForAMissingPage) {
    const struct {
        bool pageExists, desktopTakesIt, helpWindowShown;
    } rows[] = {{true, false, true}, {true, true, false}, {false, false, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.pageExists << row.desktopTakesIt);
        QTemporaryDir folder;
        const QString page = folder.filePath("Ring warden.html"); // a blank, still one file
        ASSERT_TRUE(!row.pageExists || putFile(page, "<h1>Alarm range</h1>"));
        QMainWindow mainWindow;
        mainWindow.show();
        QList<QUrl> offered;
        ShowHelp(&mainWindow, page, [&](const QUrl& url) {
            offered.append(url);
            return row.desktopTakesIt;
        });
        EXPECT_EQ(offered, row.pageExists ? QList{QUrl::fromLocalFile(page)} : QList<QUrl>{});
        HelpWindow* window = HelpWindow::openWindow(&mainWindow);
        ASSERT_EQ(window != nullptr, row.helpWindowShown);
        EXPECT_TRUE(!window || (window->isVisible() &&
                                window->browser()->toPlainText().contains("Alarm range")));
    }
}
