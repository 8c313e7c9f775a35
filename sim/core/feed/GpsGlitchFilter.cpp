#include "feed/GpsGlitchFilter.h"

#include "Geo.h"

bool GpsGlitchFilter::take(double latitude, double longitude, qint64 nowMs) {
    const Fix fix{latitude, longitude, nowMs};
    const auto near = [&](const Fix& other) {
        return geo::greatCircleKm(other.latitude, other.longitude, latitude, longitude) <= JumpKm;
    };
    const bool plausible =
        !m_taken || nowMs - m_taken->ms >= WindowMs || near(*m_taken) || (m_held && near(*m_held));
    if (!plausible) {
        m_held = fix;
        return false;
    }
    m_taken = fix;
    m_held.reset();
    return true;
}
