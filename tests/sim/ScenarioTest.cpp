#include <gtest/gtest.h>

#include "Scenario.h"

namespace {

const char* const goodScenario = R"({
  "unit": "nm",
  "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.5, "comment": "home"},
  "stations": [
    {"callsign": "G1CAR", "lat": 52.1, "lon": -1.4, "star": true, "comment": "car",
     "appear": 5, "vanish": 60,
     "track": [{"t": 10, "lat": 52.2, "lon": -1.3}, {"t": 20, "lat": 52.4, "lon": -1.1}]},
    {"callsign": "G2FIX", "lat": -33.5, "lon": 151.25}
  ],
  "deleteAll": [100, 200],
  "overlays": {"town.pos": ["Church!5200.00N/00130.00W", "caf\u00e9"]}
})";

TEST(ScenarioReader, readsEveryField) {
    const Scenario s = parseScenario(goodScenario, QStringLiteral("good.json"));
    EXPECT_EQ(s.unit, DistanceUnit::NauticalMiles);
    EXPECT_EQ(s.ownCallsign, QStringLiteral("G0OWN"));
    EXPECT_DOUBLE_EQ(s.ownLat, 52.0);
    EXPECT_DOUBLE_EQ(s.ownLon, -1.5);
    ASSERT_EQ(s.stations.size(), 2u);
    const ScenarioStation& car = s.stations[0];
    EXPECT_EQ(car.callsign, QStringLiteral("G1CAR"));
    EXPECT_TRUE(car.star);
    EXPECT_EQ(car.comment, QStringLiteral("car"));
    EXPECT_DOUBLE_EQ(car.appear, 5.0);
    ASSERT_TRUE(car.vanish.has_value());
    EXPECT_DOUBLE_EQ(*car.vanish, 60.0);
    ASSERT_EQ(car.track.size(), 2u);
    EXPECT_DOUBLE_EQ(car.track[1].lon, -1.1);
    const ScenarioStation& fixed = s.stations[1];
    EXPECT_FALSE(fixed.star);
    EXPECT_FALSE(fixed.vanish.has_value());
    EXPECT_DOUBLE_EQ(fixed.appear, 0.0);
    EXPECT_EQ(s.deleteAll, (std::vector<double>{100, 200}));
    ASSERT_EQ(s.overlays.size(), 1u);
    EXPECT_EQ(s.overlays[0].name, QStringLiteral("town.pos"));
    EXPECT_EQ(s.overlays[0].lines.value(1), QString::fromUtf8("café"));
}

TEST(ScenarioReader, emptyObjectIsATrackerWithoutStations) {
    const Scenario s = parseScenario("{}", QStringLiteral("empty.json"));
    EXPECT_EQ(s.unit, DistanceUnit::Kilometres);
    EXPECT_TRUE(s.ownCallsign.isEmpty());
    EXPECT_TRUE(s.stations.empty());
}

TEST(ScenarioReader, missingFileIsNamed) {
    try {
        readScenarioFile(QStringLiteral("/nonexistent/x.json"));
        FAIL() << "no error";
    } catch (const ScenarioError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("scenario /nonexistent/x.json: ")))
            << e.what();
    }
}

struct BadScenario {
    const char* json;
    const char* fault; // expected message after "scenario bad.json: "
};

void PrintTo(const BadScenario& c, std::ostream* os) {
    *os << c.fault;
}

class ScenarioFaults : public ::testing::TestWithParam<BadScenario> {};

TEST_P(ScenarioFaults, nameTheFileAndTheFault) {
    try {
        parseScenario(GetParam().json, QStringLiteral("bad.json"));
        FAIL() << "accepted " << GetParam().json;
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("scenario bad.json: ") + QLatin1String(GetParam().fault));
    }
}

