// Guards against a ring of the wrong size or colour on the tracker's map, or half a mark drawn.
#include <gtest/gtest.h>

#include "FakeKestrelHost.h"
#include "engine/MapMarks.h"
#include "host/HostError.h"

namespace {

class MapMarks : public ::testing::Test {
protected:
    QVariantList args(const char* call, int index) const {
        return host.callsNamed(call).at(index).args;
    }
    FakeKestrelHost host;
    KestrelMap& map = *host.Map();
};

TEST_F(MapMarks, StationRingIsEightPixelsAndTheRangeRingAndArcTheWholePartOfNinetyPercent) {
    host.scaleHeight = -50.0f; // a map whose Y axis runs upwards
    MarkStation(map, 1.5f, 2.0f, kColourRed);
    EXPECT_EQ(args("DrawCircle", 0), (QVariantList{1.5, 2.0, 1.0, kColourRed, 0, kFullTurn, 1.0}));
    EXPECT_EQ(args("FillColor", 0), QVariantList{kColourCyan});
    for (const auto& [range, radius] :
         {std::pair{25.0, 22.0}, {1.0, 0.0}, {-5.0, -5.0}, {1e6, 9e5}}) {
        host.clearCalls();
        DrawRangeCircle(map, 3.0f, 4.0f, range);
        DrawRangeArc(map, 3.0f, 4.0f, range, 0.5f, 0.75);
        EXPECT_EQ(args("DrawCircle", 0),
                  (QVariantList{3, 4, radius, kColourCyan, 0, kFullTurn, 1}));
        EXPECT_EQ(args("DrawCircle", 1),
                  (QVariantList{3, 4, radius, kColourGreen, 0.5, 0.75, 0.5}));
        EXPECT_EQ(args("FillColor", 1), QVariantList{kColourGreen});
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
