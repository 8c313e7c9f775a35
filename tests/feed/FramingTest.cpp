// Guards against bytes lost, merged or misread between the air and the decoder: AX.25
// frames, KISS framing and escapes, TNC2 text lines and the line reader's cap.
#include <gtest/gtest.h>

#include "FeedTestUtil.h"
#include "feed/LineReader.h"

namespace {

// N0CALL-9>APRS,WIDE1-1*:!4903.50N/07201.75W- as it travels: callsign characters shifted
// left one bit, SSID bytes 011SSSSx with the repeated bit on top.
QByteArray handBuiltFrame() {
    return QByteArray::fromHex("82a0a4a64040609c608682989872ae92888a6240e303f0") +
           "!4903.50N/07201.75W-";
}

QByteArray withByte(QByteArray frame, int index, unsigned char value) {
    frame[index] = char(value);
    return frame;
}

// Eleven addresses (WIDE), none with the last-address bit.
QByteArray endlessAddresses() {
    return QByteArray::fromHex("ae92888a404060").repeated(11) + "\x03\xF0";
}

TEST(Ax25, aFrameBuiltByHandDecodesAndEncodesToTheSameBytes) {
    const feed::Ax25Result r = feed::decodeAx25(handBuiltFrame());
    ASSERT_TRUE(r.ok()) << feed::ax25ErrorText(r.error).toStdString();
    EXPECT_EQ(r.frame.source.text(), QStringLiteral("N0CALL-9"));
    EXPECT_EQ(r.frame.destination.text(), QStringLiteral("APRS"));
    ASSERT_EQ(r.frame.path.size(), 1);
    EXPECT_EQ(r.frame.path[0].text(), QStringLiteral("WIDE1-1"));
    EXPECT_TRUE(r.frame.path[0].repeated);
    EXPECT_EQ(r.frame.info, QByteArray("!4903.50N/07201.75W-"));
    EXPECT_EQ(feed::encodeAx25(r.frame).toHex(), handBuiltFrame().toHex());
    feed::Ax25Frame unsendable = r.frame;
    unsendable.source.callsign = QStringLiteral("N0CALLX");
    EXPECT_TRUE(feed::encodeAx25(unsendable).isEmpty());
}

TEST(Ax25, aBrokenFrameIsRefusedWithItsReason) {
    const std::pair<QByteArray, feed::Ax25Error> rows[] = {
        {handBuiltFrame().left(22), feed::Ax25Error::TooShort},
        {withByte(handBuiltFrame(), 8, 'a' << 1), feed::Ax25Error::BadAddress},
        {withByte(handBuiltFrame(), 9, 0x40), feed::Ax25Error::BadAddress},
        {endlessAddresses(), feed::Ax25Error::NoAddressEnd},
        {withByte(handBuiltFrame(), 21, 0x10), feed::Ax25Error::NotUi},
        {withByte(handBuiltFrame(), 22, 0xCF), feed::Ax25Error::NotAprs}};
    for (const auto& [frame, error] : rows)
        EXPECT_EQ(feed::ax25ErrorText(feed::decodeAx25(frame).error).toStdString(),
                  feed::ax25ErrorText(error).toStdString())
            << frame.toHex().toStdString();
}

const QByteArray awkward = QByteArray::fromHex("41c0dbdcdddbc000ff");

// Frames of every port after the tail of an old frame, cut anywhere, come out whole and in
// order. Port 12 gives the command byte 0xC0, which once went out unescaped as a FEND and
// split the frame in two (found by fuzzing).
TEST(Kiss, framesOfEveryPortCutAnywhereComeOutWholeAndInOrder) {
    QByteArray stream = QByteArray("tail of an old frame\xC0\xC0");
    for (int port = 0; port < 16; ++port)
        stream += feed::kissEncode(awkward + char('a' + port), port);
    for (const int size : {1, 7, 1000}) {
        feed::KissDeframer deframer;
        QList<feed::KissFrame> frames;
        for (int at = 0; at < stream.size(); at += size)
            frames += deframer.feed(stream.mid(at, size));
        ASSERT_EQ(frames.size(), 16) << size;
        for (int port = 0; port < 16; ++port) {
            EXPECT_EQ(frames[port].port, port) << size;
            EXPECT_EQ(frames[port].data.toHex(), (awkward + char('a' + port)).toHex()) << size;
        }
    }
}

TEST(Kiss, commandsOversizeFramesAndBrokenEscapesAreDroppedAndCounted) {
    feed::KissDeframer deframer(16);
    const QList<feed::KissFrame> frames =
        deframer.feed(QByteArray::fromHex("c00132c0") + feed::kissEncode(QByteArray(17, 'x')) +
                      QByteArray::fromHex("c00041db41c0") + feed::kissEncode(QByteArray(16, 'y')));
    ASSERT_EQ(frames.size(), 1);
    EXPECT_EQ(frames[0].data, QByteArray(16, 'y'));
    EXPECT_EQ(deframer.counters().nonData, 1u);
    EXPECT_EQ(deframer.counters().oversize, 1u);
    EXPECT_EQ(deframer.counters().badEscape, 1u);
    // A stream that never ends a frame does not grow past the limit either.
    for (int i = 0; i < 1000; ++i)
        deframer.feed(QByteArray(100, 'z'));
    EXPECT_EQ(deframer.feed(feed::kissEncode("after")).value(0).data, QByteArray("after"));
}

TEST(Tnc2, aStarMarksItsDigipeaterAndThoseBeforeAsRepeated) {
    const QByteArray line = "N0CALL-9>APRS,WIDE1-1,WIDE2-1*,qAR,DB0ABC-S::N0CALL   :hi:\xC3\xA9";
    const feed::Tnc2Result r = feed::parseTnc2(line);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.frame.source.ssid, 9);
    ASSERT_EQ(r.frame.path.size(), 4);
    EXPECT_TRUE(r.frame.path[0].repeated && r.frame.path[1].repeated);
    EXPECT_FALSE(r.frame.path[2].repeated || r.frame.path[3].repeated);
    EXPECT_EQ(r.frame.path[3].callsign, QStringLiteral("DB0ABC-S")); // not an on-air address
    EXPECT_EQ(r.frame.info, QByteArray(":N0CALL   :hi:\xC3\xA9"));
    EXPECT_EQ(feed::formatTnc2(r.frame), line);
}

