// Guards against Ringwarden.LST losing entries: a line misfiled, a save cut short, a file lost.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include "TestFiles.h"
#include "lists/ListFile.h"

namespace {

// A buffer that reads or takes only its first `limit` bytes, then fails.
class ShortDevice final : public QBuffer {
public:
    ShortDevice(const QByteArray& content, qint64 limit) : m_limit(limit) { setData(content); }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        if (pos() >= m_limit)
            return pos() < size() ? -1 : 0;
        return QBuffer::readData(data, std::min(maxSize, m_limit - pos()));
    }
    qint64 writeData(const char* data, qint64 maxSize) override {
        return pos() >= m_limit ? -1 : QBuffer::writeData(data, std::min(maxSize, m_limit - pos()));
    }

private:
    qint64 m_limit;
};

LoadedLists readBytes(const QByteArray& content, qint64 failAt = kMaxListFileBytes,
                      qint64 maxBytes = kMaxListFileBytes) {
    ShortDevice device(content, failAt);
    EXPECT_TRUE(device.open(QIODevice::ReadOnly));
    return readLists(device, maxBytes);
}

// The reader cuts fields 0, 1 and 2 of a line (GetField serves it alone): each row has a
// line with and without separators and tags, so a field cut from the wrong place would move
// an entry to the other list.
TEST(ListFile, EveryLineLandsInItsListAndNoneIsDropped) {
    const QString e9 = QString::fromLatin1(bytes("\xe9\x00X"));
    const struct {
        QByteArray content;
        QStringList acked;
        QStringList watch;
    } rows[] = {
        {QByteArray(), {}, {}},
        {bytes("B|acknowledged\r\nC|x\r\nD\r\nE|Acknowledged|more\r\n"), {"E"}, {"B", "C", "D"}},
        {bytes("\r\n|Acknowledged\r\nZ|Acknowledged\r\nZ|Acknowledged\r\n"), {"", "Z", "Z"}, {""}},
        {bytes("A|Acknowledged\rB|Watched"), {"A"}, {"B"}},
        {bytes("A\nB|Acknowledged\r\n"), {"A\nB"}, {}},
        {bytes("A|Acknowledged\nB|Acknowledged\n"), {}, {"A"}},
        {bytes("A|Watched\r\n\r\n"), {}, {"A", ""}},
        {bytes("A|Watched\r"), {}, {"A"}},
        {bytes("\xe9\x00X|Acknowledged\r\n\xff|Watched\r\n"), {e9}, {QString(QChar(0xff))}}};
    for (const auto& row : rows) {
        const LoadedLists lists = readBytes(row.content);
        EXPECT_EQ(lists.acked, row.acked) << row.content.toStdString();
        EXPECT_EQ(lists.watch, row.watch) << row.content.toStdString();
        EXPECT_TRUE(lists.complete);
    }
}

// A callsign the line cannot hold must neither come back shortened, nor in the other list,
// nor as a watch entry of its own; every other entry keeps the bytes it always had.
TEST(ListFile, AnEntryTheLineCannotHoldIsWrittenEncodedAndReadBackAsItWas) {
    const struct {
        QString entry;
        QByteArray line;
    } rows[] = {{u"AB1CD"_qs, "AB1CD|Acknowledged\r\n"},
                {QString(QChar(0xe9)), "\xe9|Acknowledged\r\n"},
                {u"AB%7CCD"_qs, "AB%7CCD|Acknowledged\r\n"},
                {u"A\nB"_qs, "A\nB|Acknowledged\r\n"},
                {u"AB|CD"_qs, "AB%7CCD|Acknowledged|%UTF8\r\n"},
                {u"A\u0100"_qs, "A%C4%80|Acknowledged|%UTF8\r\n"},
                {u"50%|\r"_qs, "50%25%7C%0D|Acknowledged|%UTF8\r\n"},
                {u"\U0001F4E1"_qs, "%F0%9F%93%A1|Acknowledged|%UTF8\r\n"}};
    for (const auto& row : rows) {
        QBuffer buffer;
        ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
        ASSERT_TRUE(writeLists(buffer, {row.entry}, {row.entry}));
        EXPECT_TRUE(buffer.data().startsWith(row.line)) << buffer.data().toStdString();
        const LoadedLists lists = readBytes(buffer.data());
        EXPECT_EQ(lists.acked, QStringList{row.entry}) << row.line.toStdString();
        EXPECT_EQ(lists.watch, QStringList{row.entry}) << row.line.toStdString();
    }
    // Lines that only look encoded read as they always did.
    const LoadedLists old = readBytes("A%7CB|Acknowledged|%utf8\r\nA%7|Acknowledged|%UTF8\r\n"
                                      "A%FF|Acknowledged|%UTF8\r\nA B|Acknowledged|%UTF8\r\n"
                                      "A%7CB|Acknowledged|%UTF8|x\r\nA%7CB|Watched|%UTF8\r\n");
    EXPECT_EQ(old.acked, (QStringList{"A%7CB", "A%7", "A%FF", "A B", "A%7CB"}));
    EXPECT_EQ(old.watch, QStringList{"A|B"});
}

