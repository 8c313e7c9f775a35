#include "lists/MapMarks.h"

#include <cmath>
#include <limits>

#include "host/KestrelMap.h"

namespace {

void setDrawing(KestrelMap& map, qint32 fillColour) {
    map.setDrawWidth(3);
    map.setDrawStyle(2);
    map.setFillColor(fillColour);
}

// Int(range * 0.9) as a single-precision radius.
float rangeRadius(double range) {
    const double radius = std::floor(range * 0.9);
    if (!std::isfinite(radius) || std::fabs(radius) > std::numeric_limits<float>::max())
        throw MapMarkError(QStringLiteral("The alarm range %1 is too large to draw.").arg(range));
    return static_cast<float>(radius);
}

} // namespace

void MarkStation(KestrelMap& map, float x, float y, qint32 colour) {
    setDrawing(map, kColourCyan);
    const auto [scaleHeight, pixelHeight] = map.scale();
    if (pixelHeight == 0)
        throw MapMarkError(QStringLiteral("The map has no height in pixels."));
    const float radius = 8.0f * std::fabs(scaleHeight / static_cast<float>(pixelHeight));
    if (!std::isfinite(radius))
        throw MapMarkError(QStringLiteral("The map scale gives no station ring."));
    map.DrawCircle(x, y, radius, colour, 0.0f, kFullTurn, 1.0f);
}

void DrawRangeCircle(KestrelMap& map, float x, float y, double range) {
    setDrawing(map, kColourCyan);
    map.DrawCircle(x, y, rangeRadius(range), kColourCyan, 0.0f, kFullTurn, 1.0f);
}

void DrawRangeArc(KestrelMap& map, float x, float y, double range, float startAngle,
                  double endAngle) {
    setDrawing(map, kColourGreen);
    map.DrawCircle(x, y, rangeRadius(range), kColourGreen, startAngle, endAngle, 0.5f);
}
