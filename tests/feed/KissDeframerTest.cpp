#include <gtest/gtest.h>

#include "feed/KissDeframer.h"

namespace {

QByteArray bytes(std::initializer_list<unsigned char> list) {
    QByteArray out;
    for (const unsigned char b : list)
        out.append(static_cast<char>(b));
    return out;
}

const QByteArray Awkward = bytes({0x41, 0xC0, 0xDB, 0xDC, 0xDD, 0xDB, 0xC0, 0x00, 0xFF});

TEST(Kiss, EncodeEscapesFendAndFesc) {
    EXPECT_EQ(feed::kissEncode(bytes({0xC0, 0xDB, 0x41}), 2).toHex().toStdString(),
              bytes({0xC0, 0x20, 0xDB, 0xDC, 0xDB, 0xDD, 0x41, 0xC0}).toHex().toStdString());
}

TEST(Kiss, RoundTripKeepsEveryByteAndThePort) {
    feed::KissDeframer deframer;
    const QList<feed::KissFrame> frames = deframer.feed(feed::kissEncode(Awkward, 5));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data.toHex().toStdString(), Awkward.toHex().toStdString());
    EXPECT_EQ(frames[0].port, 5);
}

class KissPorts : public testing::TestWithParam<int> {};

// Found by fuzzing: port 12 gives the command byte 0xC0, which went out unescaped as a FEND
// and split the frame in two.
TEST_P(KissPorts, EveryPortRoundTrips) {
    feed::KissDeframer deframer;
    const QList<feed::KissFrame> frames = deframer.feed(feed::kissEncode(Awkward, GetParam()));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].port, GetParam());
    EXPECT_EQ(frames[0].data.toHex().toStdString(), Awkward.toHex().toStdString());
}

INSTANTIATE_TEST_SUITE_P(AllPorts, KissPorts, testing::Range(0, 16));

TEST(Kiss, EncodeEscapesACommandByteThatIsAFend) {
    EXPECT_EQ(feed::kissEncode("A", 12).toHex().toStdString(),
              bytes({0xC0, 0xDB, 0xDC, 0x41, 0xC0}).toHex().toStdString());
}

class KissChunks : public testing::TestWithParam<int> {};

TEST_P(KissChunks, FramesCutAnywhereComeOutWholeAndInOrder) {
    QByteArray stream;
    for (int i = 0; i < 3; ++i)
        stream += feed::kissEncode(Awkward + char('0' + i));
    feed::KissDeframer deframer;
    QList<feed::KissFrame> frames;
    for (int at = 0; at < stream.size(); at += GetParam())
        frames += deframer.feed(stream.mid(at, GetParam()));
    ASSERT_EQ(frames.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frames[i].data, Awkward + char('0' + i)) << i;
    EXPECT_EQ(deframer.counters().frames, 3u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, KissChunks, testing::Values(1, 2, 3, 7, 1000));

TEST(Kiss, BytesBeforeTheFirstFendAndIdleFendsAreIgnored) {
    feed::KissDeframer deframer;
    const QList<feed::KissFrame> frames =
        deframer.feed(QByteArray("tail of an old frame") + bytes({0xC0, 0xC0, 0xC0}) +
                      feed::kissEncode("abc") + bytes({0xC0, 0xC0}));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("abc"));
}

TEST(Kiss, CommandFramesAreSkippedAndCounted) {
    feed::KissDeframer deframer;
    const QList<feed::KissFrame> frames =
        deframer.feed(bytes({0xC0, 0x01, 0x32, 0xC0}) + bytes({0xC0, 0xFF, 0xC0}) +
                      bytes({0xC0, 0x16, 0x05, 0xC0}) + feed::kissEncode("data"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("data"));
    EXPECT_EQ(deframer.counters().nonData, 3u);
}

TEST(Kiss, FramesBeyondTheLimitAreDroppedWhole) {
    feed::KissDeframer deframer(16);
    const QList<feed::KissFrame> frames = deframer.feed(feed::kissEncode(QByteArray(17, 'x')) +
                                                        feed::kissEncode(QByteArray(16, 'y')));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray(16, 'y'));
    EXPECT_EQ(deframer.counters().oversize, 1u);
}

TEST(Kiss, AStreamWithoutFendNeverGrowsPastTheLimit) {
    feed::KissDeframer deframer(64);
    QList<feed::KissFrame> frames = deframer.feed(bytes({0xC0, 0x00}));
    for (int i = 0; i < 1000; ++i)
        frames += deframer.feed(QByteArray(100, 'z'));
    frames += deframer.feed(feed::kissEncode("after"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("after"));
    EXPECT_EQ(deframer.counters().oversize, 1u);
}

TEST(Kiss, ABrokenEscapeDropsTheFrame) {
    feed::KissDeframer deframer;
    const QList<feed::KissFrame> frames =
        deframer.feed(bytes({0xC0, 0x00, 0x41, 0xDB, 0x41, 0x42, 0xC0}) + feed::kissEncode("ok"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("ok"));
    EXPECT_EQ(deframer.counters().badEscape, 1u);
}

TEST(Kiss, ResetForgetsAHalfReadFrame) {
    feed::KissDeframer deframer;
    EXPECT_TRUE(deframer.feed(bytes({0xC0, 0x00, 0x41, 0x42})).isEmpty());
    deframer.reset();
    // Without a FEND after the reset, the rest of the old frame is not a frame.
    const QList<feed::KissFrame> frames =
        deframer.feed(bytes({0x43, 0xC0}) + feed::kissEncode("new"));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray("new"));
}

} // namespace
