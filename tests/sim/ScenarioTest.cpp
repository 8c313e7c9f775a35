// Guards against a scenario read wrongly (a field lost, a track played in the wrong order)
// or a bad one taken without saying which file, station and field are wrong.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "Scenario.h"
#include "feed/AprsText.h"

namespace {

// Appearing, vanishing, tracks and clearing are read by the tracker-model and event tests,
// the own station and overlays by a real start; what no behaviour there shows is read here.
TEST(ScenarioReader, readsTheUnitStarsAndComments) {
    const Scenario s = parseScenario(R"({"unit": "nm",
      "own": {"callsign": "G0OWN", "lat": 52.0, "lon": -1.5, "comment": "home"},
      "stations": [{"callsign": "G1CAR", "lat": 52.1, "lon": -1.4, "star": true, "comment": "car"},
                   {"callsign": "G2FIX", "lat": -33.5, "lon": 151.25}]})",
                                     QStringLiteral("good.json"));
    EXPECT_EQ(s.unit, DistanceUnit::NauticalMiles);
    ASSERT_EQ(s.stations.size(), 2u);
    EXPECT_TRUE(s.stations[0].star);
    EXPECT_EQ(s.stations[0].comment, QStringLiteral("car"));
    EXPECT_FALSE(s.stations[1].star || s.stations[1].vanish.has_value());
}

class ScenarioFaults : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ScenarioFaults, nameTheFileAndTheFault) {
    try {
        parseScenario(GetParam().first, QStringLiteral("bad.json"));
        FAIL() << "accepted " << GetParam().first;
    } catch (const ScenarioError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("scenario bad.json: ") + GetParam().second);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Scenarios, ScenarioFaults,
    ::testing::Values(
        std::pair{"[1]", "the top level is not an object"},
        std::pair{R"({"unit": "furlong"})", "\"unit\" \"furlong\" is not \"km\", \"mi\" or \"nm\""},
        std::pair{R"({"own": {"callsign": "A", "lat": 91, "lon": 0}})",
                  "own: \"lat\" 91 is outside -90..90"},
        std::pair{R"({"stations": [{"lat": 1, "lon": 2}]})", "station 1: missing \"callsign\""},
        std::pair{R"({"stations": [{"callsign": "B", "lat": "1", "lon": 1}]})",
                  "station 1 (B): \"lat\" is not a number"},
        std::pair{R"({"stations": [{"callsign": "B", "lat": 1, "lon": 1, "track":
                    [{"t": 10, "lat": 1, "lon": 1}, {"t": 5, "lat": 1, "lon": 1}]}]})",
                  "station 1 (B) track point 2: \"t\" 5 is not after 10 of the point before"},
        std::pair{R"({"own": {"callsign": "B", "lat": 1, "lon": 1},
                    "stations": [{"callsign": "B", "lat": 1, "lon": 1}]})",
                  "station 1: callsign \"B\" appears twice"},
        std::pair{R"({"overlays": {"../x.pos": ["a"]}})",
                  "overlay \"../x.pos\": is not a plain file name"},
        std::pair{R"({"overlays": {"x.pos": ["\u20ac"]}})",
                  "overlay \"x.pos\": line 1 has a character outside Latin-1"},
        // The names a feed refuses, in the feed's words.
        std::pair{R"({"stations": [{"callsign": "AB|CD", "lat": 1, "lon": 1}]})",
                  "station 1: unusable name \"AB|CD\" (1 to 9 printable ASCII characters, no "
                  "blank, \"|\" or \"*\")"}));

// A name refused is refused in the feeds' words, and an overlay line is no longer than a feed's.
TEST(ScenarioReader, refusesWhatTheFeedsRefuse) {
    for (const QString& name : {QStringLiteral("G4CAR*"), QStringLiteral("A B"),
                                QStringLiteral("AB|CD"), QStringLiteral("A\u001b[2J")}) {
        const QJsonObject station{{"callsign", name}, {"lat", 1}, {"lon", 1}};
        const QByteArray json =
            QJsonDocument(QJsonObject{{"stations", QJsonArray{station}}}).toJson();
        try {
            parseScenario(json, QStringLiteral("bad.json"));
            ADD_FAILURE() << "accepted " << json.toStdString();
        } catch (const ScenarioError& e) {
            EXPECT_EQ(e.message(), QStringLiteral("scenario bad.json: station 1: ") +
                                       feed::unusableNameText(name));
        }
    }
    const QByteArray line(10241, 'x');
    EXPECT_NO_THROW(
        parseScenario(R"({"overlays": {"x.pos": [")" + line.chopped(1) + "\"]}}", "ok"));
    EXPECT_THROW(parseScenario(R"({"overlays": {"x.pos": [")" + line + "\"]}}", "long"),
                 ScenarioError);
}

TEST(ScenarioReader, brokenJsonSaysWhereAndAMissingFileIsNamed) {
    try {
        parseScenario("{\"unit\": ", QStringLiteral("cut.json"));
        FAIL();
    } catch (const ScenarioError& e) {
        EXPECT_TRUE(e.message().startsWith("scenario cut.json: not valid JSON (")) << e.what();
        EXPECT_TRUE(e.message().contains("at byte")) << e.what();
    }
    EXPECT_THROW(readScenarioFile(QStringLiteral("/nonexistent/x.json")), ScenarioError);
}

} // namespace
