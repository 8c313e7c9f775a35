#include "engine/MapMarks.h"

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

MapMarkError noRingError(qint16 pixelHeight) {
    return MapMarkError(pixelHeight == 0 ? QStringLiteral("The map has no height in pixels.")
                                         : QStringLiteral("The map scale gives no station ring."));
}

void MarkStation(KestrelMap& map, float x, float y, qint32 colour) {
    setDrawing(map, kColourCyan);
    const auto [scaleHeight, pixelHeight] = map.scale();
    const std::optional<float> radius = stationRingRadius(scaleHeight, pixelHeight);
    if (!radius)
        throw noRingError(pixelHeight);
    map.DrawCircle(x, y, *radius, colour, 0.0f, kFullTurn, 1.0f);
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
