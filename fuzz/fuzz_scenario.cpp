// The stand-in host's scenario reader: any JSON text, then positions along every track.
#include <cmath>

#include "FuzzInput.h"
#include "Scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Scenario scenario;
    try {
        scenario = parseScenario(fuzzBytes(data, size), QStringLiteral("fuzz.json"));
    } catch (const ScenarioError& error) {
        FUZZ_CHECK(error.message().contains(QStringLiteral("fuzz.json")));
        return 0;
    }
    for (std::size_t i = 1; i < scenario.deleteAll.size(); ++i)
        FUZZ_CHECK(scenario.deleteAll[i - 1] <= scenario.deleteAll[i]);
    for (const ScenarioStation& station : scenario.stations) {
        for (std::size_t i = 1; i < station.track.size(); ++i)
            FUZZ_CHECK(station.track[i - 1].t <= station.track[i].t);
        for (const double t : {-1.0, 0.0, 0.5, 1.0, 59.9, 3600.0, 1e9}) {
            const TrackPoint where = positionAt(station, t);
            FUZZ_CHECK(std::isfinite(where.lat) && std::isfinite(where.lon));
            FUZZ_CHECK(std::fabs(where.lat) <= 90.0 && std::fabs(where.lon) <= 180.0);
        }
    }
    for (const OverlayFile& overlay : scenario.overlays)
        FUZZ_CHECK(!overlay.name.contains(u'/'));
    return 0;
}
