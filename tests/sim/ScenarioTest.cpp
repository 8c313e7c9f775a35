// Guards against a scenario read wrongly (a field lost, a track played in the wrong order)
// or a bad one taken without saying which file, station and field are wrong.
#include <gtest/gtest.h>

#include "Scenario.h"

namespace {

// The scenario's fault in its own words, or "accepted".
QString faultOf(const QByteArray& json) {
    try {
        parseScenario(json, QStringLiteral("bad.json"));
        return QStringLiteral("accepted");
    } catch (const ScenarioError& e) {
        return e.message();
    }
}

// Reading a good scenario is followed through the core (HostCoreTest) and a real start. Which
// names a feed refuses is read in the feed's tests; here one, in the feed's words.
TEST(ScenarioReader, namesTheFileAndTheFault) {
    const QByteArray longest(10240, 'x');
    const std::pair<QByteArray, QString> rows[] = {
        {"[1]", "the top level is not an object"},
        {R"({"unit": "furlong"})", "\"unit\" \"furlong\" is not \"km\", \"mi\" or \"nm\""},
        {R"({"own": {"callsign": "A", "lat": 91, "lon": 0}})",
         "own: \"lat\" 91 is outside -90..90"},
        {R"({"stations": [{"lat": 1, "lon": 2}]})", "station 1: missing \"callsign\""},
        {R"({"stations": [{"callsign": "B", "lat": "1", "lon": 1}]})",
         "station 1 (B): \"lat\" is not a number"},
        {R"({"stations": [{"callsign": "B", "lat": 1, "lon": 1, "track":
                    [{"t": 10, "lat": 1, "lon": 1}, {"t": 5, "lat": 1, "lon": 1}]}]})",
         "station 1 (B) track point 2: \"t\" 5 is not after 10 of the point before"},
        {R"({"own": {"callsign": "B", "lat": 1, "lon": 1},
                    "stations": [{"callsign": "B", "lat": 1, "lon": 1}]})",
         "station 1: callsign \"B\" appears twice"},
        {R"({"overlays": {"../x.pos": ["a"]}})", "overlay \"../x.pos\": is not a plain file name"},
        {R"({"overlays": {"x.pos": ["\u20ac"]}})",
         "overlay \"x.pos\": line 1 has a character outside Latin-1"},
        // An overlay line is no longer than a feed's.
        {R"({"overlays": {"x.pos": [")" + longest + "\"]}}", "accepted"},
        {R"({"overlays": {"x.pos": [")" + longest + "x\"]}}",
         "overlay \"x.pos\": line 1 is longer than 10240 characters"},
        // What the file holds is quoted, its control characters escaped.
        {R"({"stations": [{"callsign": "A\u001b[2J\rB", "lat": 1, "lon": 1}]})",
         R"(station 1: unusable name "A\x1b[2J\rB" (1 to 9 printable ASCII characters, no blank, "|" or "*"))"}};
    for (const auto& [json, fault] : rows)
        EXPECT_EQ(faultOf(json),
                  fault == "accepted" ? fault : QStringLiteral("scenario bad.json: ") + fault)
            << json.left(200).toStdString();
    // Broken JSON says where; a missing file is named.
    EXPECT_TRUE(faultOf("{\"unit\": ").startsWith("scenario bad.json: not valid JSON ("));
    EXPECT_TRUE(faultOf("{\"unit\": ").contains("at byte")) << faultOf("{\"unit\": ").toStdString();
    EXPECT_THROW(readScenarioFile(QStringLiteral("/nonexistent/x.json")), ScenarioError);
}

} // namespace
