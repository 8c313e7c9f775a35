// Guards the cuts that keep huge rings and coasts cheap to paint: a ring that crosses the
// view lost, a ring drawn where the view shows none of it, a piece of land or line dropped
// or put outside the view.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QLineF>
#include <QPolygonF>

#include "Clip.h"

namespace {

constexpr double turn = 2.0 * std::numbers::pi;
const QRectF view(0, 0, 800, 600);

double distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const double length = QPointF::dotProduct(ab, ab);
    const double t =
        length > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length, 0.0, 1.0) : 0.0;
    const QPointF d = p - (a + ab * t);
    return std::hypot(d.x(), d.y());
}

// 1,100 km at the tracker's close zoom is some 10^5 pixels across.
constexpr double huge = 60000.0;

struct RingCase {
    const char* name;
    QPointF centre;   // of a ring of radius `huge`
    bool crosses;     // some of it shows
    QPointF expected; // a point of it inside the view, when it crosses
    double start = 0.0, span = turn;
    friend void PrintTo(const RingCase& c, std::ostream* out) { *out << c.name; }
};

std::vector<RingCase> ringCases() {
    constexpr double quarter = std::numbers::pi / 2;
    return {
        {"from the left", {-huge + 400, 300}, true, {400, 300}},
        {"from below", {400, 300 + huge - 100}, true, {400, 200}},
        {"where the angles wrap round", {700 + huge, 300}, true, {700, 300}},
        {"enclosing the whole view", {400, 300}, false, {}},
        {"far away", {-5 * huge, 300}, false, {}},
        {"an arc turned away from the view", {-huge + 400, 300}, false, {}, quarter, 2 * quarter},
        {"an arc over the view", {-huge + 400, 300}, true, {400, 300}, -0.01, 0.02},
    };
}

class LargeRing : public ::testing::TestWithParam<RingCase> {};

TEST_P(LargeRing, keepsOnlyThePiecesThatCanShow) {
    const RingCase& c = GetParam();
    const auto pieces = clip::ellipseArc(c.centre, huge, huge, c.start, c.span, view);
    size_t points = 0;
    bool shows = false;
    double nearest = 1e9;
    for (const auto& piece : pieces) {
        points += piece.size();
        for (const auto& line : clip::polyline(piece, view)) {
            shows = true;
            for (size_t i = 0; i < line.size(); ++i) {
                const QPointF& p = line[i];
                EXPECT_TRUE(view.adjusted(-0.5, -0.5, 0.5, 0.5).contains(p))
                    << p.x() << "," << p.y();
                EXPECT_LT(std::fabs(QLineF(p, c.centre).length() - huge), 0.5);
                if (i > 0)
                    nearest = std::min(nearest, distanceToSegment(c.expected, line[i - 1], p));
            }
        }
    }
    // Some hundreds of points, never the hundreds of thousands round the whole ring.
    EXPECT_LT(points, 3000u);
    EXPECT_EQ(shows, c.crosses);
    if (c.crosses) {
        EXPECT_LT(nearest, 2.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Clip, LargeRing, ::testing::ValuesIn(ringCases()));

TEST(Clip, aViewInsideARingIsFilledAndOneOutsideIsNot) {
    EXPECT_TRUE(clip::boxInsideEllipse({400, 300}, huge, huge, view));
    EXPECT_FALSE(clip::boxInsideEllipse({-huge + 400, 300}, huge, huge, view));
    EXPECT_FALSE(clip::boxInsideEllipse({400, 300}, 100, 100, view));
    // The pies of a ring crossing the view cover its left part and not its right.
    const QPointF centre(-huge + 400, 300);
    const auto pieces = clip::ellipseArc(centre, huge, huge, 0, turn, view);
    std::vector<QPolygonF> pies;
    for (const auto& piece : pieces) {
        std::vector<QPointF> pie{centre};
        pie.insert(pie.end(), piece.begin(), piece.end());
        QPolygonF polygon;
        for (const QPointF& p : clip::polygon(pie, view))
            polygon << p;
        pies.push_back(polygon);
    }
    const auto covered = [&](const QPointF& p) {
        return std::any_of(pies.begin(), pies.end(), [&](const QPolygonF& pie) {
            return pie.containsPoint(p, Qt::OddEvenFill);
        });
    };
    EXPECT_TRUE(covered({200, 100}));
    EXPECT_TRUE(covered({200, 500}));
    EXPECT_FALSE(covered({600, 100}));
    EXPECT_FALSE(covered({600, 500}));
}

// A polygon's cut is followed through the base map (a town all land, the capes' coasts) and
// the pies of a ring above.
TEST(Clip, aLineIsCutIntoThePiecesInsideTheBox) {
    // Out, in, out and in again: two pieces, each inside.
    EXPECT_TRUE(clip::polygon({{-300, -300}, {-200, -300}, {-200, -200}}, view).empty());
    const auto pieces =
        clip::polyline({{-100, 100}, {100, 100}, {900, 100}, {900, 200}, {100, 200}}, view);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].front(), QPointF(0, 100));
    EXPECT_EQ(pieces[0].back(), QPointF(800, 100));
    EXPECT_EQ(pieces[1].front(), QPointF(800, 200));
    EXPECT_EQ(pieces[1].back(), QPointF(100, 200));
    EXPECT_TRUE(clip::polyline({{-10, -10}, {-5, -20}}, view).empty());
}

} // namespace
