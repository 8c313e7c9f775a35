// Guards the map's layout rules: labels on top of each other or lost, a scale bar of an odd length,
// a squashed sweep, overlay objects misread.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <random>

#include <QLineF>

#include "LabelPlacement.h"
#include "MapScene.h"
#include "OverlayObjects.h"
#include "ScaleBar.h"

namespace {

struct PlacementCase {
    const char* name;
    QSizeF view;
    std::vector<LabelRequest> requests;
    std::vector<bool> kept; // empty: only the invariants are checked
};

// Points on a 5-pixel grid round (100, 100), each with a label too wide for any view.
std::vector<LabelRequest> crowdAround(bool centrePriority) {
    std::vector<LabelRequest> requests{{{100, 100}, {30, 10}, centrePriority}};
    for (int x = 60; x <= 140; x += 5)
        for (int y = 60; y <= 140; y += 5)
            if (x != 100 || y != 100)
                requests.push_back({{double(x), double(y)}, {500, 10}, false});
    return requests;
}

std::vector<bool> firstOnly(size_t count) {
    std::vector<bool> kept(count, false);
    kept[0] = true;
    return kept;
}

std::vector<LabelRequest> randomCrowd() {
    std::mt19937 random(16);
    std::uniform_real_distribution<double> x(0, 800), y(0, 600), width(20, 70);
    std::vector<LabelRequest> requests;
    for (int i = 0; i < 2000; ++i)
        requests.push_back({{x(random), y(random)}, {width(random), 13}, i % 100 == 0});
    return requests;
}

std::vector<PlacementCase> placementCases() {
    const LabelRequest middle{{30, 20}, {50, 12}, false};
    LabelRequest priority = middle;
    priority.priority = true;
    return {
        {"lone label kept", {400, 300}, {{{100, 100}, {40, 12}, false}}, {true}},
        {"wider than the view dropped", {200, 200}, {{{100, 100}, {500, 10}, false}}, {false}},
        {"two neighbours both kept",
         {400, 300},
         {{{100, 100}, {40, 12}, false}, {{100, 112}, {40, 12}, false}},
         {true, true}},
        {"only two positions fit: first come and priority kept",
         {60, 40},
         {middle, middle, middle, priority},
         {true, false, false, true}},
        {"priority kept among other points",
         {200, 200},
         crowdAround(true),
         firstOnly(crowdAround(true).size())},
        {"plain label among other points dropped",
         {200, 200},
         crowdAround(false),
         std::vector<bool>(crowdAround(false).size(), false)},
        {"two thousand at random", {800, 600}, randomCrowd(), {}},
    };
}

void PrintTo(const PlacementCase& c, std::ostream* out) {
    *out << c.name;
}

class LabelPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(LabelPlacement, keepsTheRightLabelsApart) {
    const PlacementCase& c = GetParam();
    const auto placed = placeLabels(c.requests, c.view);
    ASSERT_EQ(placed.size(), c.requests.size());
    size_t keptCount = 0;
    for (size_t i = 0; i < placed.size(); ++i) {
        if (!c.kept.empty()) {
            EXPECT_EQ(placed[i].has_value(), c.kept[i]) << "label " << i;
        }
        if (!placed[i])
            continue;
        ++keptCount;
        EXPECT_TRUE(QRectF(QPointF(0, 0), c.view).contains(*placed[i])) << "label " << i;
        const QRectF ownPoint(c.requests[i].anchor - QPointF(4, 4), QSizeF(8, 8));
        EXPECT_FALSE(placed[i]->intersects(ownPoint)) << "label " << i;
        EXPECT_LT(QLineF(placed[i]->center(), c.requests[i].anchor).length(),
                  c.requests[i].size.width() / 2 + c.requests[i].size.height() + 8);
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(placed[j] && placed[i]->intersects(*placed[j])) << i << " on " << j;
    }
    if (c.kept.empty()) {
        EXPECT_GT(keptCount, 50u);
        EXPECT_LT(keptCount, c.requests.size() / 2);
        for (size_t i = 0; i < placed.size(); i += 100)
            EXPECT_TRUE(placed[i].has_value()) << "priority label " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, LabelPlacement, ::testing::ValuesIn(placementCases()),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase_if(name, [](char ch) { return !std::isalnum(ch); });
                             return name;
                         });

TEST(ScaleBar, roundLengthIsTheLongestOneTwoFiveStep) {
    const std::vector<std::pair<double, double>> table{
        {7.3, 5},       {1000, 1000}, {999.9, 500}, {0.34, 0.2},   {1.99, 1}, {25, 20},
        {0.001, 0.001}, {0, 0},       {-3, 0},      {INFINITY, 0}, {NAN, 0}};
    for (const auto& [maxLength, expected] : table)
        EXPECT_DOUBLE_EQ(scalebar::roundLength(maxLength), expected) << maxLength;
    EXPECT_EQ(scalebar::caption(0.2, QStringLiteral("mi")), QStringLiteral("0.2 mi"));
    EXPECT_EQ(scalebar::caption(2000, QStringLiteral("km")), QStringLiteral("2000 km"));
}

TEST(SweepWedge, arcsOfAspectOtherThanOneAreRoundSlices) {
    MapScene scene;
    scene.unitsPerPixel = 0.1;
    scene.xScale = 0.6; // a squashing projection must not squash the wedge
    scene.minutesPerMapUnit = 1.0 / 1.852;
    const double radiusPixels = 10.0 / 1.852 / 0.1;
    const double step = 0.2 * 180.0 / std::numbers::pi;
    struct Row {
        double start, end, aspect, radius;
        std::optional<std::pair<double, double>> degrees; // start, span
    };
    const std::vector<Row> table{{0.2, 0.4, 0.5, 10, {{step, step}}},
                                 {-0.2, -0.4, 0.5, 10, {{step, step}}},
                                 {6.2, 6.4, 0.5, 10, {{6.2 * step / 0.2, step}}},
                                 {0.0, 6.283186, 0.5, 10, std::nullopt},
                                 {0.2, 0.4, 1.0, 10, std::nullopt},
                                 {0.2, 0.4, 0.5, 0, std::nullopt},
                                 {0.3, 0.3, 0.5, 10, std::nullopt}};
    for (const Row& row : table) {
        MapMark mark;
        mark.x = 6.0;
        mark.y = -3.0;
        mark.radius = row.radius;
        mark.startAngle = row.start;
        mark.endAngle = row.end;
        mark.aspect = row.aspect;
        const auto wedge = scene.sweepWedge(mark);
        ASSERT_EQ(wedge.has_value(), row.degrees.has_value()) << row.start << " " << row.aspect;
        if (!wedge)
            continue;
        EXPECT_DOUBLE_EQ(wedge->centreX, 400.0 + 6.0 * 0.6 / 0.1);
        EXPECT_DOUBLE_EQ(wedge->centreY, 300.0 + 3.0 / 0.1);
        EXPECT_NEAR(wedge->radius, radiusPixels, 1e-9);
        EXPECT_NEAR(wedge->startDegrees, row.degrees->first, 1e-9) << row.start;
        EXPECT_NEAR(wedge->spanDegrees, row.degrees->second, 1e-9) << row.start;
    }
}

TEST(OverlayObjects, readsNamedPositionsAndSkipsTheRest) {
    const auto objects = overlayobjects::parse(
        "CROSS!5203.73N/00120.37W#Banbury Cross\r\n"
        "MAST!5208.16S/00130.06E/\r\nMAST>Edge Hill repeater mast\r\n"
        "NOTEXT!0000.00N/00000.00E/\rNEXT!5203.73N/00120.37W#dropped continuation\r\n"
        "A*B!5203.73N/00120.37W#starred\r\nTOOLONGNA!5203.73N/00120.37W#name of nine\r\n"
        "BAD!52x3.73N/00120.37W#not a position\r\nLAST!9000.00N/18000.00W#edge");
    ASSERT_EQ(objects.size(), 4u);
    EXPECT_EQ(objects[0].name, QStringLiteral("CROSS"));
    EXPECT_NEAR(objects[0].lat, 52 + 3.73 / 60, 1e-9);
    EXPECT_NEAR(objects[0].lon, -(1 + 20.37 / 60), 1e-9);
    EXPECT_EQ(objects[1].name, QStringLiteral("MAST"));
    EXPECT_NEAR(objects[1].lat, -(52 + 8.16 / 60), 1e-9);
    EXPECT_NEAR(objects[1].lon, 1 + 30.06 / 60, 1e-9);
    EXPECT_EQ(objects[2].name, QStringLiteral("NOTEXT"));
    EXPECT_EQ(objects[3].name, QStringLiteral("LAST"));
    EXPECT_DOUBLE_EQ(objects[3].lon, -180.0);
}

} // namespace
