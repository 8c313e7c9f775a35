#pragma once

#include "Scenario.h"

// A scenario with nothing but the own station, at a place in degrees.
inline Scenario ownAt(double lat, double lon) {
    Scenario s;
    s.ownCallsign = QStringLiteral("N0CALL");
    s.ownLat = lat;
    s.ownLon = lon;
    return s;
}
