// Guards against a packet put in the wrong place, under the wrong name, or taken when it is
// malformed: one table of packets as they come off the air or from APRS-IS.
#include <gtest/gtest.h>

#include <optional>

#include "FeedTestUtil.h"
#include "feed/AprsText.h"

namespace {

using feed::AprsReject;

struct Packet {
    QByteArray line;
    std::optional<AprsReject> reject; // set: refused for this reason
    const char* name = "";
    double latitude = 0;
    double longitude = 0;
    int ambiguity = 0;
    const char* comment = "";
    const char* symbol = nullptr; // table and code, when the row checks them
    bool killed = false;
    const char* micE = "";
    Packet killedToo() { return killed = true, *this; }
    Packet withSymbol(const char* s) { return symbol = s, *this; }
    Packet withMessage(const char* m) { return micE = m, *this; }
};

Packet taken(const char* line, const char* name, double lat, double lon, int ambiguity = 0,
             const char* comment = "") {
    return {line, std::nullopt, name, lat, lon, ambiguity, comment};
}
Packet refused(QByteArray line, AprsReject reason) {
    return {std::move(line), reason};
}

// 4903.50N/07201.75W, where most rows put their station.
constexpr double lat = 49.058333, lon = -72.029167;

// 33 25.64 N, 112 07.74 W in Mic-E: latitude digits in the destination, longitude in the
// information field.
constexpr double micELat = 33.0 + 25.64 / 60.0;
constexpr double micELon = -(112.0 + 7.74 / 60.0);

TEST(Decoding, givesThePlaceNameAndStateOrTheReason) {
    const Packet packets[] = {
        // Positions.
        taken("N0CALL>APRS:!4903.50N/07201.75W-Test 001234", "N0CALL", lat, lon, 0, "Test 001234"),
        taken("N0CALL>APRS:/092345z4903.50N/07201.75W>x", "N0CALL", lat, lon, 0, "x"),
        taken("VK2ABC>APRS:!3351.23S\\15112.34E&", "VK2ABC", -33.853833, 151.205667)
            .withSymbol("\\&"),
        taken("N0CALL>APRS:!9000.00N/18000.00E-", "N0CALL", 90.0, 180.0),
        taken("N0CALL>APRS:TheNet X1J4 (BFLD)!4903.50N/07201.75Wn", "N0CALL", lat, lon),
        // Ambiguity: the middle of the blanks' box; the latitude's blanks count for both.
        taken("N0CALL>APRS:!490 .  N/0720 .  W-", "N0CALL", 49.083333, -72.083333, 3),
        taken("N0CALL>APRS:!49  .  N/07201.75W-", "N0CALL", 49.5, -72.5, 4),
        taken("N0CALL>APRS:@092345z/5L!!<*e7>7P[moving", "N0CALL", 49.5, -72.75, 0, "moving"),
        taken("N0CALL>APRS:=a5L!!<*e7>7P[", "N0CALL", 49.5, -72.75).withSymbol("0>"),
        taken("VK2ABC>APRS:!/_Xxjtak'-  G", "VK2ABC", -33.8688, 151.2093),
        taken("N1GATE>APRS:}N0CALL-1>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-", "N0CALL-1", lat,
              lon),
        taken("N0CALL>APRS:;LEADER   *092345z4903.50N/07201.75W>088/036", "LEADER", lat, lon, 0,
              "088/036"),
        taken("N0CALL>APRS:)AID#2!4903.50N/07201.75WA", "AID#2", lat, lon),
        taken("N0CALL>APRS:)MOBIL_4903.50N/07201.75W>gone", "MOBIL", lat, lon, 0, "gone")
            .killedToo(),
        // Comments lose control characters; UTF-8 stays, other bytes are Latin-1.
        taken("N0CALL>APRS:!4903.50N/07201.75W-Hi\x01 there\x1b[2J\x7f", "N0CALL", lat, lon, 0,
              "Hi there[2J"),
        taken("N0CALL>APRS:!4903.50N/07201.75W-Gr\xC3\xBC\xC3\x9F"
              "e",
              "N0CALL", lat, lon, 0, "Grüße"),
        taken("N0CALL>APRS:!4903.50N/07201.75W-\xE9t\xE9", "N0CALL", lat, lon, 0, "été"),
        // Mic-E.
        taken("N0CALL-7>S32UVT:`(_fn\"O>/", "N0CALL-7", micELat, micELon).withMessage("Returning"),
        taken("N0CALL>332UVT:`(_fn\"O>/", "N0CALL", micELat, micELon).withMessage("Emergency"),
        taken("N0CALL>332564:`(_fn\"O>/", "N0CALL", -micELat, 12.0 + 7.74 / 60.0)
            .withMessage("Emergency"),
        // 0-9 degrees travel as 90-99 with the offset, 100-109 as 80-89.
        taken("N0CALL>3325V4:`{_fn\"O>/", "N0CALL", -micELat, 5.0 + 7.74 / 60.0)
            .withMessage("Emergency"),
        taken("N0CALL>S32UVT:`q_fn\"O>/", "N0CALL", micELat, -(105.0 + 7.74 / 60.0))
            .withMessage("Returning"),
        taken("N0CALL>S32UVT:`(5fn\"O>/", "N0CALL", micELat, -(112.0 + 25.74 / 60.0))
            .withMessage("Returning"),
        taken("N0CALL>S3LZZZ:`(_fn\"O>/", "N0CALL", 33.5, -112.5, 4).withMessage("Returning"),
        taken("N0CALL>S32UVT-2,WIDE1-1*:`(_fn\"O>/]Going home\r=", "N0CALL", micELat, micELon, 0,
              "]Going home=")
            .withMessage("Returning"),
        // Refused.
        refused("N0CALL>APRS:", AprsReject::Empty),
        refused("N0CALL>APRS:>Net control tonight", AprsReject::NoPosition),
        refused("N0CALL>APRS::N1ABC    :hello!4903.50N/07201.75W-", AprsReject::NoPosition),
        refused("N0CALL>APRS:!4903.50N/07201.75W", AprsReject::Truncated),
        refused("N0CALL>APRS:/0923", AprsReject::Truncated),
        refused("N0CALL>APRS:!9000.01N/07201.75W-", AprsReject::BadLatitude),
        refused("N0CALL>APRS:!4960.00N/07201.75W-", AprsReject::BadLatitude),
        refused("N0CALL>APRS:!4903.50N/18000.01E-", AprsReject::BadLongitude),
        refused("N0CALL>APRS:!49 3.50N/07201.75W-", AprsReject::BadAmbiguity),
        refused("N0CALL>APRS:!4903.50N/072  .  W-", AprsReject::BadAmbiguity),
        refused("N0CALL>APRS:!4903.50N|07201.75W-", AprsReject::BadSymbolTable),
        refused("N0CALL>APRS:@09a345z4903.50N/07201.75W>", AprsReject::BadTimestamp),
        refused("N0CALL>APRS:=/5L!~<*e7>7P[", AprsReject::BadCompressed),
        refused("N0CALL>APRS:=/||||<*e7>7P[", AprsReject::BadLatitude),
        // A name the store cannot keep, of an item or an object, is refused, not altered (the
        // rule is StorableName's).
        refused("N0CALL>APRS:)AID #2!4903.50N/07201.75WA", AprsReject::BadName),
        refused("N0CALL>APRS:;AB*      *092345z4903.50N/07201.75W>", AprsReject::BadName),
        refused("N0CALL>APRS:;LEADER   #092345z4903.50N/07201.75W>", AprsReject::BadObject),
        refused("N0CALL>APRS:)ABCDEFGHIJ!4903.50N/07201.75WA", AprsReject::BadObject),
        refused("N1GATE>APRS:}garbage", AprsReject::BadThirdParty),
        refused("N1GATE>APRS:}A>B:}C>D:}E>F:!4903.50N/07201.75W-", AprsReject::BadThirdParty),
        refused("N0CALL>S32DVT:`(_fn\"O>/", AprsReject::BadMicEDestination),
        refused("N0CALL>S3L5VT:`(_fn\"O>/", AprsReject::BadAmbiguity),
        refused("N0CALL>S37UVT:`(_fn\"O>/", AprsReject::BadLatitude),
        refused("N0CALL>S32UVT:`(_fn\"O>", AprsReject::Truncated),
        refused("N0CALL>S32UVT:`(#fn\"O>/", AprsReject::BadMicEInformation),
        refused(QByteArray("N0CALL>S32UVT:`(_\x80n\"O>/"), AprsReject::BadMicEInformation)};
    for (const Packet& p : packets) {
        SCOPED_TRACE(p.line.toStdString());
        const feed::AprsResult r = decodeLine(p.line);
        if (p.reject) {
            EXPECT_EQ(r.reject, *p.reject) << feed::aprsRejectText(r.reject).toStdString();
            continue;
        }
        ASSERT_TRUE(r.ok()) << feed::aprsRejectText(r.reject).toStdString();
        EXPECT_EQ(r.report.name.toStdString(), p.name);
        EXPECT_NEAR(r.report.latitude, p.latitude, 1e-4);
        EXPECT_NEAR(r.report.longitude, p.longitude, 1e-4);
        EXPECT_EQ(r.report.ambiguity, p.ambiguity);
        EXPECT_EQ(r.report.comment, QString::fromUtf8(p.comment));
        EXPECT_EQ(r.report.killed, p.killed);
        EXPECT_EQ(r.report.micEMessage.toStdString(), p.micE);
        if (p.symbol) {
            EXPECT_EQ(QString(r.report.symbolTable) + r.report.symbolCode,
                      QString::fromLatin1(p.symbol));
        }
    }
}

// One rule for names, whatever brings them (a packet, a scenario file, the command line).
TEST(StorableName, takesOneToNinePrintableAsciiWithoutBlankBarOrStar) {
    for (const char* name : {"N0CALL-9", "DB0ABC-S", "ABCDEFGHI"})
        EXPECT_TRUE(feed::isStorableName(QString::fromUtf8(name))) << name;
    for (const char* name :
         {"ABCDEFGHIJ", "", "AB CD", "AB|CD", "AB*", "*AB", "\u00c9A", "A\x1b[2J", "A\x7f"})
        EXPECT_FALSE(feed::isStorableName(QString::fromUtf8(name))) << name;
    EXPECT_EQ(
        feed::unusableNameText("A\r|%2"),
        R"(unusable name "A\r|%2" (1 to 9 printable ASCII characters, no blank, "|" or "*"))");
}

// What a terminal or a status line would act on is shown as an escape; text stays as it is.
TEST(VisibleText, writesControlCharactersAsEscapes) {
    const struct {
        QString text, shown;
    } rows[] = {{"G4CAR-9 caf\u00e9 \u20ac \\x1b", "G4CAR-9 caf\u00e9 \u20ac \\x1b"},
                {"a\x1b[2Jb\rc\nd\te", R"(a\x1b[2Jb\rc\nd\te)"},
                {QString(QChar(0)) + "\x7f" + QChar(0x9b), R"(\x00\x7f\x9b)"},
                {QString(QChar(0x2028)) + "x", R"(\u2028x)"}};
    for (const auto& row : rows)
        EXPECT_EQ(feed::visibleText(row.text), row.shown) << row.shown.toStdString();
}

} // namespace