TEST(ListFile, WriterPutsAcknowledgedFirstAndReportsAShortDevice) {
    const QByteArray whole = bytes("AB1CD|Acknowledged\r\n\xe9|Acknowledged\r\nIJ3KL|Watched\r\n");
    for (const qint64 limit : {0, 1, 20, 35, 50, 60}) {
        ShortDevice device({}, limit);
        ASSERT_TRUE(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        EXPECT_EQ(writeLists(device, {"AB1CD", QString::fromLatin1("\xe9")}, {"IJ3KL"}),
                  limit >= whole.size());
        EXPECT_EQ(device.data(), whole.first(std::min<qint64>(limit, whole.size()))) << limit;
    }
}

TEST(ListFile, ReadThatStopsEarlyKeepsTheWholeLinesAndSaysSo) {
    const LoadedLists lists = readBytes(bytes("A|Acknowledged\r\nB|Watched\r\nC|Watched\r\n"), 20);
    EXPECT_FALSE(lists.complete);
    EXPECT_EQ(lists.acked, QStringList{"A"});
    EXPECT_TRUE(lists.watch.isEmpty()); // "B|Wa" was cut short
    const QByteArray big = bytes("A|Acknowledged\r\n") + QByteArray(200, 'x');
    EXPECT_FALSE(readBytes(big, kMaxListFileBytes, 100).complete);
}

class ListFileOnDisk : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.LST"); }
    QTemporaryDir m_dir;
};

TEST_F(ListFileOnDisk, SaveThenLoadGivesTheListsBackAndAFailedSaveLeavesThePreviousFile) {
    const LoadedLists none = LoadLists(path());
    EXPECT_TRUE(none.complete && none.acked.isEmpty() && none.watch.isEmpty());
    ASSERT_TRUE(SaveLists(path(), {"B", "A", ""}, {"W", "W"}, false));
    const LoadedLists lists = LoadLists(path());
    EXPECT_TRUE(lists.complete);
    EXPECT_EQ(lists.acked, (QStringList{"B", "A", ""}));
    EXPECT_EQ(lists.watch, (QStringList{"W", "W"}));
    const QByteArray saved = fileBytes(path());
    const QStringList many(2000, QStringLiteral("AB1CD-15"));
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(SaveLists(path(), many, many, false));
    }
    EXPECT_EQ(fileBytes(path()), saved);
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.LST"});
    EXPECT_FALSE(SaveLists(m_dir.filePath("gone/Ringwarden.LST"), {"A"}, {}, false));
}

TEST_F(ListFileOnDisk, IncompleteLoadKeepsACopyBeforeWritingOverAndNoCopyNoWrite) {
    const QByteArray before = bytes("OLD1|Acknowledged\r\nOLD2|Watched\r\n");
    ASSERT_TRUE(putFile(path(), before));
    ASSERT_TRUE(putFile(path() + ".bak", "an older copy"));
    ASSERT_TRUE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_EQ(fileBytes(path() + ".bak"), before);
    EXPECT_EQ(fileBytes(path()), bytes("NEW|Acknowledged\r\n"));
    ASSERT_TRUE(SaveLists(path(), {}, {"NEWER"}, false)); // a complete load makes no copy
    EXPECT_EQ(fileBytes(path() + ".bak"), before);
    ASSERT_TRUE(QFile::remove(path()) && QFile::remove(path() + ".bak"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.LST")); // a folder cannot be copied
    EXPECT_FALSE(LoadLists(path()).complete);
    EXPECT_FALSE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_FALSE(QFile::exists(path() + ".bak"));
}

} // namespace
