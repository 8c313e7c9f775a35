// Files that cannot be written when the program closes, on a full disk or in a read-only
// folder: whatever was on disk before must still be there, byte for byte, and no half-written
// file may be left beside it. (The list file's own rule is tested in tests/lists.)
#include <gtest/gtest.h>

#include <memory>

#include "AppFixture.h"
#include "SaveLoopLists.h"
#include "SmallDisk.h"
#include "engine/AlarmEngine.h"
#include "lists/ListFile.h"
#include "lists/TextList.h"
#include "ui/frmMain.h"

namespace {

// The window started with its program folder on a small disk of its own, with settings
// and lists written by an earlier run.
class ShutdownOnBadDisk : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        disk = std::make_unique<SmallDisk>(512 * 1024);
        env.executablePath = disk->filePath(QStringLiteral("Ringwarden"));
        installHost(QStringLiteral("OWN1"));
        writeAll(ini(), "[SETUP]\r\nMIN_DISTANCE=7.5\r\nAUDIBLE_ALARM=FALSE\r\n"
                        "LEFT=1200\r\nTOP=900\r\n");
        ASSERT_TRUE(::SaveLists(lst(), numbered(QStringLiteral("OLD"), 300), {"FARAWAY"}, false));
        start();
        ASSERT_EQ(app->engine()->ackedCalls().count(), 300);
        // What is on disk now (start-up completes the settings file with its defaults).
        oldIni = fileBytes(ini());
        oldLst = fileBytes(lst());
        ASSERT_TRUE(oldIni.contains("MIN_DISTANCE=7.5"));
        // The operator's work in this run: more than the disk can take.
        app->engine()->loadLists({}, numbered(QStringLiteral("NEW"), 20000));
        app->engine()->setRadiusText(QStringLiteral("12.5"));
    }
    QString ini() const { return disk->filePath(QStringLiteral("Ringwarden.INI")); }
    QString lst() const { return disk->filePath(QStringLiteral("Ringwarden.LST")); }

    void closeAndCheckNothingWasLost() {
        app->window()->close();
        EXPECT_TRUE(app->window()->isUnloaded());
        EXPECT_EQ(fileBytes(ini()), oldIni);
        EXPECT_EQ(fileBytes(lst()), oldLst);
        const LoadedLists loaded = LoadLists(lst());
        EXPECT_EQ(loaded.acked.size(), 300);
        EXPECT_EQ(loaded.watch, QStringList{"FARAWAY"});
    }

    std::unique_ptr<SmallDisk> disk;
    QByteArray oldIni;
    QByteArray oldLst;
};

TEST_F(ShutdownOnBadDisk, fullDiskKeepsTheOldSettingsAndLists) {
    std::unique_ptr<FileSizeLimit> limit;
    if (disk->mounted())
        ASSERT_TRUE(disk->fill(0));
    else
        limit = std::make_unique<FileSizeLimit>(0);
    closeAndCheckNothingWasLost();
    QStringList expected{"Ringwarden.INI", "Ringwarden.LST"};
    if (disk->mounted())
        expected << "filler";
    expected.sort();
    EXPECT_EQ(filesIn(disk->path()), expected) << "a half-written file was left behind";
}

TEST_F(ShutdownOnBadDisk, readOnlyFolderKeepsTheOldSettingsAndLists) {
    std::unique_ptr<FileSizeLimit> limit;
    if (!disk->makeReadOnly())
        limit = std::make_unique<FileSizeLimit>(0); // nothing can be written at all
    closeAndCheckNothingWasLost();
}

} // namespace
