// Guards map layout: labels piled up or lost, odd scale bars, squashed sweeps, misread overlays.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include <QLineF>
#include <QStringList>

#include "LabelPlacement.h"
#include "MapScene.h"
#include "OverlayObjects.h"
#include "ScaleBar.h"

namespace {

struct PlacementCase {
    const char* name;
    QSizeF view;
    std::vector<LabelRequest> requests;
    std::vector<bool> kept; // of the first requests; every priority label must be kept
    size_t minKept = 0;
    friend void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }
};

// A label at (100, 100) among points on a 5-pixel grid whose labels fit in no view, or
// 2000 labels at random with one in a hundred a priority.
std::vector<LabelRequest> crowd(std::optional<bool> priority) {
    std::vector<LabelRequest> requests;
    if (priority) {
        requests.push_back({{100, 100}, {30, 10}, *priority});
        for (int x = 60; x <= 140; x += 5)
            for (int y = 60; y <= 140; y += 5)
                requests.push_back({{x + 0.5, y + 0.5}, {500, 10}, false});
        return requests;
    }
    std::mt19937 random(16);
    std::uniform_real_distribution<double> x(0, 800), y(0, 600), width(20, 70);
    for (int i = 0; i < 2000; ++i)
        requests.push_back({{x(random), y(random)}, {width(random), 13}, i % 100 == 0});
    return requests;
}

std::vector<PlacementCase> placementCases() {
    const LabelRequest plain{{30, 20}, {50, 12}, false}; // only above or below fits a 60x40 view
    const LabelRequest first{{30, 20}, {50, 12}, true};
    const LabelRequest a{{100, 100}, {40, 12}, false}, b{{100, 112}, {40, 12}, false};
    return {{"wider than the view", {200, 200}, {{{100, 100}, {500, 10}}}, {false}},
            {"two neighbours", {400, 300}, {a, b}, {true, true}},
            {"priority last", {60, 40}, {plain, plain, plain, first}, {true, false, false, true}},
            {"priority among points", {200, 200}, crowd(true), {true}},
            {"plain among points", {200, 200}, crowd(false), {false}},
            {"two thousand at random", {800, 600}, crowd(std::nullopt), {}, 50}};
}

class LabelPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(LabelPlacement, keepsTheRightLabelsApart) {
    const PlacementCase& c = GetParam();
    const auto placed = placeLabels(c.requests, c.view);
    ASSERT_EQ(placed.size(), c.requests.size());
    size_t keptCount = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        const LabelRequest& label = c.requests[i];
        EXPECT_TRUE(i >= c.kept.size() || placed[i].has_value() == c.kept[i]) << i;
        EXPECT_TRUE(placed[i] || !label.priority) << "priority label " << i << " dropped";
        if (!placed[i])
            continue;
        ++keptCount;
        EXPECT_TRUE(QRectF(QPointF(0, 0), c.view).contains(*placed[i])) << i;
        EXPECT_FALSE(placed[i]->intersects(QRectF(label.anchor - QPointF(4, 4), QSizeF(8, 8))));
        EXPECT_LT(QLineF(placed[i]->center(), label.anchor).length(),
                  label.size.width() / 2 + label.size.height() + 8);
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(placed[j] && placed[i]->intersects(*placed[j])) << i << " on " << j;
    }
    EXPECT_GE(keptCount, c.minKept);
}

INSTANTIATE_TEST_SUITE_P(Table, LabelPlacement, ::testing::ValuesIn(placementCases()));

TEST(ScaleBar, roundLengthIsTheLongestOneTwoFiveStep) {
    for (const auto& [maxLength, expected] : std::vector<std::pair<double, double>>{
             {7.3, 5}, {999.9, 500}, {0.34, 0.2}, {1.99, 1}, {0, 0}, {-3, 0}, {NAN, 0}})
        EXPECT_DOUBLE_EQ(scalebar::roundLength(maxLength), expected) << maxLength;
}

TEST(SweepWedge, arcsOfAspectOtherThanOneAreRoundSlicesOfTheUnsquashedCircle) {
    MapScene scene;
    scene.unitsPerPixel = 0.1;
    scene.xScale = 0.6;
    scene.minutesPerMapUnit = 1.0 / 1.852;
    const double step = 0.2 * 180.0 / std::numbers::pi; // degrees; -1 below: no wedge
    for (const auto& [start, end, aspect, startDegrees] :
         std::vector<std::array<double, 4>>{{0.2, 0.4, 0.5, step},
                                            {-0.2, -0.4, 0.5, step},
                                            {6.2, 6.4, 0.5, 31 * step},
                                            {0.0, 6.283186, 0.5, -1},
                                            {0.2, 0.4, 1.0, -1},
                                            {0.3, 0.3, 0.5, -1}}) {
        const auto wedge = scene.sweepWedge({6.0, -3.0, 10, 65280, start, end, aspect});
        ASSERT_EQ(wedge.has_value(), startDegrees >= 0) << start << " " << aspect;
        if (!wedge)
            continue;
        EXPECT_NEAR(wedge->startDegrees, startDegrees, 1e-9) << start;
        EXPECT_NEAR(wedge->spanDegrees, step, 1e-9) << start;
    }
}

TEST(OverlayObjects, readsNamedPositionsAndSkipsTheRest) {
    const auto objects = overlayobjects::parse(
        "CROSS!5203.73N/00120.37W#Banbury Cross\r\n"
        "MAST!5208.16S/00130.06E/\r\nMAST>Edge Hill repeater mast\r\n"
        "NOTEXT!0000.00N/00000.00E/\rNEXT!5203.73N/00120.37W#dropped continuation\r\n"
        "A*B!5203.73N/00120.37W#starred\r\nTOOLONGNA!5203.73N/00120.37W#name of nine\r\n"
        "BAD!52x3.73N/00120.37W#not a position\r\nLAST!9000.00N/18000.00W#edge");
    QStringList seen;
    for (const auto& o : objects)
        seen << QStringLiteral("%1 %2 %3").arg(o.name).arg(o.lat, 0, 'f', 6).arg(o.lon, 0, 'f', 6);
    EXPECT_EQ(seen, (QStringList{"CROSS 52.062167 -1.339500", "MAST -52.136000 1.501000",
                                 "NOTEXT 0.000000 0.000000", "LAST 90.000000 -180.000000"}));
}

} // namespace
