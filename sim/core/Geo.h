#pragma once

#include <QString>

// The tracker's distance unit, chosen by the scenario.
enum class DistanceUnit { Kilometres, StatuteMiles, NauticalMiles };

namespace geo {

// Length of one degree of great-circle arc. Ringwarden measures overlay objects at this
// scale, so the tracker uses it too and both agree on every distance.
inline constexpr double kmPerDegree = 111.12;
inline constexpr double kmPerStatuteMile = 1.609344;
inline constexpr double kmPerNauticalMile = 1.852;

// Great-circle distance in kilometres between two points in decimal degrees.
double greatCircleKm(double lat1, double lon1, double lat2, double lon2);
// Kilometres expressed in the given unit.
double fromKm(double km, DistanceUnit unit);
// "km", "mi" or "nm".
QString unitName(DistanceUnit unit);
// Parses "km", "mi" or "nm"; false for anything else.
bool parseUnit(const QString& text, DistanceUnit& unit);

} // namespace geo