INSTANTIATE_TEST_SUITE_P(
    , ScenarioFaults,
    ::testing::Values(
        BadScenario{"[1]", "the top level is not an object"},
        BadScenario{R"({"unit": "furlong"})",
                    "\"unit\" \"furlong\" is not \"km\", \"mi\" or \"nm\""},
        BadScenario{R"({"own": {"callsign": "A", "lat": 91, "lon": 0}})",
                    "own: \"lat\" 91 is outside -90..90"},
        BadScenario{R"({"own": {"callsign": "A", "lat": 1}})", "own: missing \"lon\""},
        BadScenario{R"({"stations": [{"lat": 1, "lon": 2}]})", "station 1: missing \"callsign\""},
        BadScenario{R"({"stations": [{"callsign": "B C", "lat": 1, "lon": 2}]})",
                    "station 1: callsign \"B C\" may not contain blanks or \"*\""},
        BadScenario{R"({"stations": [{"callsign": "B", "lat": 1, "lon": 181}]})",
                    "station 1 (B): \"lon\" 181 is outside -180..180"},
        BadScenario{R"({"stations": [{"callsign": "B", "lat": "1", "lon": 1}]})",
                    "station 1 (B): \"lat\" is not a number"},
        BadScenario{R"({"stations": [{"callsign": "B", "lat": 1, "lon": 1, "track":
                      [{"t": 10, "lat": 1, "lon": 1}, {"t": 5, "lat": 1, "lon": 1}]}]})",
                    "station 1 (B) track point 2: \"t\" 5 is not after 10 of the point before"},
        BadScenario{R"({"stations": [{"callsign": "B", "lat": 1, "lon": 1, "track":
                      [{"t": 1, "lat": -95, "lon": 1}]}]})",
                    "station 1 (B) track point 1: \"lat\" -95 is outside -90..90"},
        BadScenario{R"({"stations": [{"callsign": "B", "lat": 1, "lon": 1, "appear": 9,
                      "vanish": 9}]})",
                    "station 1 (B): \"vanish\" 9 is not after \"appear\" 9"},
        BadScenario{R"({"own": {"callsign": "B", "lat": 1, "lon": 1},
                      "stations": [{"callsign": "B", "lat": 1, "lon": 1}]})",
                    "station 1: callsign \"B\" appears twice"},
        BadScenario{R"({"deleteAll": [5, 3]})", "\"deleteAll\" is not in time order"},
        BadScenario{R"({"overlays": {"../x.pos": ["a"]}})",
                    "overlay \"../x.pos\": is not a plain file name"},
        BadScenario{R"({"overlays": {"x.pos": ["\u20ac"]}})",
                    "overlay \"x.pos\": line 1 has a character outside Latin-1"}));

TEST(ScenarioReader, brokenJsonSaysWhere) {
    try {
        parseScenario("{\"unit\": ", QStringLiteral("cut.json"));
        FAIL();
    } catch (const ScenarioError& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("scenario cut.json: not valid JSON (")))
            << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("at byte"))) << e.what();
    }
}

TEST(TrackPosition, holdsBeforeMovesBetweenAndStopsAfter) {
    ScenarioStation s;
    s.lat = 10.0;
    s.lon = 20.0;
    s.track = {{10.0, 11.0, 21.0}, {20.0, 13.0, 25.0}};
    TrackPoint p = positionAt(s, 5.0);
    EXPECT_DOUBLE_EQ(p.lat, 10.0);
    EXPECT_DOUBLE_EQ(p.lon, 20.0);
    p = positionAt(s, 10.0);
    EXPECT_DOUBLE_EQ(p.lat, 11.0);
    p = positionAt(s, 15.0);
    EXPECT_DOUBLE_EQ(p.lat, 12.0);
    EXPECT_DOUBLE_EQ(p.lon, 23.0);
    p = positionAt(s, 99.0);
    EXPECT_DOUBLE_EQ(p.lat, 13.0);
    EXPECT_DOUBLE_EQ(p.lon, 25.0);
}

} // namespace
