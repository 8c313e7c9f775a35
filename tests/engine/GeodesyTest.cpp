// Positions and distances: a field read wrongly puts a station in or out of range.
#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

#include "engine/Geodesy.h"

namespace {

struct PositionCase {
    const char* text;
    float value;
};

void PrintTo(const PositionCase& c, std::ostream* os) {
    *os << c.text;
}

class MakeLatLongTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(MakeLatLongTest, givesTheSignedAngle) {
    const auto value = MakeLatLong(QString::fromLatin1(GetParam().text));
    ASSERT_TRUE(value.has_value()) << GetParam().text;
    EXPECT_FLOAT_EQ(*value, GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, MakeLatLongTest,
    ::testing::Values(PositionCase{"5212.34N", 3132.34f}, PositionCase{"5212.34S", -3132.34f},
                      PositionCase{"00455.12E", 295.12f}, PositionCase{"00455.12W", -295.12f},
                      PositionCase{"5212.34X", 0.34f}, PositionCase{"5212.3N", 3132.03f},
                      PositionCase{"5212.N", 3132.0f}, PositionCase{"0000.00N", 0.0f},
                      PositionCase{"9000.00S", -5400.0f}, PositionCase{"17959.99E", 10799.99f},
                      PositionCase{"5212.  N", 3132.0f}, PositionCase{"5212.ab", 0.0f},
                      PositionCase{" 512.34N", 312.34f}));

class MakeLatLongRejects : public ::testing::TestWithParam<const char*> {};

TEST_P(MakeLatLongRejects, fieldsThatCannotBeTakenApart) {
    EXPECT_FALSE(MakeLatLong(QString::fromLatin1(GetParam())).has_value()) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fields, MakeLatLongRejects,
                         ::testing::Values("", "N", "521234N", "ab12.34N", "52cd.34N", "  12.34N",
                                           "52.34N", "99912.34E", "xxx12.34E", ".34N",
                                           "\x01\x02\x03\x04.\x05\x06\x07N"));

TEST(MakeLatLong, rejectsDegreesBeyondSixteenBits) {
    // 999 degrees fit, 999 * 60 does not.
    EXPECT_FALSE(MakeLatLong(QStringLiteral("99900.00E")).has_value());
    EXPECT_TRUE(MakeLatLong(QStringLiteral("54559.00E")).has_value());  // 545 * 60 + 59 = 32759
    EXPECT_FALSE(MakeLatLong(QStringLiteral("54609.00E")).has_value()); // 32769
}

TEST(MakeLatLong, rejectsAFractionBeyondFloatRange) {
    // Found by fuzzing: the fraction is read with its exponent and gave an infinite angle.
    EXPECT_FALSE(MakeLatLong(QStringLiteral("5212.9e99N")).has_value());
    EXPECT_FALSE(MakeLatLong(QStringLiteral("+.+7E307\x05")).has_value());
    // A large but finite fraction is still taken as the field says.
    const auto large = MakeLatLong(QStringLiteral("0000.7E7X"));
    ASSERT_TRUE(large.has_value());
    EXPECT_FLOAT_EQ(*large, 700000.0f);
}

TEST(Acos, clampsAndKeepsTheEnds) {
    EXPECT_DOUBLE_EQ(Acos(1.5), 0.0);
    EXPECT_DOUBLE_EQ(Acos(1.0), 0.0);
    EXPECT_DOUBLE_EQ(Acos(-7.0), 4.0 * std::atan(1.0));
    EXPECT_DOUBLE_EQ(Acos(-1.0), 4.0 * std::atan(1.0));
    EXPECT_NEAR(Acos(0.0), std::acos(0.0), 1e-15);
    EXPECT_NEAR(Acos(0.5), std::acos(0.5), 1e-15);
    EXPECT_NEAR(Acos(-0.3), std::acos(-0.3), 1e-15);
}

TEST(CalcDist, oneDegreeIs11112Km) {
    EXPECT_NEAR(calc_dist(3000, 0, 3060, 0), 111.12, 0.01);
    EXPECT_NEAR(calc_dist(0, 0, 0, 60), 111.12, 0.01);
    EXPECT_NEAR(calc_dist(0, 60, 0, 0), 111.12, 0.01);
    EXPECT_NEAR(calc_dist(-3000, 0, -3060, 0), 111.12, 0.01);
}

TEST(CalcDist, samePointIsNoDistance) {
    EXPECT_LT(calc_dist(3132.34f, 295.12f, 3132.34f, 295.12f), 0.001);
    EXPECT_LT(calc_dist(0, 0, 0, 0), 0.001);
    EXPECT_LT(calc_dist(5400, 0, 5400, 10000), 0.01); // the pole
}

TEST(CalcDist, antipodesAreHalfTheCircle) {
    EXPECT_NEAR(calc_dist(0, 0, 0, 10800), 180 * 111.12, 0.1);
}

} // namespace
