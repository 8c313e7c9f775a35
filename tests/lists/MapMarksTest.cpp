// Guards against a ring of the wrong size or colour on the tracker's map, or half a mark drawn.
#include <gtest/gtest.h>

#include "FakeKestrelHost.h"
#include "host/HostError.h"
#include "lists/MapMarks.h"

namespace {

class MapMarks : public ::testing::Test {
protected:
    QVariantList circle(int index = 0) const {
        return host.callsNamed("DrawCircle").at(index).args;
    }
    QVariant fill(int index = 0) const { return host.callsNamed("FillColor").at(index).args.at(0); }
    FakeKestrelHost host;
    KestrelMap& map = *host.Map();
};

TEST_F(MapMarks, StationRingIsEightPixelsOfTheMapsScaleInTheGivenColour) {
    host.scaleHeight = -50.0f; // a map whose Y axis runs upwards
    host.pixelHeight = 400;
    MarkStation(map, 1.5f, 2.0f, kColourRed);
    EXPECT_EQ(circle(), (QVariantList{1.5, 2.0, 1.0, kColourRed, 0.0, kFullTurn, 1.0}));
    EXPECT_EQ(fill(), kColourCyan);
}

TEST_F(MapMarks, RangeRingAndArcAreTheWholePartOfNinetyPercent) {
    const std::pair<double, double> rows[] = {
        {25, 22}, {1, 0}, {-5, -5}, {100.5, 90}, {1e6, 900000}};
    for (const auto& [range, radius] : rows) {
        host.clearCalls();
        DrawRangeCircle(map, 3.0f, 4.0f, range);
        DrawRangeArc(map, 3.0f, 4.0f, range, 0.5f, 0.75);
        EXPECT_EQ(circle(0), (QVariantList{3.0, 4.0, radius, kColourCyan, 0.0, kFullTurn, 1.0}));
        EXPECT_EQ(circle(1), (QVariantList{3.0, 4.0, radius, kColourGreen, 0.5, 0.75, 0.5}));
        EXPECT_EQ(fill(1), kColourGreen);
    }
}

TEST_F(MapMarks, NothingIsDrawnWhenAMarkCannotBeMade) {
    EXPECT_THROW(DrawRangeCircle(map, 0, 0, 1e300), MapMarkError);
    EXPECT_THROW(DrawRangeArc(map, 0, 0, 1e300, 0, 0.2), MapMarkError);
    host.pixelHeight = 0;
    EXPECT_THROW(MarkStation(map, 1, 2, kColourRed), MapMarkError);
    host.failOn("FillColor");
    EXPECT_THROW(DrawRangeCircle(map, 0, 0, 10), HostError);
    EXPECT_TRUE(host.callsNamed("DrawCircle").empty());
}

} // namespace
