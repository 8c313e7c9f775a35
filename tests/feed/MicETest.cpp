#include <gtest/gtest.h>

#include "FeedTestUtil.h"
#include "feed/AprsMicE.h"

using feed::AprsReject;

namespace {

// 33 25.64 N, 112 07.74 W: latitude digits 3 3 2 5 6 4 in the destination, north in the
// fourth place, the 100-degree offset in the fifth, west in the sixth. The information
// field holds 12 (+100) degrees, 7 (+60) minutes and 74 hundredths, each plus 28.
constexpr double NorthLatitude = 33.0 + 25.64 / 60.0;
constexpr double WestLongitude = -(112.0 + 7.74 / 60.0);
const QByteArray Info = "`(_fn\"O>/";

struct MessageCase {
    const char* destination;
    const char* message;
};

void PrintTo(const MessageCase& c, std::ostream* os) {
    *os << c.destination;
}

class MicEMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(MicEMessages, DecodeTheMessageCodeAndThePosition) {
    const MessageCase& c = GetParam();
    const feed::AprsResult r = decodeLine("N0CALL-7>" + QByteArray(c.destination) + ":" + Info);
    ASSERT_TRUE(r.ok()) << feed::aprsRejectText(r.reject).toStdString();
    EXPECT_EQ(r.report.micEMessage.toStdString(), c.message);
    EXPECT_EQ(r.report.name, QStringLiteral("N0CALL-7"));
    EXPECT_NEAR(r.report.latitude, NorthLatitude, DegreeTolerance);
    EXPECT_NEAR(r.report.longitude, WestLongitude, DegreeTolerance);
    EXPECT_EQ(r.report.symbolTable, QLatin1Char('/'));
    EXPECT_EQ(r.report.symbolCode, QLatin1Char('>'));
}

INSTANTIATE_TEST_SUITE_P(
    StandardAndCustom, MicEMessages,
    testing::Values(MessageCase{"SSRUVT", "Off Duty"}, MessageCase{"SS2UVT", "En Route"},
                    MessageCase{"S3RUVT", "In Service"}, MessageCase{"S32UVT", "Returning"},
                    MessageCase{"3SRUVT", "Committed"}, MessageCase{"3S2UVT", "Special"},
                    MessageCase{"33RUVT", "Priority"}, MessageCase{"332UVT", "Emergency"},
                    MessageCase{"DDCUVT", "Custom-0"}, MessageCase{"DD2UVT", "Custom-1"},
                    MessageCase{"D3CUVT", "Custom-2"}, MessageCase{"D32UVT", "Custom-3"},
                    MessageCase{"3DCUVT", "Custom-4"}, MessageCase{"3D2UVT", "Custom-5"},
                    MessageCase{"33CUVT", "Custom-6"}, MessageCase{"SD2UVT", "Unknown"}));

struct PlaceCase {
    const char* line;
    double latitude;
    double longitude;
    int ambiguity;
};

void PrintTo(const PlaceCase& c, std::ostream* os) {
    *os << c.line;
}

class MicEPlaces : public testing::TestWithParam<PlaceCase> {};

TEST_P(MicEPlaces, DecodeHemispheresOffsetsAndAmbiguity) {
    const PlaceCase& c = GetParam();
    const feed::AprsResult r = decodeLine(c.line);
    ASSERT_TRUE(r.ok()) << feed::aprsRejectText(r.reject).toStdString();
    EXPECT_NEAR(r.report.latitude, c.latitude, DegreeTolerance);
    EXPECT_NEAR(r.report.longitude, c.longitude, DegreeTolerance);
    EXPECT_EQ(r.report.ambiguity, c.ambiguity);
}

INSTANTIATE_TEST_SUITE_P(
    Places, MicEPlaces,
    testing::Values(
        // South, east, no offset: 12 degrees straight from the byte.
        PlaceCase{"N0CALL>332564:`(_fn\"O>/", -NorthLatitude, 12.0 + 7.74 / 60.0, 0},
        // 0-9 degrees travel as 90-99 with the offset: 5 degrees east.
        PlaceCase{"N0CALL>3325V4:`{_fn\"O>/", -NorthLatitude, 5.0 + 7.74 / 60.0, 0},
        // 100-109 degrees travel as 80-89 with the offset: 105 degrees west.
        PlaceCase{"N0CALL>S32UVT:`q_fn\"O>/", NorthLatitude, -(105.0 + 7.74 / 60.0), 0},
        // Minutes from 10 up travel without the 60: 25 minutes.
        PlaceCase{"N0CALL>S32UVT:`(5fn\"O>/", NorthLatitude, -(112.0 + 25.74 / 60.0), 0},
        // The old-data type byte decodes the same.
        PlaceCase{"N0CALL>S32UVT:'(_fn\"O>/", NorthLatitude, WestLongitude, 0},
        // Through a digipeater path and with a path SSID on the destination.
        PlaceCase{"N0CALL>S32UVT-2,WIDE1-1*:`(_fn\"O>/", NorthLatitude, WestLongitude, 0},
        // Ambiguity: blanks (K, L, Z) for the last digits; the longitude is cut alike and
        // the middle of the box is taken.
        PlaceCase{"N0CALL>S32UVZ:`(_fn\"O>/", 33.0 + 25.65 / 60.0, -(112.0 + 7.75 / 60.0), 1},
        PlaceCase{"N0CALL>S32UZZ:`(_fn\"O>/", 33.0 + 25.5 / 60.0, -(112.0 + 7.5 / 60.0), 2},
        PlaceCase{"N0CALL>S32ZZZ:`(_fn\"O>/", 33.0 + 25.0 / 60.0, -(112.0 + 5.0 / 60.0), 3},
        PlaceCase{"N0CALL>S3LZZZ:`(_fn\"O>/", 33.5, -112.5, 4},
        PlaceCase{"N0CALL>S3KZZZ:`(_fn\"O>/", 33.5, -112.5, 4}));

TEST(MicE, StatusTextBecomesTheComment) {
    const feed::AprsResult r = decodeLine("N0CALL>S32UVT:`(_fn\"O>/]Going home\r=");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.report.comment, QStringLiteral("]Going home="));
    EXPECT_EQ(r.report.micEMessage, QStringLiteral("Returning"));
}

