#include "Clip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace clip {

namespace {

enum class Edge { Left, Right, Top, Bottom };

bool inside(const QPointF& p, Edge edge, const QRectF& box) {
    switch (edge) {
    case Edge::Left:
        return p.x() >= box.left();
    case Edge::Right:
        return p.x() <= box.right();
    case Edge::Top:
        return p.y() >= box.top();
    case Edge::Bottom:
        return p.y() <= box.bottom();
    }
    return true;
}

QPointF crossing(const QPointF& a, const QPointF& b, Edge edge, const QRectF& box) {
    const auto along = [&](double t) { return a + (b - a) * t; };
    switch (edge) {
    case Edge::Left:
        return along((box.left() - a.x()) / (b.x() - a.x()));
    case Edge::Right:
        return along((box.right() - a.x()) / (b.x() - a.x()));
    case Edge::Top:
        return along((box.top() - a.y()) / (b.y() - a.y()));
    case Edge::Bottom:
        return along((box.bottom() - a.y()) / (b.y() - a.y()));
    }
    return a;
}

// Liang-Barsky: the part of segment a-b inside the box, as parameters t0 <= t1.
bool segmentInside(const QPointF& a, const QPointF& b, const QRectF& box, double& t0, double& t1) {
    t0 = 0.0;
    t1 = 1.0;
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(),
                        box.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    return true;
}

} // namespace

std::vector<QPointF> polygon(const std::vector<QPointF>& points, const QRectF& box) {
    std::vector<QPointF> current = points;
    std::vector<QPointF> next;
    for (const Edge edge : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom}) {
        if (current.empty())
            break;
        next.clear();
        for (size_t i = 0; i < current.size(); ++i) {
            const QPointF& a = current[i];
            const QPointF& b = current[(i + 1) % current.size()];
            const bool aIn = inside(a, edge, box);
            const bool bIn = inside(b, edge, box);
            if (aIn)
                next.push_back(a);
            if (aIn != bIn)
                next.push_back(crossing(a, b, edge, box));
        }
        current.swap(next);
    }
    if (current.size() < 3)
        current.clear();
    return current;
}

std::vector<std::vector<QPointF>> polyline(const std::vector<QPointF>& points, const QRectF& box) {
    std::vector<std::vector<QPointF>> pieces;
    std::vector<QPointF> piece;
    const auto finish = [&] {
        if (piece.size() >= 2)
            pieces.push_back(std::move(piece));
        piece.clear();
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF& a = points[i - 1];
        const QPointF& b = points[i];
        double t0 = 0.0, t1 = 1.0;
        if (!segmentInside(a, b, box, t0, t1)) {
            finish();
            continue;
        }
        const QPointF from = a + (b - a) * t0;
        if (piece.empty() || t0 > 0.0) {
            finish();
            piece.push_back(from);
        }
        piece.push_back(a + (b - a) * t1);
        if (t1 < 1.0)
            finish();
    }
    finish();
    return pieces;
}

bool boxInsideEllipse(const QPointF& centre, double rx, double ry, const QRectF& box) {
    if (!(rx > 0.0) || !(ry > 0.0))
        return false;
    // An ellipse is convex: the box is inside when its corners are.
    for (const QPointF& corner :
         {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}) {
        const double u = (corner.x() - centre.x()) / rx;
        const double v = (corner.y() - centre.y()) / ry;
        if (u * u + v * v > 1.0)
            return false;
    }
    return true;
}

std::vector<std::vector<QPointF>> ellipseArc(const QPointF& centre, double rx, double ry,
                                             double start, double span, const QRectF& box) {
    constexpr double turn = 2.0 * std::numbers::pi;
    std::vector<std::vector<QPointF>> pieces;
    if (!(rx > 0.0) || !(ry > 0.0) || !(span > 0.0) || !std::isfinite(start) ||
        !std::isfinite(rx * ry))
        return pieces;
    span = std::min(span, turn);
    // The angles at which the ellipse can meet the box: those of its corners seen from the
    // centre (in the circle the ellipse is stretched from). Round a centre inside the box
    // every angle can.
    std::vector<std::pair<double, double>> ranges;
    if (boxInsideEllipse(centre, rx, ry, box))
        return pieces;
    if (box.contains(centre)) {
        ranges.emplace_back(start, start + span);
    } else {
        const auto angleOf = [&](const QPointF& p) {
            return std::atan2(-(p.y() - centre.y()) / ry, (p.x() - centre.x()) / rx);
        };
        const QPointF corners[] = {box.topLeft(), box.topRight(), box.bottomRight(),
                                   box.bottomLeft()};
        // Seen from outside, the box spans less than half a turn: measured round the first
        // corner's angle, the smallest and largest offsets enclose it.
        const double base = angleOf(corners[0]);
        double lo = 0.0, hi = 0.0;
        for (const QPointF& corner : corners) {
            const double d = std::remainder(angleOf(corner) - base, turn);
            lo = std::min(lo, d);
            hi = std::max(hi, d);
        }
        // That window a whole turn at a time, where it overlaps the arc.
        const double first = std::floor((start - (base + hi)) / turn);
        const double last = std::ceil((start + span - (base + lo)) / turn);
        for (double k = first; k <= last; ++k) {
            const double low = std::max(start, base + lo + k * turn);
            const double high = std::min(start + span, base + hi + k * turn);
            if (low < high)
                ranges.emplace_back(low, high);
        }
    }
    // A point every two pixels or so along the longer half-axis.
    const double step = 2.0 / std::max(rx, ry);
    for (const auto& [low, high] : ranges) {
        const int count = std::clamp(int(std::ceil((high - low) / step)), 8, 20000);
        std::vector<QPointF> points;
        points.reserve(size_t(count) + 1);
        for (int i = 0; i <= count; ++i) {
            const double a = low + (high - low) * i / count;
            points.emplace_back(centre.x() + rx * std::cos(a), centre.y() - ry * std::sin(a));
        }
        pieces.push_back(std::move(points));
    }
    return pieces;
}

} // namespace clip
