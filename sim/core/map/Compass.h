#pragma once

#include <QString>

namespace compass {

// Initial great-circle bearing from the first point to the second, degrees 0 to < 360
// clockwise from north; 0 for the same point.
double bearingDegrees(double lat1, double lon1, double lat2, double lon2);
// The nearest of the sixteen points: "N", "NNE", ... "NNW".
QString point(double degrees);

} // namespace compass
