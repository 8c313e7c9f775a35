// Guards against a field taken that a feed would refuse (or changed behind the operator's
// back), a position read wrongly from degrees and minutes, and a message that does not say
// what is wrong.
#include <gtest/gtest.h>

#include "SetupRules.h"

namespace {

using setup::Axis;

TEST(Callsign, isCheckedAsTheFeedsCarryIt) {
    // value; the problem ("" when taken)
    const std::pair<const char*, const char*> rows[] = {
        {"G0ABC", ""},
        {"G0ABC-9", ""},
        {"N0CALL-15", ""},
        {"", "Enter your callsign, for example G0ABC or G0ABC-9."},
        {"g0abc-9", "Use capital letters: G0ABC-9."},
        {"G0ABC-16", "The SSID after \"-\" is a number from 1 to 15."},
        {"G0ABC-0", "The SSID after \"-\" is a number from 1 to 15."},
        {"G0ABC-", "The SSID after \"-\" is a number from 1 to 15."},
        {"G0ABCDE", "The callsign before the SSID has 1 to 6 letters and digits."},
        {"-9", "The callsign before the SSID has 1 to 6 letters and digits."},
        {"G0 ABC", "A callsign holds letters and digits, with an optional -SSID."},
        {"G0|ABC", "A callsign holds letters and digits, with an optional -SSID."},
        {"G0-A-1", "A callsign holds letters and digits, with an optional -SSID."}};
    for (const auto& [text, problem] : rows)
        EXPECT_EQ(setup::callsignProblem(QString::fromUtf8(text)).toStdString(), problem) << text;
}

TEST(Position, readsDecimalDegreesAndDegreesWithMinutes) {
    // text, axis, degrees (or the problem)
    const struct {
        const char* text;
        Axis axis;
        double degrees;
        const char* problem;
    } rows[] = {
        {"52.0583", Axis::Latitude, 52.0583, ""},
        {"-1.0833", Axis::Longitude, -1.0833, ""},
        {"52 03.498", Axis::Latitude, 52.0583, ""},
        {"52\u00b003.498'N", Axis::Latitude, 52.0583, ""},
        {"W 1 05.0", Axis::Longitude, -(1.0 + 5.0 / 60.0), ""},
        {"1 05.0 w", Axis::Longitude, -(1.0 + 5.0 / 60.0), ""},
        {"-33 52.5", Axis::Latitude, -(33.0 + 52.5 / 60.0), ""},
        {"33 52.5 S", Axis::Latitude, -(33.0 + 52.5 / 60.0), ""},
        {"180", Axis::Longitude, 180.0, ""},
        {"90.0001", Axis::Latitude, 0, "A latitude lies between 90 S and 90 N."},
        {"181 W", Axis::Longitude, 0, "A longitude lies between 180 W and 180 E."},
        {"52 60.0", Axis::Latitude, 0, "Minutes go from 0 to 59.999."},
        {"52,0583", Axis::Latitude, 0, "Use \".\" as the decimal point (52.0583 or 52 03.50 N)."},
        {"-52 N", Axis::Latitude, 0, "Give either a sign or N/S, not both."},
        // E is a longitude's letter: a latitude with it does not read.
        {"52 E", Axis::Latitude, 0, "Enter degrees (52.0583 or 52 03.50 N)."},
        {"52.5 03", Axis::Latitude, 0, "Enter degrees (52.0583 or 52 03.50 N)."},
        {"", Axis::Longitude, 0, "Enter degrees (-1.0833 or 1 05.00 W)."},
        {"1e2", Axis::Longitude, 0, "Enter degrees (-1.0833 or 1 05.00 W)."}};
    for (const auto& row : rows) {
        double degrees = -999.0;
        const QString problem =
            setup::coordinateProblem(QString::fromUtf8(row.text), row.axis, &degrees);
        EXPECT_EQ(problem.toStdString(), row.problem) << row.text;
        if (problem.isEmpty()) {
            EXPECT_NEAR(degrees, row.degrees, 1e-9) << row.text;
        }
    }
}

// The field's reading, and the parser's that the command line shares.
TEST(HostAndPort, takesTheDefaultPortAndRefusesBadOnes) {
    // text, default port, HOST:PORT taken (or the problem)
    const struct {
        const char* text;
        quint16 defaultPort;
        const char* result;
    } rows[] = {{"rotate.aprs2.net", 14580, "rotate.aprs2.net:14580"},
                {" 127.0.0.1:8001 ", 8001, "127.0.0.1:8001"},
                {"[::1]", 2947, "[::1]:2947"},
                {"host:0", 8001, "The port after \":\" is a number from 1 to 65535."},
                {"host:65536", 8001, "The port after \":\" is a number from 1 to 65535."},
                {"host:+80", 8001, "The port after \":\" is a number from 1 to 65535."},
                {"::1:8001", 8001, "Enter HOST:PORT, for example 127.0.0.1:8001."},
                {"local host:8001", 8001, "Enter HOST:PORT, for example 127.0.0.1:8001."},
                {"host:port", 8001, "The port after \":\" is a number from 1 to 65535."},
                {"", 14580, "Enter HOST:PORT, for example 127.0.0.1:14580."},
                {"::1", 2947, "Enter HOST:PORT, for example 127.0.0.1:2947."}};
    for (const auto& row : rows) {
        QString normalised;
        const QString problem =
            setup::addressProblem(QString::fromUtf8(row.text), row.defaultPort, &normalised);
        EXPECT_EQ((problem.isEmpty() ? normalised : problem).toStdString(), row.result) << row.text;
    }
}

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
