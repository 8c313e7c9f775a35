#include <gtest/gtest.h>

#include "feed/LineReader.h"

namespace {

TEST(LineReader, SplitsOnLfDropsCrAndKeepsPartialLines) {
    feed::LineReader reader(100);
    QList<QByteArray> lines = reader.feed("one\r\ntwo\nthr");
    lines += reader.feed("ee\r");
    lines += reader.feed("\n\nfour");
    EXPECT_EQ(lines, (QList<QByteArray>{"one", "two", "three", ""}));
    EXPECT_EQ(reader.feed("\n"), QList<QByteArray>{"four"});
}

class LineLimit : public testing::TestWithParam<int> {};

TEST_P(LineLimit, ALineBeyondTheLimitIsDroppedWholeAndCountedOnce) {
    constexpr int Limit = 10240;
    const QByteArray stream = QByteArray(Limit, 'a') + "\r\n" + QByteArray(Limit + 1, 'b') +
                              "\r\n" + QByteArray(3 * Limit, 'c') + "\nafter\n";
    feed::LineReader reader(Limit);
    QList<QByteArray> lines;
    for (int at = 0; at < stream.size(); at += GetParam())
        lines += reader.feed(stream.mid(at, GetParam()));
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QByteArray(Limit, 'a'));
    EXPECT_EQ(lines[1], QByteArray("after"));
    EXPECT_EQ(reader.tooLong(), 2u);
}

INSTANTIATE_TEST_SUITE_P(ChunkSizes, LineLimit, testing::Values(1, 1000, 4096, 100000));

TEST(LineReader, ResetDropsTheHalfLine) {
    feed::LineReader reader(100);
    EXPECT_TRUE(reader.feed("half").isEmpty());
    reader.reset();
    EXPECT_EQ(reader.feed("whole\n"), QList<QByteArray>{"whole"});
}

} // namespace