TEST(Tnc2, aBrokenHeaderIsRefusedWithItsReason) {
    const std::pair<const char*, feed::Tnc2Error> rows[] = {
        {"no header here", feed::Tnc2Error::NoHeader},
        {"N0 CALL>APRS:x", feed::Tnc2Error::BadSource},
        {"N0CALL|X>APRS:x", feed::Tnc2Error::BadSource},
        {"N0CALLXXXX>APRS:x", feed::Tnc2Error::BadSource},
        {"N0CALL>:x", feed::Tnc2Error::BadDestination},
        {"N0CALL>APRS,,WIDE:x", feed::Tnc2Error::BadPath},
        {"N0CALL>APRS,WI DE:x", feed::Tnc2Error::BadPath}};
    for (const auto& [line, error] : rows)
        EXPECT_EQ(feed::tnc2ErrorText(feed::parseTnc2(line).error).toStdString(),
                  feed::tnc2ErrorText(error).toStdString())
            << line;
}

TEST(LineReader, aLineBeyondTheCapIsDroppedWholeAndCountedOnceWhateverTheChunks) {
    constexpr int cap = 10240; // where APRS-IS servers cut their lines
    const QByteArray stream = QByteArray(cap, 'a') + "\r\n" + QByteArray(cap + 1, 'b') + "\r\n" +
                              QByteArray(3 * cap, 'c') + "\nafter\r\n\n";
    for (const int size : {1, 4096, 100000}) {
        feed::LineReader reader;
        QList<QByteArray> lines;
        for (int at = 0; at < stream.size(); at += size)
            lines += reader.feed(stream.mid(at, size));
        EXPECT_EQ(lines, (QList<QByteArray>{QByteArray(cap, 'a'), "after", ""})) << size;
        EXPECT_EQ(reader.tooLong(), 2u);
    }
    // The end of the input gives the last line without its line end, unless it was too long.
    feed::LineReader reader;
    reader.feed("first\r\nlast\r");
    EXPECT_EQ(reader.finish(), QByteArray("last"));
    reader.feed(QByteArray(cap + 1, 'x'));
    EXPECT_EQ(reader.finish(), QByteArray());
    EXPECT_EQ(reader.feed("next\n"), QList<QByteArray>{"next"});
}

} // namespace
