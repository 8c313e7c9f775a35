#include <gtest/gtest.h>

#include "feed/Ax25Frame.h"

using feed::Ax25Error;

namespace {

// N0CALL-9>APRS,WIDE1-1*:!4903.50N/07201.75W- as it travels, byte by byte: callsign
// characters shifted left one bit, SSID bytes 011SSSSx with the repeated bit on top.
QByteArray handBuiltFrame() {
    const unsigned char bytes[] = {
        0x82, 0xA0, 0xA4, 0xA6, 0x40, 0x40, 0xE0, // APRS, command bit set
        0x9C, 0x60, 0x86, 0x82, 0x98, 0x98, 0x72, // N0CALL-9
        0xAE, 0x92, 0x88, 0x8A, 0x62, 0x40, 0xE3, // WIDE1-1, repeated, last address
        0x03, 0xF0};
    return QByteArray(reinterpret_cast<const char*>(bytes), sizeof bytes) + "!4903.50N/07201.75W-";
}

feed::Ax25Frame sampleFrame() {
    feed::Ax25Frame f;
    f.source = {QStringLiteral("N0CALL"), 9, false};
    f.destination = {QStringLiteral("APRS"), 0, false};
    f.path = {{QStringLiteral("WIDE1"), 1, true}, {QStringLiteral("WIDE2"), 2, false}};
    f.info = QByteArray("!4903.50N/07201.75W-\xC0\xDB", 22);
    return f;
}

TEST(Ax25, DecodesAFrameBuiltByHand) {
    const feed::Ax25Result r = feed::decodeAx25(handBuiltFrame());
    ASSERT_TRUE(r.ok()) << feed::ax25ErrorText(r.error).toStdString();
    EXPECT_EQ(r.frame.source.text(), QStringLiteral("N0CALL-9"));
    EXPECT_EQ(r.frame.destination.text(), QStringLiteral("APRS"));
    ASSERT_EQ(r.frame.path.size(), 1);
    EXPECT_EQ(r.frame.path[0].text(), QStringLiteral("WIDE1-1"));
    EXPECT_TRUE(r.frame.path[0].repeated);
    EXPECT_EQ(r.frame.info, QByteArray("!4903.50N/07201.75W-"));
}

TEST(Ax25, EncodeProducesTheBytesOnTheAir) {
    feed::Ax25Frame f;
    f.source = {QStringLiteral("N0CALL"), 9, false};
    f.destination = {QStringLiteral("APRS"), 0, false};
    f.path = {{QStringLiteral("WIDE1"), 1, true}};
    f.info = "!4903.50N/07201.75W-";
    QByteArray expected = handBuiltFrame();
    expected[6] = static_cast<char>(0x60); // we do not set the command bit
    EXPECT_EQ(feed::encodeAx25(f).toHex().toStdString(), expected.toHex().toStdString());
}

TEST(Ax25, RoundTripKeepsAddressesRepeatBitsAndBinaryInformation) {
    const feed::Ax25Frame f = sampleFrame();
    const feed::Ax25Result r = feed::decodeAx25(feed::encodeAx25(f));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.frame, f);
}

TEST(Ax25, EncodeRefusesAddressesThatCannotBeSent) {
    feed::Ax25Frame f = sampleFrame();
    f.source.callsign = QStringLiteral("N0CALLX");
    EXPECT_TRUE(feed::encodeAx25(f).isEmpty());
    f = sampleFrame();
    f.source.ssid = 16;
    EXPECT_TRUE(feed::encodeAx25(f).isEmpty());
    f = sampleFrame();
    f.destination.callsign = QStringLiteral("aprs");
    EXPECT_TRUE(feed::encodeAx25(f).isEmpty());
    f = sampleFrame();
    f.path = QList<feed::Ax25Address>(9, {QStringLiteral("WIDE"), 0, false});
    EXPECT_TRUE(feed::encodeAx25(f).isEmpty());
}

struct Broken {
    const char* what;
    QByteArray bytes;
    Ax25Error error;
};

void PrintTo(const Broken& b, std::ostream* os) {
    *os << b.what;
}

QByteArray withByte(QByteArray bytes, int index, unsigned char value) {
    bytes[index] = static_cast<char>(value);
    return bytes;
}

// Eleven addresses, none with the last-address bit.
QByteArray endlessAddresses() {
    QByteArray one;
    for (const char c : QByteArray("WIDE  "))
        one.append(static_cast<char>(c << 1));
    one.append(static_cast<char>(0x60));
    return one.repeated(11) + "\x03\xF0";
}

class Ax25Broken : public testing::TestWithParam<Broken> {};

TEST_P(Ax25Broken, IsRejectedWithItsReason) {
    const feed::Ax25Result r = feed::decodeAx25(GetParam().bytes);
    EXPECT_EQ(feed::ax25ErrorText(r.error).toStdString(),
              feed::ax25ErrorText(GetParam().error).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Frames, Ax25Broken,
    testing::Values(
        Broken{"empty", QByteArray(), Ax25Error::TooShort},
        Broken{"15 bytes", handBuiltFrame().left(15), Ax25Error::TooShort},
        Broken{"cut in the digipeater", handBuiltFrame().left(18), Ax25Error::TooShort},
        Broken{"no control byte", handBuiltFrame().left(21), Ax25Error::TooShort},
        Broken{"no PID", handBuiltFrame().left(22), Ax25Error::TooShort},
        Broken{"lower-case letter", withByte(handBuiltFrame(), 8, 'a' << 1), Ax25Error::BadAddress},
        Broken{"low bit in a callsign byte", withByte(handBuiltFrame(), 9, 0x87),
               Ax25Error::BadAddress},
        Broken{"blank inside a callsign", withByte(handBuiltFrame(), 9, 0x40),
               Ax25Error::BadAddress},
        Broken{"byte above 127", withByte(handBuiltFrame(), 10, 0xFE), Ax25Error::BadAddress},
        Broken{"all-blank callsign",
               withByte(withByte(withByte(withByte(handBuiltFrame(), 0, 0x40), 1, 0x40), 2, 0x40),
                        3, 0x40),
               Ax25Error::BadAddress},
        Broken{"address field ends after the destination", withByte(handBuiltFrame(), 6, 0xE1),
               Ax25Error::BadAddress},
        Broken{"address field never ends", endlessAddresses(), Ax25Error::NoAddressEnd},
        Broken{"I frame", withByte(handBuiltFrame(), 21, 0x10), Ax25Error::NotUi},
        Broken{"UI with poll bit", withByte(handBuiltFrame(), 21, 0x13), Ax25Error::NotUi},
        Broken{"NET/ROM PID", withByte(handBuiltFrame(), 22, 0xCF), Ax25Error::NotAprs}));

} // namespace
