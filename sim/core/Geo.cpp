#include "Geo.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace geo {

double greatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    constexpr double rad = std::numbers::pi / 180.0;
    // Haversine: stays accurate for the short distances a proximity alarm cares about,
    // where the law of cosines loses digits.
    const double dLat = (lat2 - lat1) * rad;
    const double dLon = (lon2 - lon1) * rad;
    const double a =
        std::sin(dLat / 2) * std::sin(dLat / 2) +
        std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::sin(dLon / 2) * std::sin(dLon / 2);
    const double arc = 2.0 * std::asin(std::sqrt(std::clamp(a, 0.0, 1.0)));
    return arc / rad * kmPerDegree;
}

double fromKm(double km, DistanceUnit unit) {
    switch (unit) {
    case DistanceUnit::StatuteMiles:
        return km / kmPerStatuteMile;
    case DistanceUnit::NauticalMiles:
        return km / kmPerNauticalMile;
    case DistanceUnit::Kilometres:
        break;
    }
    return km;
}

QString unitName(DistanceUnit unit) {
    switch (unit) {
    case DistanceUnit::StatuteMiles:
        return QStringLiteral("mi");
    case DistanceUnit::NauticalMiles:
        return QStringLiteral("nm");
    case DistanceUnit::Kilometres:
        break;
    }
    return QStringLiteral("km");
}

bool parseUnit(const QString& text, DistanceUnit& unit) {
    if (text == QLatin1String("km"))
        unit = DistanceUnit::Kilometres;
    else if (text == QLatin1String("mi"))
        unit = DistanceUnit::StatuteMiles;
    else if (text == QLatin1String("nm"))
        unit = DistanceUnit::NauticalMiles;
    else
        return false;
    return true;
}

} // namespace geo
