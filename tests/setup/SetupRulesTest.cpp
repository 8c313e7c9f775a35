// Guards against a field taken that a feed would refuse (or changed behind the operator's
// back), a position read wrongly from degrees and minutes, and a message that does not say
// what is wrong.
#include <gtest/gtest.h>

#include "SetupRules.h"

namespace {

using setup::Axis;

// value; the problem ("" when taken)
struct Field {
    const char* text;
    const char* problem;
};

class Callsign : public testing::TestWithParam<Field> {};
TEST_P(Callsign, isCheckedAsTheFeedsCarryIt) {
    EXPECT_EQ(setup::callsignProblem(QString::fromUtf8(GetParam().text)).toStdString(),
              GetParam().problem);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, Callsign,
    testing::Values(Field{"G0ABC", ""}, Field{"G0ABC-9", ""}, Field{"N0CALL-15", ""},
                    Field{"", "Enter your callsign, for example G0ABC or G0ABC-9."},
                    Field{"g0abc-9", "Use capital letters: G0ABC-9."},
                    Field{"G0ABC-16", "The SSID after \"-\" is a number from 1 to 15."},
                    Field{"G0ABC-0", "The SSID after \"-\" is a number from 1 to 15."},
                    Field{"G0ABC-", "The SSID after \"-\" is a number from 1 to 15."},
                    Field{"G0ABCDE", "The callsign before the SSID has 1 to 6 letters and digits."},
                    Field{"-9", "The callsign before the SSID has 1 to 6 letters and digits."},
                    Field{"G0 ABC", "A callsign holds letters and digits, with an optional -SSID."},
                    Field{"G0|ABC", "A callsign holds letters and digits, with an optional -SSID."},
                    Field{"G0-A-1",
                          "A callsign holds letters and digits, with an optional -SSID."}));

// text, axis, degrees (or the problem)
struct Coordinate {
    const char* text;
    Axis axis;
    double degrees;
    const char* problem;
};

class Position : public testing::TestWithParam<Coordinate> {};
TEST_P(Position, readsDecimalDegreesAndDegreesWithMinutes) {
    double degrees = -999.0;
    const QString problem =
        setup::coordinateProblem(QString::fromUtf8(GetParam().text), GetParam().axis, &degrees);
    EXPECT_EQ(problem.toStdString(), GetParam().problem);
    if (problem.isEmpty()) {
        EXPECT_NEAR(degrees, GetParam().degrees, 1e-9);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Rules, Position,
    testing::Values(
        Coordinate{"52.0583", Axis::Latitude, 52.0583, ""},
        Coordinate{"-1.0833", Axis::Longitude, -1.0833, ""},
        Coordinate{"52 03.498", Axis::Latitude, 52.0583, ""},
        Coordinate{"52\u00b003.498'N", Axis::Latitude, 52.0583, ""},
        Coordinate{"W 1 05.0", Axis::Longitude, -(1.0 + 5.0 / 60.0), ""},
        Coordinate{"1 05.0 w", Axis::Longitude, -(1.0 + 5.0 / 60.0), ""},
        Coordinate{"-33 52.5", Axis::Latitude, -(33.0 + 52.5 / 60.0), ""},
        Coordinate{"33 52.5 S", Axis::Latitude, -(33.0 + 52.5 / 60.0), ""},
        Coordinate{"180", Axis::Longitude, 180.0, ""},
        Coordinate{"90.0001", Axis::Latitude, 0, "A latitude lies between 90 S and 90 N."},
        Coordinate{"181 W", Axis::Longitude, 0, "A longitude lies between 180 W and 180 E."},
        Coordinate{"52 60.0", Axis::Latitude, 0, "Minutes go from 0 to 59.999."},
        Coordinate{"52,0583", Axis::Latitude, 0,
                   "Use \".\" as the decimal point (52.0583 or 52 03.50 N)."},
        Coordinate{"-52 N", Axis::Latitude, 0, "Give either a sign or N/S, not both."},
        // E is a longitude's letter: a latitude with it does not read.
        Coordinate{"52 E", Axis::Latitude, 0, "Enter degrees (52.0583 or 52 03.50 N)."},
        Coordinate{"52.5 03", Axis::Latitude, 0, "Enter degrees (52.0583 or 52 03.50 N)."},
        Coordinate{"", Axis::Longitude, 0, "Enter degrees (-1.0833 or 1 05.00 W)."},
        Coordinate{"1e2", Axis::Longitude, 0, "Enter degrees (-1.0833 or 1 05.00 W)."}));

// text, default port, HOST:PORT taken (or the problem)
struct Address {
    const char* text;
    quint16 defaultPort;
    const char* result;
};

class HostAndPort : public testing::TestWithParam<Address> {};
TEST_P(HostAndPort, takesTheDefaultPortAndRefusesBadOnes) {
    QString normalised;
    const QString problem = setup::addressProblem(QString::fromUtf8(GetParam().text),
                                                  GetParam().defaultPort, &normalised);
    EXPECT_EQ((problem.isEmpty() ? normalised : problem).toStdString(), GetParam().result);
}
INSTANTIATE_TEST_SUITE_P(
    Rules, HostAndPort,
    testing::Values(Address{"rotate.aprs2.net", 14580, "rotate.aprs2.net:14580"},
                    Address{" 127.0.0.1:8001 ", 8001, "127.0.0.1:8001"},
                    Address{"[::1]", 2947, "[::1]:2947"}, Address{"[::1]:2948", 2947, "[::1]:2948"},
                    Address{"host:0", 8001, "The port after \":\" is a number from 1 to 65535."},
                    Address{"host:65536", 8001,
                            "The port after \":\" is a number from 1 to 65535."},
                    Address{"host:port", 8001, "The port after \":\" is a number from 1 to 65535."},
                    Address{"", 14580, "Enter HOST:PORT, for example 127.0.0.1:14580."},
                    Address{"::1", 2947, "Enter HOST:PORT, for example 127.0.0.1:2947."},
                    Address{"bad host:1", 8001, "Enter HOST:PORT, for example 127.0.0.1:8001."}));

TEST(LoginAndPasscode, followTheAprsIsLoginLine) {
    EXPECT_EQ(setup::loginProblem("G0ABC-10"), "");
    EXPECT_EQ(setup::loginProblem("g0abc"), ""); // servers take logins in any case
    EXPECT_EQ(setup::loginProblem("G0ABC pass 1"), "A login has 1 to 9 letters, digits and \"-\".");
    EXPECT_EQ(setup::loginProblem("G0ABCDE-10"), "A login has 1 to 9 letters, digits and \"-\".");
    EXPECT_EQ(setup::passcodeProblem(""), "");
    EXPECT_EQ(setup::passcodeProblem("12345"), "");
    for (const char* bad : {"-1", "32768", "12a", "+5"})
        EXPECT_EQ(setup::passcodeProblem(bad),
                  "The passcode is a number from 0 to 32767; leave it empty to receive only.")
            << bad;
}

} // namespace
