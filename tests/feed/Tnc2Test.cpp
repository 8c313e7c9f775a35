#include <gtest/gtest.h>

#include "feed/Tnc2.h"

using feed::Tnc2Error;

namespace {

TEST(Tnc2, ParsesAnAprsIsLine) {
    const feed::Tnc2Result r =
        feed::parseTnc2("N0CALL-9>APRS,WIDE1-1,WIDE2-1*,qAR,DB0ABC-S:!4903.50N/07201.75W-");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.frame.source.callsign, QStringLiteral("N0CALL"));
    EXPECT_EQ(r.frame.source.ssid, 9);
    EXPECT_EQ(r.frame.destination.text(), QStringLiteral("APRS"));
    ASSERT_EQ(r.frame.path.size(), 4);
    // "*" marks its digipeater and every one before it as repeated.
    EXPECT_TRUE(r.frame.path[0].repeated);
    EXPECT_TRUE(r.frame.path[1].repeated);
    EXPECT_FALSE(r.frame.path[2].repeated);
    EXPECT_FALSE(r.frame.path[3].repeated);
    EXPECT_EQ(r.frame.path[1].text(), QStringLiteral("WIDE2-1"));
    EXPECT_EQ(r.frame.path[2].text(), QStringLiteral("qAR"));
    // A letter SSID is not an on-air address: kept whole.
    EXPECT_EQ(r.frame.path[3].callsign, QStringLiteral("DB0ABC-S"));
    EXPECT_EQ(r.frame.info, QByteArray("!4903.50N/07201.75W-"));
}

TEST(Tnc2, InformationKeepsColonsAndBytes) {
    const feed::Tnc2Result r = feed::parseTnc2("A>B::N0CALL   :hi:\xC3\xA9\x01");
    ASSERT_TRUE(r.ok());
    EXPECT_TRUE(r.frame.path.isEmpty());
    EXPECT_EQ(r.frame.info, QByteArray(":N0CALL   :hi:\xC3\xA9\x01"));
}

class Tnc2RoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(Tnc2RoundTrip, FormatGivesBackTheLine) {
    const feed::Tnc2Result r = feed::parseTnc2(GetParam());
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(feed::formatTnc2(r.frame).toStdString(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Lines, Tnc2RoundTrip,
                         testing::Values("N0CALL>APRS:>status", "N0CALL-15>APZ123-1,WIDE2-2:x",
                                         "N0CALL>APRS,DIGI1,DIGI2*,WIDE2-1:!",
                                         "FW1234>APRS,TCPXX*,qAX,CWOP-5:@"));

struct BadLine {
    const char* line;
    Tnc2Error error;
};

void PrintTo(const BadLine& b, std::ostream* os) {
    *os << b.line;
}

class Tnc2Bad : public testing::TestWithParam<BadLine> {};

TEST_P(Tnc2Bad, IsRejectedWithItsReason) {
    const feed::Tnc2Result r = feed::parseTnc2(GetParam().line);
    EXPECT_EQ(feed::tnc2ErrorText(r.error).toStdString(),
              feed::tnc2ErrorText(GetParam().error).toStdString());
}

INSTANTIATE_TEST_SUITE_P(Lines, Tnc2Bad,
                         testing::Values(BadLine{"", Tnc2Error::NoHeader},
                                         BadLine{"no header here", Tnc2Error::NoHeader},
                                         BadLine{"A:B>C", Tnc2Error::NoHeader},
                                         BadLine{">APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N0 CALL>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N0CALL|X>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N0CALLXXXX>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N\xC3\xA9>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N0CALL\t>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"-N0CALL>APRS:x", Tnc2Error::BadSource},
                                         BadLine{"N0CALL>:x", Tnc2Error::BadDestination},
                                         BadLine{"N0CALL>AP*RS:x", Tnc2Error::BadDestination},
                                         BadLine{"N0CALL>APRS,,WIDE:x", Tnc2Error::BadPath},
                                         BadLine{"N0CALL>APRS,WIDE1-1**:x", Tnc2Error::BadPath},
                                         BadLine{"N0CALL>APRS,WI DE:x", Tnc2Error::BadPath}));

} // namespace
