#pragma once

#include <optional>
#include <vector>

#include <QPointF>
#include <QRectF>
#include <QSizeF>

// One name to set beside its point on the map, in pixels.
struct LabelRequest {
    QPointF anchor;
    QSizeF size;
    // The own station and stations in alarm: placed before every other label, and kept
    // even where other stations' points crowd round them.
    bool priority = false;
};

// How far a point's symbol reaches from its anchor; no other label covers it.
inline constexpr double labelPointRadius = 4.0;

// Where each label goes (same order as `requests`), or nothing for a label that cannot fit
// in `view` at this zoom. Greedy, as map programs do it: priority labels first, then the
// others in the order given; each takes the first of eight positions round its point
// (upper right first) that lies wholly in the view and covers no label placed before it and
// no other point. A priority label that finds every position on other points takes the
// first one free of labels. Occupancy is kept in a grid of small cells, so the cost grows
// with the number of labels, not with its square; no two kept labels ever overlap.
std::vector<std::optional<QRectF>> placeLabels(const std::vector<LabelRequest>& requests,
                                               QSizeF view);
