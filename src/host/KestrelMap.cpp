#include "host/KestrelMap.h"

#include <cmath>

std::optional<float> stationRingRadius(float scaleHeight, qint16 pixelHeight) {
    if (pixelHeight == 0)
        return std::nullopt;
    const float radius = 8.0f * std::fabs(scaleHeight / static_cast<float>(pixelHeight));
    if (!std::isfinite(radius))
        return std::nullopt;
    return radius;
}
