#pragma once

#include <utility>
#include <vector>

#include <QPointF>
#include <QRectF>

// Geometry in pixels, cut to what can show. Qt's painter takes lines a hundred thousand
// pixels long and spends its time on the parts off the view (a wide ring at a close zoom
// took over a second a paint); what is cut here first costs as much as what shows.
namespace clip {

// The part of a closed polygon inside `box` (Sutherland-Hodgman); empty when none.
std::vector<QPointF> polygon(const std::vector<QPointF>& points, const QRectF& box);

// The pieces of an open line inside `box`, each at least two points.
std::vector<std::vector<QPointF>> polyline(const std::vector<QPointF>& points, const QRectF& box);

// Rings and arcs larger than this many pixels across are cut; smaller ones Qt draws as fast.
inline constexpr double largeRingPixels = 4096.0;

// An arc of the ellipse round `centre` with half-axes rx, ry, from `start` over `span`
// radians (anticlockwise from three o'clock, y down on screen), as lines of points a few
// pixels apart, kept to the angles at which it can meet `box` (at most a few pieces; none
// when it cannot). The pie of each piece with the centre covers what the whole pie covers
// of the box.
std::vector<std::vector<QPointF>> ellipseArc(const QPointF& centre, double rx, double ry,
                                             double start, double span, const QRectF& box);

// Whether `box` lies wholly inside the ellipse.
bool boxInsideEllipse(const QPointF& centre, double rx, double ry, const QRectF& box);

} // namespace clip
