// Guards against a position misread or a distance miscounted: a station put in or out of range.
#include <optional>

#include <gtest/gtest.h>

#include "engine/Geodesy.h"

namespace {

// 54559.00E is 545 * 60 + 59, the last that fits sixteen bits; a large but finite fraction is
// taken as the field says. Found by fuzzing: a fraction read with its exponent gave an
// infinite angle.
TEST(MakeLatLong, givesTheSignedAngleOrNothingForAFieldThatCannotBeTakenApart) {
    const std::pair<const char*, float> angles[] = {
        {"5212.34N", 3132.34f},  {"5212.34S", -3132.34f}, {"00455.12E", 295.12f},
        {"00455.12W", -295.12f}, {"5212.34X", 0.34f},     {"5212.3N", 3132.03f},
        {"5212.N", 3132.0f},     {"9000.00S", -5400.0f},  {"17959.99E", 10799.99f},
        {"5212.  N", 3132.0f},   {"5212.ab", 0.0f},       {" 512.34N", 312.34f},
        {"54559.00E", 32759.0f}, {"0000.7E7X", 700000.0f}};
    for (const auto& [text, minutes] : angles) {
        const std::optional<float> read = MakeLatLong(QString::fromLatin1(text));
        ASSERT_TRUE(read.has_value()) << text;
        EXPECT_FLOAT_EQ(*read, minutes) << text;
    }
    for (const char* text :
         {"54609.00E", "99900.00E", "", "N", "521234N", "ab12.34N", "52cd.34N", "  12.34N",
          "52.34N", ".34N", "\x01\x02\x03\x04.\x05\x06\x07N", "5212.9e99N", "+.+7E307\x05"})
        EXPECT_FALSE(MakeLatLong(QString::fromLatin1(text)).has_value()) << text;
}

TEST(CalcDist, oneDegreeIs11112KmAndTheAntipodesHalfTheCircle) {
    const struct {
        float lat1, long1, lat2, long2;
        double km, within;
    } rows[] = {
        {3000, 0, 3060, 0, 111.12, 0.01},   {0, 60, 0, 0, 111.12, 0.01},
        {-3000, 0, -3060, 0, 111.12, 0.01}, {3132.34f, 295.12f, 3132.34f, 295.12f, 0, 0.001},
        {5400, 0, 5400, 10000, 0, 0.01},    {0, 0, 0, 10800, 180 * 111.12, 0.1}};
    for (const auto& r : rows)
        EXPECT_NEAR(calcDist(r.lat1, r.long1, r.lat2, r.long2), r.km, r.within) << r.lat1;
}

} // namespace
