#include "Compass.h"

#include <cmath>
#include <numbers>

namespace compass {

double bearingDegrees(double lat1, double lon1, double lat2, double lon2) {
    constexpr double radians = std::numbers::pi / 180.0;
    const double phi1 = lat1 * radians;
    const double phi2 = lat2 * radians;
    const double dLambda = (lon2 - lon1) * radians;
    const double y = std::sin(dLambda) * std::cos(phi2);
    const double x =
        std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLambda);
    if (x == 0.0 && y == 0.0)
        return 0.0;
    const double degrees = std::fmod(std::atan2(y, x) / radians + 360.0, 360.0);
    return degrees >= 360.0 ? 0.0 : degrees;
}

QString point(double degrees) {
    static const char* const names[] = {"N", "NNE", "NE", "ENE", "E", "ESE", "SE", "SSE",
                                        "S", "SSW", "SW", "WSW", "W", "WNW", "NW", "NNW"};
    const double turned = std::fmod(std::fmod(degrees, 360.0) + 360.0, 360.0);
    const int index = int(std::floor(turned / 22.5 + 0.5)) % 16;
    return QString::fromLatin1(names[index]);
}

} // namespace compass
