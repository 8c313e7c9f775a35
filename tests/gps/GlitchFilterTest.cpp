// Guards against a receiver's one wild fix moving the own station across a continent, and
// against a real long move (or a fix after a long gap) being held back for good.
#include <gtest/gtest.h>

#include "feed/GpsGlitchFilter.h"

namespace {

// seconds after start, latitude, longitude, taken
struct Step {
    double seconds, latitude, longitude;
    bool taken;
};

TEST(GpsGlitchFilter, holdsAJumpWithinAMinuteUntilASecondFixConfirmsIt) {
    const std::vector<std::vector<Step>> runs{
        // A glitch to Australia and back: the wild fix is never taken.
        {{0, 52.0, -1.0, true}, {1, -33.9, 151.2, false}, {2, 52.0, -1.0, true}},
        // A second fix near the jump confirms it (a real change of place, a ferry crossing).
        {{0, 52.0, -1.0, true},
         {1, 40.0, -1.0, false},
         {2, 40.01, -1.0, true},
         {3, 40.02, -1.0, true}},
        // Two wild fixes far apart from each other: neither confirms the other.
        {{0, 52.0, -1.0, true}, {1, 40.0, -1.0, false}, {2, 10.0, -1.0, false}},
        // 499 km is a move, not a glitch.
        {{0, 52.0, -1.0, true}, {1, 52.0 + 499.0 / 111.12, -1.0, true}},
        // A minute or more after the last fix taken: any fix is taken (the first one too).
        {{0, -33.9, 151.2, true}, {60, 52.0, -1.0, true}},
        {{0, 52.0, -1.0, true}, {59.9, 40.0, -1.0, false}},
    };
    for (size_t run = 0; run < runs.size(); ++run) {
        GpsGlitchFilter filter;
        for (const Step& step : runs[run])
            EXPECT_EQ(filter.take(step.latitude, step.longitude, qint64(step.seconds * 1000)),
                      step.taken)
                << "run " << run << " at " << step.seconds << " s";
    }
}

} // namespace
