#include "StationStore.h"

#include <algorithm>

void StationStore::setOwn(const QString& callsign, double lat, double lon, const QString& comment) {
    m_own = HeardStation{callsign, lat, lon, comment, false};
}

bool StationStore::upsert(const QString& callsign, double lat, double lon, const QString& comment,
                          bool star) {
    if (hasOwn() && callsign == m_own.callsign) {
        m_own.lat = lat;
        m_own.lon = lon;
        m_own.comment = comment;
        return false;
    }
    const auto known = m_positions.constFind(callsign);
    if (known != m_positions.constEnd()) {
        HeardStation& station = m_others[*known];
        station.lat = lat;
        station.lon = lon;
        station.comment = comment;
        station.star = star;
        return false;
    }
    m_positions.insert(callsign, m_others.size());
    m_others.push_back(HeardStation{callsign, lat, lon, comment, star});
    return true;
}

bool StationStore::remove(const QString& callsign) {
    const auto known = m_positions.constFind(callsign);
    if (known == m_positions.constEnd())
        return false;
    const size_t position = *known;
    m_others.erase(m_others.begin() + static_cast<std::ptrdiff_t>(position));
    m_positions.erase(known);
    // The stations after it moved up one place.
    for (size_t i = position; i < m_others.size(); ++i)
        m_positions[m_others[i].callsign] = i;
    return true;
}

int StationStore::removeAll() {
    const int removed = static_cast<int>(m_others.size());
    m_others.clear();
    m_positions.clear();
    return removed;
}

int StationStore::count() const {
    return static_cast<int>(m_others.size()) + (hasOwn() ? 1 : 0);
}

const HeardStation* StationStore::at(int index) const {
    if (index < 0)
        return nullptr;
    if (hasOwn()) {
        if (index == 0)
            return &m_own;
        --index;
    }
    if (index >= static_cast<int>(m_others.size()))
        return nullptr;
    return &m_others[static_cast<size_t>(index)];
}

QString StationStore::entryText(int index) const {
    const HeardStation* station = at(index);
    if (!station)
        return {};
    const bool isOwn = station == &m_own;
    QString text = QLatin1Char(isOwn ? '@' : '#') + station->callsign;
    if (station->star)
        text += QLatin1Char('*');
    text += QLatin1Char(' ') +
            QString::number(distanceFromOwn(station->lat, station->lon), 'f', 1) +
            geo::unitName(m_unit);
    if (!station->comment.isEmpty())
        text += QLatin1Char(' ') + station->comment;
    return text;
}

const HeardStation* StationStore::find(const QString& callsign) const {
    if (hasOwn() && callsign == m_own.callsign)
        return &m_own;
    const auto known = m_positions.constFind(callsign);
    return known == m_positions.constEnd() ? nullptr : &m_others[*known];
}

std::optional<StationFix> StationStore::fix(const QString& callsign) const {
    const HeardStation* station = find(callsign);
    if (!station)
        return std::nullopt;
    return StationFix{station->lat * 60.0, station->lon * 60.0,
                      distanceFromOwn(station->lat, station->lon)};
}

double StationStore::distanceFromOwn(double lat, double lon) const {
    return geo::fromKm(geo::greatCircleKm(m_own.lat, m_own.lon, lat, lon), m_unit);
}
