// F1 showing nothing when the desktop has no viewer for the page, or a window for a missing page.
#include <gtest/gtest.h>

#include <QFile>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTextBrowser>

#include "ui/HelpWindow.h"

namespace {

struct HelpRow {
    const char* name;
    bool pageExists;
    bool desktopTakesIt;
    bool helpWindowShown;
};

class Help : public ::testing::TestWithParam<HelpRow> {};

TEST_P(Help, ShowsThePageWhereItCan) {
    const HelpRow& row = GetParam();
    QTemporaryDir folder;
    // A blank in the path must still reach the viewer as one file.
    const QString page = folder.filePath(QStringLiteral("Ring warden.html"));
    if (row.pageExists) {
        QFile file(page);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1>Alarm range</h1></body></html>");
    }
    QMainWindow mainWindow;
    mainWindow.show();
    QList<QUrl> offered;
    ShowHelp(&mainWindow, page, [&](const QUrl& url) {
        offered.append(url);
        return row.desktopTakesIt;
    });

    EXPECT_EQ(offered, row.pageExists ? QList<QUrl>{QUrl::fromLocalFile(page)} : QList<QUrl>{});
    HelpWindow* window = HelpWindow::openWindow(&mainWindow);
    ASSERT_EQ(window != nullptr, row.helpWindowShown);
    if (window) {
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->browser()->toPlainText().contains(QStringLiteral("Alarm range")));
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, Help,
                         ::testing::Values(HelpRow{"desktopRefuses", true, false, true},
                                           HelpRow{"desktopShows", true, true, false},
                                           HelpRow{"missingPage", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
