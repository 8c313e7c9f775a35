#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "lists/ListFile.h"

namespace {

LoadedLists readBytes(const QByteArray& content) {
    QByteArray copy = content;
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    return readLists(device);
}

QByteArray writtenBytes(const QStringList& acked, const QStringList& watch) {
    QByteArray content;
    QBuffer device(&content);
    device.open(QIODevice::WriteOnly);
    EXPECT_TRUE(writeLists(device, acked, watch));
    return content;
}

QString latin1(const QByteArray& text) {
    return QString::fromLatin1(text);
}

struct ReadCase {
    const char* name;
    QByteArray content;
    QStringList acked;
    QStringList watch;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

class ListRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ListRead, SortsEveryLineIntoItsList) {
    const LoadedLists lists = readBytes(GetParam().content);
    EXPECT_EQ(lists.acked, GetParam().acked);
    EXPECT_EQ(lists.watch, GetParam().watch);
    EXPECT_TRUE(lists.complete);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ListRead,
    ::testing::Values(
        ReadCase{"empty", QByteArray(), {}, {}},
        ReadCase{"acknowledged", bytes("AB1CD|Acknowledged\r\n"), {"AB1CD"}, {}},
        ReadCase{"every_other_tag_is_watched",
                 bytes("AB1CD|Watched\r\nAB2CD|acknowledged\r\nAB3CD|x\r\nAB4CD\r\n"),
                 {},
                 {"AB1CD", "AB2CD", "AB3CD", "AB4CD"}},
        ReadCase{"second_field_only", bytes("AB1CD|Acknowledged|more\r\n"), {"AB1CD"}, {}},
        ReadCase{"empty_entries", bytes("\r\n|Acknowledged\r\n"), {""}, {""}},
        ReadCase{"duplicates_kept_in_file_order",
                 bytes("Z|Acknowledged\r\nA|Acknowledged\r\nZ|Acknowledged\r\nW|Watched\r\n"
                       "V|Watched\r\nW|Watched\r\n"),
                 {"Z", "A", "Z"},
                 {"W", "V", "W"}},
        ReadCase{"cr_only_and_no_last_line_end", bytes("A|Acknowledged\rB|Watched"), {"A"}, {"B"}},
        ReadCase{"lone_lf_stays_in_the_text", bytes("A\nB|Acknowledged\r\n"), {"A\nB"}, {}},
        ReadCase{"lf_only_file_is_one_line", bytes("A|Acknowledged\nB|Acknowledged\n"), {}, {"A"}},
        ReadCase{"blank_line_at_end", bytes("A|Watched\r\n\r\n"), {}, {"A", ""}},
        ReadCase{"lone_cr_at_end", bytes("A|Watched\r"), {}, {"A"}},
        ReadCase{"binary_bytes",
                 bytes("\xe9\x00X|Acknowledged\r\n\xff|Watched\r\n"),
                 {latin1(bytes("\xe9\x00X"))},
                 {latin1(bytes("\xff"))}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListWrite, AcknowledgedFirstThenWatchedWithCrLf) {
    EXPECT_EQ(writtenBytes({"AB1CD", "EF2GH"}, {"IJ3KL"}),
              bytes("AB1CD|Acknowledged\r\nEF2GH|Acknowledged\r\nIJ3KL|Watched\r\n"));
    EXPECT_EQ(writtenBytes({}, {}), QByteArray());
}

struct RoundTrip {
    const char* name;
    QStringList acked;
    QStringList watch;
    QStringList ackedBack;
    QStringList watchBack;
};

void PrintTo(const RoundTrip& c, std::ostream* os) {
    *os << c.name;
}

class ListRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ListRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTrip& c = GetParam();
    const LoadedLists back = readBytes(writtenBytes(c.acked, c.watch));
    EXPECT_EQ(back.acked, c.ackedBack);
    EXPECT_EQ(back.watch, c.watchBack);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListRoundTrip,
    ::testing::Values(
        RoundTrip{"plain", {"A1", "B2"}, {"Z9", "C3"}, {"A1", "B2"}, {"Z9", "C3"}},
        RoundTrip{
            "empty_entries_and_duplicates", {"", "A"}, {"W", "W", ""}, {"", "A"}, {"W", "W", ""}},
        RoundTrip{"latin1",
                  {latin1(bytes("\xc9\xe9"))},
                  {latin1(bytes("\xff"))},
                  {latin1(bytes("\xc9\xe9"))},
                  {latin1(bytes("\xff"))}},
        RoundTrip{"separator_in_acked_entry_is_lost", {"A|B"}, {}, {}, {"A"}},
        RoundTrip{"separator_in_watch_entry", {}, {"A|B"}, {}, {"A"}}),
    [](const auto& info) { return std::string(info.param.name); });

class ListDeviceFailure : public ::testing::TestWithParam<int> {};

TEST_P(ListDeviceFailure, WriterReportsADeviceThatStopsTakingBytes) {
    FailingDevice device({}, GetParam());
    ASSERT_TRUE(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    EXPECT_FALSE(writeLists(device, {"AB1CD", "EF2GH"}, {"IJ3KL"}));
    EXPECT_EQ(
        device.written(),
        bytes("AB1CD|Acknowledged\r\nEF2GH|Acknowledged\r\nIJ3KL|Watched\r\n").first(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(AfterBytes, ListDeviceFailure, ::testing::Values(0, 1, 20, 21, 54));

TEST(ListReadFailure, KeepsTheLinesReadWholeAndSaysItStoppedEarly) {
    const QByteArray content = bytes("A|Acknowledged\r\nB|Watched\r\nC|Watched\r\n");
    FailingDevice device(content, 20); // fails inside the second line
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    const LoadedLists lists = readLists(device);
    EXPECT_FALSE(lists.complete);
    EXPECT_EQ(lists.acked, QStringList{"A"});
    EXPECT_TRUE(lists.watch.isEmpty());
}

TEST(ListReadFailure, FileOverTheSizeLimitIsNotComplete) {
    QByteArray content = bytes("A|Acknowledged\r\n") + QByteArray(200, 'x');
    QBuffer device(&content);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_FALSE(readLists(device, 100).complete);
    device.seek(0);
    EXPECT_TRUE(readLists(device, content.size()).complete);
}

class ListFileOnDisk : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.LST"); }
    QTemporaryDir m_dir;
};

TEST_F(ListFileOnDisk, MissingFileGivesEmptyCompleteLists) {
    const LoadedLists lists = LoadLists(path());
    EXPECT_TRUE(lists.complete);
    EXPECT_TRUE(lists.acked.isEmpty());
    EXPECT_TRUE(lists.watch.isEmpty());
}

TEST_F(ListFileOnDisk, UnreadableFileIsNotComplete) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.LST"));
    EXPECT_FALSE(LoadLists(path()).complete);
}

TEST_F(ListFileOnDisk, EmptyListsMakeAnEmptyFile) {
    ASSERT_TRUE(SaveLists(path(), {}, {}, false));
    EXPECT_TRUE(QFile::exists(path()));
    EXPECT_EQ(QFileInfo(path()).size(), 0);
}

TEST_F(ListFileOnDisk, SaveThenLoadGivesTheListsBack) {
    ASSERT_TRUE(SaveLists(path(), {"B", "A"}, {"W2", "W1"}, false));
    EXPECT_EQ(fileBytes(path()), bytes("B|Acknowledged\r\nA|Acknowledged\r\nW2|Watched\r\n"
                                       "W1|Watched\r\n"));
    const LoadedLists lists = LoadLists(path());
    EXPECT_TRUE(lists.complete);
    EXPECT_EQ(lists.acked, (QStringList{"B", "A"}));
    EXPECT_EQ(lists.watch, (QStringList{"W2", "W1"}));
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.LST"});
}

TEST_F(ListFileOnDisk, FailedSaveLeavesThePreviousFile) {
    const QByteArray before = bytes("OLD1|Acknowledged\r\nOLD2|Watched\r\n");
    ASSERT_TRUE(putFile(path(), before));
    const QStringList many(2000, QStringLiteral("AB1CD-15"));
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(SaveLists(path(), many, many, false));
    }
    EXPECT_EQ(fileBytes(path()), before);
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.LST"});
}

TEST_F(ListFileOnDisk, IncompleteLoadKeepsACopyBeforeWritingOver) {
    const QByteArray before = bytes("OLD1|Acknowledged\r\nOLD2|Watched\r\n");
    ASSERT_TRUE(putFile(path(), before));
    ASSERT_TRUE(putFile(listBackupPath(path()), bytes("an older copy")));
    ASSERT_TRUE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_EQ(fileBytes(listBackupPath(path())), before);
    EXPECT_EQ(fileBytes(path()), bytes("NEW|Acknowledged\r\n"));
    EXPECT_EQ(m_dir.filePath("Ringwarden.LST.bak"), listBackupPath(path()));
}

TEST_F(ListFileOnDisk, CompleteLoadMakesNoCopy) {
    ASSERT_TRUE(putFile(path(), bytes("OLD|Watched\r\n")));
    ASSERT_TRUE(SaveLists(path(), {}, {"NEW"}, false));
    EXPECT_FALSE(QFile::exists(listBackupPath(path())));
    EXPECT_EQ(fileBytes(path()), bytes("NEW|Watched\r\n"));
}

TEST_F(ListFileOnDisk, NoCopyNoOverwrite) {
    // A folder stands where the list file should be: it cannot be copied, so it is not
    // written over either.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.LST"));
    EXPECT_FALSE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_FALSE(QFile::exists(listBackupPath(path())));
}

TEST_F(ListFileOnDisk, SaveIntoMissingFolderFails) {
    EXPECT_FALSE(SaveLists(m_dir.filePath("gone/Ringwarden.LST"), {"A"}, {}, false));
}

} // namespace
