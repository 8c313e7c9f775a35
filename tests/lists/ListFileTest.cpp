// Guards against Ringwarden.LST losing entries: a line misfiled, a save cut short, a file lost.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QTemporaryDir>

#include <cstring>

#include "../settings/TestFiles.h"
#include "lists/ListFile.h"

namespace {

// A sequential device that gives or takes only its first `limit` bytes, then fails.
class FailingDevice final : public QIODevice {
public:
    FailingDevice(QByteArray content, qint64 limit)
        : m_content(std::move(content)), m_limit(limit) {}
    QByteArray written() const { return m_written; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 left = std::min<qint64>(m_limit, m_content.size()) - m_position;
        if (left <= 0)
            return m_position >= m_content.size() ? 0 : -1;
        const qint64 count = std::min(left, maxSize);
        std::memcpy(data, m_content.constData() + m_position, static_cast<std::size_t>(count));
        m_position += count;
        return count;
    }
    qint64 writeData(const char* data, qint64 maxSize) override {
        const qint64 count = std::min(m_limit - m_written.size(), maxSize);
        if (count <= 0)
            return -1;
        m_written.append(data, count);
        return count;
    }
    bool isSequential() const override { return true; }

private:
    QByteArray m_content;
    qint64 m_limit;
    qint64 m_position = 0;
    QByteArray m_written;
};

LoadedLists readBytes(QByteArray content) {
    QBuffer device(&content);
    device.open(QIODevice::ReadOnly);
    return readLists(device);
}

QString latin1(const QByteArray& text) {
    return QString::fromLatin1(text);
}

TEST(ListFile, EveryLineLandsInItsListAndNoneIsDropped) {
    const struct {
        QByteArray content;
        QStringList acked;
        QStringList watch;
    } rows[] = {
        {QByteArray(), {}, {}},
        {bytes("A|Watched\r\nB|acknowledged\r\nC|x\r\nD\r\nE|Acknowledged|more\r\n"),
         {"E"},
         {"A", "B", "C", "D"}},
        {bytes("\r\n|Acknowledged\r\nZ|Acknowledged\r\nZ|Acknowledged\r\n"), {"", "Z", "Z"}, {""}},
        {bytes("A|Acknowledged\rB|Watched"), {"A"}, {"B"}},
        {bytes("A\nB|Acknowledged\r\n"), {"A\nB"}, {}},
        {bytes("A|Acknowledged\nB|Acknowledged\n"), {}, {"A"}},
        {bytes("A|Watched\r\n\r\n"), {}, {"A", ""}},
        {bytes("A|Watched\r"), {}, {"A"}},
        {bytes("\xe9\x00X|Acknowledged\r\n\xff|Watched\r\n"),
         {latin1(bytes("\xe9\x00X"))},
         {latin1(bytes("\xff"))}},
    };
    for (const auto& row : rows) {
        const LoadedLists lists = readBytes(row.content);
        EXPECT_EQ(lists.acked, row.acked) << row.content.toStdString();
        EXPECT_EQ(lists.watch, row.watch) << row.content.toStdString();
        EXPECT_TRUE(lists.complete);
    }
}

TEST(ListFile, WriterPutsAcknowledgedFirstAndReportsAShortDevice) {
    const QByteArray whole = bytes("AB1CD|Acknowledged\r\n\xe9|Acknowledged\r\nIJ3KL|Watched\r\n");
    for (const qint64 limit : {0, 1, 20, 35, 50, 60}) {
        FailingDevice device({}, limit);
        ASSERT_TRUE(device.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        EXPECT_EQ(writeLists(device, {"AB1CD", latin1("\xe9")}, {"IJ3KL"}), limit >= whole.size());
        EXPECT_EQ(device.written(), whole.first(std::min<qint64>(limit, whole.size())));
    }
}

TEST(ListFile, ReadThatStopsEarlyKeepsTheWholeLinesAndSaysSo) {
    FailingDevice device(bytes("A|Acknowledged\r\nB|Watched\r\nC|Watched\r\n"), 20);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    const LoadedLists lists = readLists(device);
    EXPECT_FALSE(lists.complete);
    EXPECT_EQ(lists.acked, QStringList{"A"});
    EXPECT_TRUE(lists.watch.isEmpty()); // "B|Wa" was cut short
    QByteArray big = bytes("A|Acknowledged\r\n") + QByteArray(200, 'x');
    QBuffer buffer(&big);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_FALSE(readLists(buffer, 100).complete);
}

class ListFileOnDisk : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath("Ringwarden.LST"); }
    const QByteArray kBefore = bytes("OLD1|Acknowledged\r\nOLD2|Watched\r\n");
    QTemporaryDir m_dir;
};

TEST_F(ListFileOnDisk, SaveThenLoadGivesTheListsBack) {
    const LoadedLists none = LoadLists(path());
    EXPECT_TRUE(none.complete && none.acked.isEmpty() && none.watch.isEmpty());
    ASSERT_TRUE(SaveLists(path(), {"B", "A", ""}, {"W", "W"}, false));
    const LoadedLists lists = LoadLists(path());
    EXPECT_TRUE(lists.complete);
    EXPECT_EQ(lists.acked, (QStringList{"B", "A", ""}));
    EXPECT_EQ(lists.watch, (QStringList{"W", "W"}));
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.LST"});
}

TEST_F(ListFileOnDisk, FailedSaveLeavesThePreviousFile) {
    ASSERT_TRUE(putFile(path(), kBefore));
    const QStringList many(2000, QStringLiteral("AB1CD-15"));
    {
        FileSizeLimit limit(1000);
        ASSERT_TRUE(limit.active());
        EXPECT_FALSE(SaveLists(path(), many, many, false));
    }
    EXPECT_EQ(fileBytes(path()), kBefore);
    EXPECT_EQ(filesIn(m_dir.path()), QStringList{"Ringwarden.LST"});
    EXPECT_FALSE(SaveLists(m_dir.filePath("gone/Ringwarden.LST"), {"A"}, {}, false));
}

TEST_F(ListFileOnDisk, IncompleteLoadKeepsACopyBeforeWritingOver) {
    ASSERT_TRUE(putFile(path(), kBefore));
    ASSERT_TRUE(putFile(path() + ".bak", "an older copy"));
    ASSERT_TRUE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_EQ(fileBytes(path() + ".bak"), kBefore);
    EXPECT_EQ(fileBytes(path()), bytes("NEW|Acknowledged\r\n"));
    ASSERT_TRUE(SaveLists(path(), {}, {"NEWER"}, false)); // a complete load makes no copy
    EXPECT_EQ(fileBytes(path() + ".bak"), kBefore);
}

TEST_F(ListFileOnDisk, WhatCannotBeCopiedIsNotWrittenOver) {
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Ringwarden.LST"));
    EXPECT_FALSE(LoadLists(path()).complete);
    EXPECT_FALSE(SaveLists(path(), {"NEW"}, {}, true));
    EXPECT_TRUE(QFileInfo(path()).isDir());
    EXPECT_FALSE(QFile::exists(path() + ".bak"));
}

} // namespace
