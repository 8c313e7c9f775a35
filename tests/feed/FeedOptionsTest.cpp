#include <gtest/gtest.h>

#include <QCommandLineParser>

#include "feed/FeedOptions.h"

namespace {

bool read(const QStringList& args, feed::FeedOptions& options, QString& error) {
    QCommandLineParser parser;
    feed::addFeedOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("kestrel32")} + args)) {
        error = parser.errorText();
        return false;
    }
    return feed::readFeedOptions(parser, options, error);
}

TEST(FeedOptions, ReadsEveryOption) {
    feed::FeedOptions o;
    QString error;
    ASSERT_TRUE(
        read({"--kiss", "127.0.0.1:8001", "--aprs-is", "rotate.aprs2.net:14580", "--login",
              "N0CALL", "--filter", "r/1/2/3", "--own", "N0CALL-9,-33.5,151.25", "--expire", "15"},
             o, error))
        << error.toStdString();
    EXPECT_EQ(o.kissHost, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(o.kissPort, 8001);
    EXPECT_EQ(o.aprsIsHost, QStringLiteral("rotate.aprs2.net"));
    EXPECT_EQ(o.aprsIsPort, 14580);
    EXPECT_EQ(o.login, QStringLiteral("N0CALL"));
    EXPECT_EQ(o.filter, QStringLiteral("r/1/2/3"));
    ASSERT_TRUE(o.own.has_value());
    EXPECT_EQ(o.own->callsign, QStringLiteral("N0CALL-9"));
    EXPECT_DOUBLE_EQ(o.own->latitude, -33.5);
    EXPECT_DOUBLE_EQ(o.own->longitude, 151.25);
    EXPECT_DOUBLE_EQ(o.expireMinutes, 15.0);
}

TEST(FeedOptions, DefaultsWithoutOptions) {
    feed::FeedOptions o;
    QString error;
    ASSERT_TRUE(read({}, o, error));
    EXPECT_FALSE(o.anyLink());
    EXPECT_FALSE(o.own.has_value());
    EXPECT_DOUBLE_EQ(o.expireMinutes, 60.0);
}

struct BadArgs {
    QStringList args;
    const char* message;
};

void PrintTo(const BadArgs& b, std::ostream* os) {
    *os << b.args.join(' ').toStdString();
}

class FeedOptionsBad : public testing::TestWithParam<BadArgs> {};

TEST_P(FeedOptionsBad, AreRefusedWithAMessage) {
    feed::FeedOptions o;
    QString error;
    EXPECT_FALSE(read(GetParam().args, o, error));
    EXPECT_EQ(error.toStdString(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Args, FeedOptionsBad,
    testing::Values(
        BadArgs{{"--kiss", "localhost"}, "--kiss needs HOST:PORT, not 'localhost'"},
        BadArgs{{"--kiss", "a:1", "--kiss", "b:2"}, "--kiss given more than once"},
        BadArgs{{"--aprs-is", "host:14580"}, "--aprs-is needs --login CALL"},
        BadArgs{{"--login", "N0CALL"}, "--login goes with --aprs-is"},
        BadArgs{{"--filter", "r/1/2/3"}, "--filter goes with --aprs-is"},
        BadArgs{{"--aprs-is", "host:14580", "--login", "N0 CALL"},
                "--login needs a callsign of letters, digits and '-', not 'N0 CALL'"},
        BadArgs{{"--aprs-is", "host:14580", "--login", "N0CALL", "--filter", "r/1\t2"},
                "--filter may hold printable ASCII only"},
        BadArgs{{"--own", "N0CALL,91,0"},
                "--own needs CALL,LAT,LON (degrees, north and east positive), not 'N0CALL,91,0'"},
        BadArgs{{"--own", "N0CALL,45,-181"},
                "--own needs CALL,LAT,LON (degrees, north and east "
                "positive), not 'N0CALL,45,-181'"},
        BadArgs{{"--own", "N0|CALL,45,7"},
                "--own needs CALL,LAT,LON (degrees, north and east "
                "positive), not 'N0|CALL,45,7'"},
        BadArgs{{"--own", "N0CALL,45"},
                "--own needs CALL,LAT,LON (degrees, north and east "
                "positive), not 'N0CALL,45'"},
        BadArgs{{"--own", "N0CALL"}, "--own CALL without a position needs --gpsd"},
        BadArgs{{"--gpsd", "2947"}, "--gpsd needs HOST:PORT, not '2947'"},
        BadArgs{{"--range", "12.5"},
                "--range needs a whole number of kilometres from 1 to 20000, not '12.5'"},
        BadArgs{{"--expire", "soon"}, "--expire needs a number of minutes, not 'soon'"},
        BadArgs{{"--expire", "0"}, "--expire needs more than 0 minutes"}));

} // namespace
