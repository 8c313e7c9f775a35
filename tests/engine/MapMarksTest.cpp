#include <gtest/gtest.h>
#include <ostream>

#include "EngineFixture.h"
#include "lists/MapMarks.h"

namespace {

using MapMarks = EngineFixture;

const QStringList kMarkOrder = {"DrawWidth",   "DrawStyle",   "FillColor",
                                "ScaleHeight", "PixelHeight", "DrawCircle"};
const QStringList kRangeOrder = {"DrawWidth", "DrawStyle", "FillColor", "DrawCircle"};

TEST_F(MapMarks, stationRingIsEightPixelsInRed) {
    host.scaleHeight = 100.0f;
    host.pixelHeight = 400;
    MarkStation(*ctx.mKestrelMap, 295.12f, 3132.34f, kColourRed);
    EXPECT_EQ(host.callNames(), kMarkOrder);
    EXPECT_EQ(argsOf("DrawWidth").at(0), QVariantList{3});
    EXPECT_EQ(argsOf("DrawStyle").at(0), QVariantList{qint16(2)});
    EXPECT_EQ(argsOf("FillColor").at(0), QVariantList{16776960});
    const QVariantList circle{double(295.12f), double(3132.34f), 2.0, 255, 0.0, 6.283186, 1.0};
    EXPECT_EQ(argsOf("DrawCircle").at(0), circle);
}

TEST_F(MapMarks, stationRingFollowsTheZoomAndKeepsTheFill) {
    host.scaleHeight = -50.0f; // a map whose Y axis runs upwards
    host.pixelHeight = 400;
    MarkStation(*ctx.mKestrelMap, 1.0f, 2.0f, kColourGreen);
    const QVariantList circle{1.0, 2.0, 1.0, 65280, 0.0, 6.283186, 1.0};
    EXPECT_EQ(argsOf("DrawCircle").at(0), circle);
    EXPECT_EQ(argsOf("FillColor").at(0), QVariantList{16776960});
}

TEST_F(MapMarks, zeroPixelHeightFailsBeforeDrawing) {
    host.pixelHeight = 0;
    EXPECT_THROW(MarkStation(*ctx.mKestrelMap, 1.0f, 2.0f, kColourRed), MapMarkError);
    EXPECT_TRUE(host.callsNamed("DrawCircle").empty());
}

struct RangeCase {
    double range;
    double radius;
};

void PrintTo(const RangeCase& c, std::ostream* os) {
    *os << c.range;
}

class RangeRadius : public EngineFixture, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeRadius, isTheWholePartOfNinetyPercent) {
    DrawRangeCircle(*ctx.mKestrelMap, 3.0f, 4.0f, GetParam().range);
    DrawRangeArc(*ctx.mKestrelMap, 3.0f, 4.0f, GetParam().range, 0.4f, 0.6000000000000001);
    QStringList expectedOrder = kRangeOrder;
    expectedOrder += kRangeOrder;
    EXPECT_EQ(host.callNames(), expectedOrder);
    const QVariantList ring{3.0, 4.0, GetParam().radius, 16776960, 0.0, 6.283186, 1.0};
    const QVariantList arc{3.0, 4.0, GetParam().radius, 65280, double(0.4f), 0.6000000000000001,
                           0.5};
    EXPECT_EQ(argsOf("DrawCircle").at(0), ring);
    EXPECT_EQ(argsOf("DrawCircle").at(1), arc);
    EXPECT_EQ(argsOf("FillColor").at(0), QVariantList{16776960});
    EXPECT_EQ(argsOf("FillColor").at(1), QVariantList{65280});
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeRadius,
                         ::testing::Values(RangeCase{25, 22}, RangeCase{1, 0}, RangeCase{0, 0},
                                           RangeCase{-5, -5}, RangeCase{10, 9},
                                           RangeCase{100.5, 90}, RangeCase{1e6, 900000}));

TEST_F(MapMarks, aRangeBeyondAFloatFailsBeforeDrawing) {
    EXPECT_THROW(DrawRangeCircle(*ctx.mKestrelMap, 0, 0, 1e300), MapMarkError);
    EXPECT_THROW(DrawRangeArc(*ctx.mKestrelMap, 0, 0, 1e300, 0, 0.2), MapMarkError);
    EXPECT_TRUE(host.callsNamed("DrawCircle").empty());
}

TEST_F(MapMarks, aFailingMapCallPropagates) {
    host.failOn("FillColor");
    EXPECT_THROW(MarkStation(*ctx.mKestrelMap, 0, 0, kColourRed), HostError);
    EXPECT_THROW(DrawRangeCircle(*ctx.mKestrelMap, 0, 0, 10), HostError);
    EXPECT_TRUE(host.callsNamed("DrawCircle").empty());
}

} // namespace
