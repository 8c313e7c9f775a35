#include "StationStore.h"

#include <algorithm>

namespace {

// The first `length` characters, one fewer when the cut would split a surrogate pair.
QString cutText(const QString& text, int length) {
    if (text.size() <= length)
        return text;
    return text.left(text.at(length - 1).isHighSurrogate() ? length - 1 : length);
}

} // namespace

void StationStore::setOwn(const QString& callsign, double lat, double lon, const QString& comment) {
    m_own = HeardStation{callsign, lat, lon, cutText(comment, MaxCommentLength), false};
    m_ownPlaced = true;
    measureAll();
}

void StationStore::setUnit(DistanceUnit unit) {
    m_unit = unit;
    measureAll();
}

void StationStore::measureAll() {
    for (HeardStation& station : m_others)
        station.distance = distanceFromOwn(station.lat, station.lon);
}

void StationStore::setOwnUnplaced(const QString& callsign) {
    m_own = HeardStation{callsign, 0.0, 0.0, m_own.comment, false};
    m_ownPlaced = false;
}

bool StationStore::upsert(const QString& callsign, double lat, double lon,
                          const QString& fullComment, bool star) {
    const QString comment = cutText(fullComment, MaxCommentLength);
    if (hasOwn() && callsign == m_own.callsign) {
        const bool moved = m_own.lat != lat || m_own.lon != lon;
        m_own.lat = lat;
        m_own.lon = lon;
        m_own.comment = comment;
        const bool placed = !m_ownPlaced;
        m_ownPlaced = true;
        if (moved || placed)
            measureAll();
        return false;
    }
    const size_t position = positionOf(callsign);
    if (position != m_others.size()) {
        HeardStation& station = m_others[position];
        station.lat = lat;
        station.lon = lon;
        station.comment = comment;
        station.star = star;
        station.distance = distanceFromOwn(lat, lon);
        return false;
    }
    m_joinNumbers.insert(callsign, m_nextJoin);
    m_joined.push_back(m_nextJoin++);
    m_others.push_back(HeardStation{callsign, lat, lon, comment, star, distanceFromOwn(lat, lon)});
    return true;
}

bool StationStore::remove(const QString& callsign) {
    const size_t position = positionOf(callsign);
    if (position == m_others.size())
        return false;
    const auto offset = static_cast<std::ptrdiff_t>(position);
    m_others.erase(m_others.begin() + offset);
    m_joined.erase(m_joined.begin() + offset);
    // The oldest leaving (a full list) keeps the run; any other leaves a gap in it.
    if (position != 0)
        m_joinedWithoutGaps = false;
    if (m_joined.empty())
        m_joinedWithoutGaps = true;
    m_joinNumbers.remove(callsign);
    return true;
}

int StationStore::removeAll() {
    const int removed = static_cast<int>(m_others.size());
    m_others.clear();
    m_joined.clear();
    m_joinedWithoutGaps = true;
    m_joinNumbers.clear();
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
    if (m_ownPlaced)
        text +=
            QLatin1Char(' ') + QString::number(station->distance, 'f', 1) + geo::unitName(m_unit);
    if (!station->comment.isEmpty())
        text += QLatin1Char(' ') + station->comment;
    return cutText(text, MaxEntryLength);
}

const HeardStation* StationStore::find(const QString& callsign) const {
    if (hasOwn() && callsign == m_own.callsign)
        return &m_own;
    const size_t position = positionOf(callsign);
    return position == m_others.size() ? nullptr : &m_others[position];
}

size_t StationStore::positionOf(const QString& callsign) const {
    const auto known = m_joinNumbers.constFind(callsign);
    if (known == m_joinNumbers.constEnd())
        return m_others.size();
    if (m_joinedWithoutGaps)
        return static_cast<size_t>(*known - m_joined.front());
    const auto at = std::lower_bound(m_joined.begin(), m_joined.end(), *known);
    return static_cast<size_t>(at - m_joined.begin());
}

std::optional<StationFix> StationStore::fix(const QString& callsign) const {
    const HeardStation* station = m_ownPlaced ? find(callsign) : nullptr;
    if (!station)
        return std::nullopt;
    return StationFix{station->lat * 60.0, station->lon * 60.0, station->distance};
}

double StationStore::distanceFromOwn(double lat, double lon) const {
    return geo::fromKm(geo::greatCircleKm(m_own.lat, m_own.lon, lat, lon), m_unit);
}
