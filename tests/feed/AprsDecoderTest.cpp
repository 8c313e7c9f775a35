#include <gtest/gtest.h>

#include "FeedTestUtil.h"

using feed::AprsReject;
using feed::PositionReport;

namespace {

struct Decoded {
    const char* line;
    const char* name;
    double latitude;
    double longitude;
    int ambiguity;
    char table;
    char code;
    const char* comment;
};

void PrintTo(const Decoded& d, std::ostream* os) {
    *os << d.line;
}

class AprsPositions : public testing::TestWithParam<Decoded> {};

TEST_P(AprsPositions, DecodesToTheRightPlace) {
    const Decoded& d = GetParam();
    const feed::AprsResult r = decodeLine(d.line);
    ASSERT_TRUE(r.ok()) << feed::aprsRejectText(r.reject).toStdString();
    EXPECT_EQ(r.report.name.toStdString(), d.name);
    EXPECT_NEAR(r.report.latitude, d.latitude, DegreeTolerance);
    EXPECT_NEAR(r.report.longitude, d.longitude, DegreeTolerance);
    EXPECT_EQ(r.report.ambiguity, d.ambiguity);
    EXPECT_EQ(r.report.symbolTable, QLatin1Char(d.table));
    EXPECT_EQ(r.report.symbolCode, QLatin1Char(d.code));
    EXPECT_EQ(r.report.comment.toStdString(), d.comment);
    EXPECT_FALSE(r.report.killed);
}

// Examples of the protocol document and packets of our own. Expected degrees are
// worked out by hand from DD + MM.hh / 60.
INSTANTIATE_TEST_SUITE_P(
    Uncompressed, AprsPositions,
    testing::Values(
        Decoded{"N0CALL>APRS:!4903.50N/07201.75W-Test 001234", "N0CALL", 49.058333, -72.029167, 0,
                '/', '-', "Test 001234"},
        Decoded{"N0CALL-9>APRS:=4903.50N/07201.75W-", "N0CALL-9", 49.058333, -72.029167, 0, '/',
                '-', ""},
        Decoded{"N0CALL>APRS:/092345z4903.50N/07201.75W>Test1234", "N0CALL", 49.058333, -72.029167,
                0, '/', '>', "Test1234"},
        Decoded{"N0CALL>APRS:@092345/4903.50N/07201.75W>Test1234", "N0CALL", 49.058333, -72.029167,
                0, '/', '>', "Test1234"},
        Decoded{"N0CALL>APRS:@234517h4903.50N/07201.75W>", "N0CALL", 49.058333, -72.029167, 0, '/',
                '>', ""},
        Decoded{"VK2ABC>APRS:!3351.23S\\15112.34E&", "VK2ABC", -33.853833, 151.205667, 0, '\\', '&',
                ""},
        Decoded{"N0CALL>APRS:!4903.50N307201.75W#", "N0CALL", 49.058333, -72.029167, 0, '3', '#',
                ""},
        Decoded{"N0CALL>APRS:!9000.00N/18000.00E-", "N0CALL", 90.0, 180.0, 0, '/', '-', ""},
        Decoded{"N0CALL>APRS:!0000.00S/00000.00W-", "N0CALL", 0.0, 0.0, 0, '/', '-', ""},
        Decoded{"N0CALL>APRS:TheNet X1J4 (BFLD)!4903.50N/07201.75Wn", "N0CALL", 49.058333,
                -72.029167, 0, '/', 'n', ""}));

// Ambiguity: the middle of the box that the blank digits span; the latitude's blanks
// apply to the longitude too, blank or not.
INSTANTIATE_TEST_SUITE_P(Ambiguity, AprsPositions,
                         testing::Values(Decoded{"N0CALL>APRS:!4903.5 N/07201.7 W-", "N0CALL",
                                                 49.059167, -72.029167, 1, '/', '-', ""},
                                         Decoded{"N0CALL>APRS:!4903.  N/07201.  W-", "N0CALL",
                                                 49.058333, -72.025, 2, '/', '-', ""},
                                         Decoded{"N0CALL>APRS:!490 .  N/0720 .  W-", "N0CALL",
                                                 49.083333, -72.083333, 3, '/', '-', ""},
                                         Decoded{"N0CALL>APRS:!49  .  N/072  .  W-", "N0CALL", 49.5,
                                                 -72.5, 4, '/', '-', ""},
                                         Decoded{"N0CALL>APRS:!49  .  N/07201.75W-", "N0CALL", 49.5,
                                                 -72.5, 4, '/', '-', ""},
                                         Decoded{"N0CALL>APRS:!3351.  S\\15112.  E&", "N0CALL",
                                                 -33.858333, 151.208333, 2, '\\', '&', ""}));

INSTANTIATE_TEST_SUITE_P(
    Compressed, AprsPositions,
    testing::Values(
        Decoded{"N0CALL>APRS:=/5L!!<*e7>7P[", "N0CALL", 49.5, -72.75, 0, '/', '>', ""},
        Decoded{"N0CALL>APRS:!/5L!!<*e7>{?!", "N0CALL", 49.5, -72.75, 0, '/', '>', ""},
        Decoded{"N0CALL>APRS:@092345z/5L!!<*e7>7P[moving", "N0CALL", 49.5, -72.75, 0, '/', '>',
                "moving"},
        Decoded{"N0CALL>APRS:=a5L!!<*e7>7P[", "N0CALL", 49.5, -72.75, 0, '0', '>', ""},
        Decoded{"N0CALL>APRS:=\\5L!!<*e7>7P[", "N0CALL", 49.5, -72.75, 0, '\\', '>', ""},
        Decoded{"VK2ABC>APRS:!/_Xxjtak'-  G", "VK2ABC", -33.8688, 151.2093, 0, '/', '-', ""}));

INSTANTIATE_TEST_SUITE_P(ThirdParty, AprsPositions,
                         testing::Values(Decoded{
                             "N1GATE>APRS:}N0CALL-1>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-",
                             "N0CALL-1", 49.058333, -72.029167, 0, '/', '-', ""}));

struct ObjectCase {
    const char* line;
    PositionReport::Kind kind;
    const char* name;
    bool killed;
    double latitude;
    double longitude;
    const char* comment;
};

void PrintTo(const ObjectCase& c, std::ostream* os) {
    *os << c.line;
}

class AprsObjects : public testing::TestWithParam<ObjectCase> {};

TEST_P(AprsObjects, CarryTheirOwnNameAndState) {
    const ObjectCase& c = GetParam();
    const feed::AprsResult r = decodeLine(c.line);
    ASSERT_TRUE(r.ok()) << feed::aprsRejectText(r.reject).toStdString();
    EXPECT_EQ(r.report.kind, c.kind);
    EXPECT_EQ(r.report.name.toStdString(), c.name);
    EXPECT_EQ(r.report.sender, QStringLiteral("N0CALL"));
    EXPECT_EQ(r.report.killed, c.killed);
    EXPECT_NEAR(r.report.latitude, c.latitude, DegreeTolerance);
    EXPECT_NEAR(r.report.longitude, c.longitude, DegreeTolerance);
    EXPECT_EQ(r.report.comment.toStdString(), c.comment);
}

using Kind = PositionReport::Kind;
INSTANTIATE_TEST_SUITE_P(
    ObjectsAndItems, AprsObjects,
    testing::Values(ObjectCase{"N0CALL>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036",
                               Kind::Object, "LEADER", false, 49.058333, -72.029167, "088/036"},
                    ObjectCase{"N0CALL>APRS:;LEADER   _092345z4903.50N/07201.75W>088/036",
                               Kind::Object, "LEADER", true, 49.058333, -72.029167, "088/036"},
                    ObjectCase{"N0CALL>APRS:;LEADER   *092345z/5L!!<*e7>7P[", Kind::Object,
                               "LEADER", false, 49.5, -72.75, ""},
                    ObjectCase{"N0CALL>APRS:;HURRICANE*092345z49  .  N/072  .  W@", Kind::Object,
                               "HURRICANE", false, 49.5, -72.5, ""},
                    ObjectCase{"N0CALL>APRS:)AID#2!4903.50N/07201.75WA", Kind::Item, "AID#2", false,
                               49.058333, -72.029167, ""},
                    ObjectCase{"N0CALL>APRS:)MOBIL_4903.50N/07201.75W>gone", Kind::Item, "MOBIL",
                               true, 49.058333, -72.029167, "gone"},
                    ObjectCase{"N0CALL>APRS:)G/WB4APR!53  .  N\\002  .  Wd", Kind::Item, "G/WB4APR",
                               false, 53.5, -2.5, ""},
                    ObjectCase{"N0CALL>APRS:)MOBIL!\\5L!!<*e7>7P[", Kind::Item, "MOBIL", false,
                               49.5, -72.75, ""},
                    ObjectCase{"N0CALL>APRS:)ABC!4903.50N/07201.75WA", Kind::Item, "ABC", false,
                               49.058333, -72.029167, ""},
                    ObjectCase{"N0CALL>APRS:)ABCDEFGHI!4903.50N/07201.75WA", Kind::Item,
                               "ABCDEFGHI", false, 49.058333, -72.029167, ""}));

struct Rejected {
    const char* line;
    AprsReject reason;
};

void PrintTo(const Rejected& r, std::ostream* os) {
    *os << r.line;
}

class AprsRejections : public testing::TestWithParam<Rejected> {};

TEST_P(AprsRejections, AreRejectedWithTheirReason) {
    const Rejected& c = GetParam();
    const feed::AprsResult r = decodeLine(c.line);
    EXPECT_FALSE(r.ok());
    EXPECT_EQ(feed::aprsRejectText(r.reject).toStdString(),
              feed::aprsRejectText(c.reason).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    BadPackets, AprsRejections,
    testing::Values(
        Rejected{"N0CALL>APRS:", AprsReject::Empty},
        Rejected{"N0CALL>APRS:>Net control tonight", AprsReject::NoPosition},
        Rejected{"N0CALL>APRS::N1ABC    :hello!4903.50N/07201.75W-", AprsReject::NoPosition},
        Rejected{"N0CALL>APRS:T#005,199,000,255,073,123,01101001", AprsReject::NoPosition},
        Rejected{"N0CALL>APRS:$GPRMC,123519,A,4807.038,N,01131.000,E", AprsReject::NoPosition},
        Rejected{"N0CALL>APRS:!4903.50N/07201.75W", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:!", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:=/5L!!<*e7>7P", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:/092345z", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:/0923", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:!9103.50N/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!9000.01N/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!4960.00N/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!4903.50X/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!4903,50N/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!4903.50n/07201.75W-", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:!4903.50N/18100.00W-", AprsReject::BadLongitude},
        Rejected{"N0CALL>APRS:!4903.50N/18000.01E-", AprsReject::BadLongitude},
        Rejected{"N0CALL>APRS:!4903.50N/07260.00W-", AprsReject::BadLongitude},
        Rejected{"N0CALL>APRS:!4903.50N/07201.75Q-", AprsReject::BadLongitude},
        Rejected{"N0CALL>APRS:!49 3.50N/07201.75W-", AprsReject::BadAmbiguity},
        Rejected{"N0CALL>APRS:!4   .  N/072  .  W-", AprsReject::BadAmbiguity},
        Rejected{"N0CALL>APRS:!4903.50N/072  .  W-", AprsReject::BadAmbiguity},
        Rejected{"N0CALL>APRS:!4903.50N|07201.75W-", AprsReject::BadSymbolTable},
        Rejected{"N0CALL>APRS:!4903.50Na07201.75W-", AprsReject::BadSymbolTable},
        Rejected{"N0CALL>APRS:!4903.50N/07201.75W ", AprsReject::BadSymbolTable},
        Rejected{"N0CALL>APRS:/092345x4903.50N/07201.75W>", AprsReject::BadTimestamp},
        Rejected{"N0CALL>APRS:@09a345z4903.50N/07201.75W>", AprsReject::BadTimestamp},
        Rejected{"N0CALL>APRS:=/5L!~<*e7>7P[", AprsReject::BadCompressed},
        Rejected{"N0CALL>APRS:=/||||<*e7>7P[", AprsReject::BadLatitude},
        Rejected{"N0CALL>APRS:=/5L!!||||>7P[", AprsReject::BadLongitude},
        Rejected{"N0CALL>APRS:=k5L!!<*e7>7P[", AprsReject::BadSymbolTable},
        // The protocol document's own item example: a blank in the name would split the
        // entry text, so it is refused rather than altered.
        Rejected{"N0CALL>APRS:)AID #2!4903.50N/07201.75WA", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;BIG EVENT*092345z4903.50N/07201.75W>", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;LEAD|ER   *092345z4903.50N/07201.75W>", AprsReject::BadObject},
        Rejected{"N0CALL>APRS:;LEAD|ER  *092345z4903.50N/07201.75W>", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;LEAD\tER  *092345z4903.50N/07201.75W>", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;LEAD\xC9R   *092345z4903.50N/07201.75W>", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;         *092345z4903.50N/07201.75W>", AprsReject::BadName},
        Rejected{"N0CALL>APRS:;LEADER   #092345z4903.50N/07201.75W>", AprsReject::BadObject},
        Rejected{"N0CALL>APRS:;LEADER   *0923454903.50N/07201.75W>", AprsReject::BadTimestamp},
        Rejected{"N0CALL>APRS:;LEADER", AprsReject::Truncated},
        Rejected{"N0CALL>APRS:)AB!4903.50N/07201.75WA", AprsReject::BadObject},
        Rejected{"N0CALL>APRS:)ABCDEFGHIJ!4903.50N/07201.75WA", AprsReject::BadObject},
        Rejected{"N0CALL>APRS:)ABCD", AprsReject::Truncated},
        Rejected{"N1GATE>APRS:}garbage", AprsReject::BadThirdParty},
        Rejected{"N1GATE>APRS:}A>B:}C>D:}E>F:!4903.50N/07201.75W-", AprsReject::BadThirdParty}));

TEST(AprsComment, ControlCharactersAreRemoved) {
    const feed::AprsResult r =
        decodeLine("N0CALL>APRS:!4903.50N/07201.75W-Hi\x01 there\x1b[2J\x7f");
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.report.comment, QStringLiteral("Hi there[2J"));
}

TEST(AprsComment, Utf8IsKeptAndOtherBytesReadAsLatin1) {
    const feed::AprsResult utf8 = decodeLine("N0CALL>APRS:!4903.50N/07201.75W-Gr\xC3\xBC\xC3\x9F"
                                             "e");
    ASSERT_TRUE(utf8.ok());
    EXPECT_EQ(utf8.report.comment, QString::fromUtf8("Grüße"));
    const feed::AprsResult latin1 = decodeLine("N0CALL>APRS:!4903.50N/07201.75W-\xE9t\xE9");
    ASSERT_TRUE(latin1.ok());
    EXPECT_EQ(latin1.report.comment, QString::fromUtf8("été"));
}

TEST(AprsDecoder, EveryRejectReasonHasItsOwnText) {
    QStringList texts;
    for (int i = 0; i < feed::AprsRejectCount; ++i)
        texts << feed::aprsRejectText(static_cast<AprsReject>(i));
    texts.removeDuplicates();
    EXPECT_EQ(texts.size(), feed::AprsRejectCount);
    EXPECT_FALSE(texts.contains(QString()));
}

} // namespace