struct BadCase {
    QByteArray line;
    AprsReject reason;
};

void PrintTo(const BadCase& c, std::ostream* os) {
    *os << c.line.toStdString();
}

class MicERejections : public testing::TestWithParam<BadCase> {};

TEST_P(MicERejections, AreRejectedWithTheirReason) {
    const BadCase& c = GetParam();
    const feed::AprsResult r = decodeLine(c.line);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(feed::aprsRejectText(r.reject).toStdString(),
              feed::aprsRejectText(c.reason).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Bad, MicERejections,
    testing::Values(
        BadCase{"N0CALL>S32DVT:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>S32UVK:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>S32MVT:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>s32uvt:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>S32UV:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>APRS:`(_fn\"O>/", AprsReject::BadMicEDestination},
        BadCase{"N0CALL>S3L5VT:`(_fn\"O>/", AprsReject::BadAmbiguity},
        BadCase{"N0CALL>SLZZZZ:`(_fn\"O>/", AprsReject::BadAmbiguity},
        BadCase{"N0CALL>S37UVT:`(_fn\"O>/", AprsReject::BadLatitude},
        BadCase{"N0CALL>S32UVT:`(_fn\"O>", AprsReject::Truncated},
        BadCase{"N0CALL>S32UVT:`", AprsReject::Truncated},
        BadCase{QByteArray("N0CALL>S32UVT:`\x1b_fn\"O>/"), AprsReject::BadMicEInformation},
        BadCase{QByteArray("N0CALL>S324VT:`\xE0_fn\"O>/"), AprsReject::BadMicEInformation},
        BadCase{QByteArray("N0CALL>S32UVT:`(\x1b"
                           "fn\"O>/"),
                AprsReject::BadMicEInformation},
        BadCase{QByteArray("N0CALL>S32UVT:`(_\x80n\"O>/"), AprsReject::BadMicEInformation},
        // 0-9 minutes must travel plus 60: "#" (7 + 28) is outside the encoding.
        BadCase{"N0CALL>S32UVT:`(#fn\"O>/", AprsReject::BadMicEInformation},
        BadCase{"N0CALL>S32UVT:`%_fn\"O>/", AprsReject::BadMicEInformation},
        BadCase{"N0CALL>S32UVT:`(_fn\"O>!", AprsReject::BadSymbolTable}));

TEST(MicE, DestinationCharactersOutsideTheTableAreRejected) {
    // Such destinations cannot come through the text parser; a frame can carry them.
    for (const char* destination : {"S32U!T", "S32U T", "S32U\x7fT"}) {
        feed::Ax25Frame frame;
        frame.source.callsign = QStringLiteral("N0CALL");
        frame.destination.callsign = QString::fromLatin1(destination);
        frame.info = Info;
        const feed::AprsResult r = feed::decodeAprs(frame);
        EXPECT_EQ(r.reject, AprsReject::BadMicEDestination) << destination;
    }
}

} // namespace
