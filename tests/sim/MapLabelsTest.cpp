// Guards the map's labels: piled up on each other or on a station, pushed off the map, or a
// priority label (the own station, a station in alarm) lost in a crowd.
#include <gtest/gtest.h>

#include <random>

#include <QLineF>

#include "LabelPlacement.h"

namespace {

struct PlacementCase {
    const char* name;
    QSizeF view;
    std::vector<LabelRequest> requests;
    std::vector<bool> kept; // of the first requests; every priority label must be kept
    size_t minKept = 0;
    friend void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }
};

// A label at (100, 100) among points on a 5-pixel grid whose labels fit in no view.
std::vector<LabelRequest> amongPoints(bool priority) {
    std::vector<LabelRequest> requests{{{100, 100}, {30, 10}, priority}};
    for (int x = 60; x <= 140; x += 5)
        for (int y = 60; y <= 140; y += 5)
            requests.push_back({{x + 0.5, y + 0.5}, {500, 10}, false});
    return requests;
}

// 2000 labels at random, one in a hundred a priority.
std::vector<LabelRequest> atRandom() {
    std::vector<LabelRequest> requests;
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
            {"priority among points", {200, 200}, amongPoints(true), {true}},
            {"plain among points", {200, 200}, amongPoints(false), {false}},
            {"two thousand at random", {800, 600}, atRandom(), {}, 50}};
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

} // namespace
