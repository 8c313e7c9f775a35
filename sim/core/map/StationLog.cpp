#include "StationLog.h"

#include <algorithm>

#include "Geo.h"

QString heardViaText(HeardVia via) {
    switch (via) {
    case HeardVia::Rf:
        return QStringLiteral("RF");
    case HeardVia::AprsIs:
        return QStringLiteral("APRS-IS");
    case HeardVia::Replay:
        return QStringLiteral("replay");
    case HeardVia::Gps:
        return QStringLiteral("GPS");
    case HeardVia::Scenario:
        break;
    }
    return QStringLiteral("scenario");
}

void StationLog::setTrailLimits(int points, qint64 ms) {
    m_trailPoints = std::max(points, 1);
    m_trailMs = std::max<qint64>(ms, 1);
}

void StationLog::trim(std::vector<TrailPoint>& trail, qint64 nowMs) const {
    // The newest point stays whatever its age: it is where the station is.
    const auto old = std::find_if(trail.begin(), trail.end() - 1,
                                  [&](const TrailPoint& p) { return nowMs - p.ms < m_trailMs; });
    size_t drop = size_t(old - trail.begin());
    if (trail.size() - drop > size_t(m_trailPoints))
        drop = trail.size() - size_t(m_trailPoints);
    if (drop > 0)
        trail.erase(trail.begin(), trail.begin() + qsizetype(drop));
}

void StationLog::heard(const QString& callsign, double lat, double lon, HeardVia via,
                       qint64 nowMs) {
    StationRecord& record = m_records[callsign];
    record.heardMs = nowMs;
    record.via = via;
    std::vector<TrailPoint>& trail = record.trail;
    if (!trail.empty() &&
        geo::greatCircleKm(trail.back().lat, trail.back().lon, lat, lon) < samePlaceKm) {
        trail.back().ms = nowMs;
    } else {
        // Grown in small steps: most stations never move and keep one point.
        if (trail.size() == trail.capacity())
            trail.reserve(std::min<size_t>(trail.size() * 2 + 1, size_t(m_trailPoints) + 1));
        trail.push_back(TrailPoint{nowMs, float(lat), float(lon)});
    }
    trim(trail, nowMs);
    noteMoving(callsign, record);
}

void StationLog::noteMoving(const QString& callsign, const StationRecord& record) {
    if (record.trail.size() > 1)
        m_moving.insert(callsign);
    else
        m_moving.remove(callsign);
}

void StationLog::forget(const QString& callsign) {
    m_records.remove(callsign);
    m_moving.remove(callsign);
}

void StationLog::setPacket(const QString& callsign, const QString& path, const QString& packet,
                           std::optional<double> courseDegrees, std::optional<double> speedKmh) {
    StationRecord& record = m_records[callsign];
    record.path = path;
    record.packet = packet;
    record.courseDegrees = courseDegrees;
    record.speedKmh = speedKmh;
}

void StationLog::setMotion(const QString& callsign, double courseDegrees, double speedKmh) {
    StationRecord& record = m_records[callsign];
    record.courseDegrees = courseDegrees;
    record.speedKmh = speedKmh;
}

void StationLog::forgetAllBut(const QString& callsign) {
    const auto kept = m_records.constFind(callsign);
    if (kept == m_records.cend()) {
        m_records.clear();
        m_moving.clear();
        return;
    }
    StationRecord record = *kept;
    m_records.clear();
    m_moving.clear();
    noteMoving(callsign, record);
    m_records.insert(callsign, std::move(record));
}

void StationLog::prune(qint64 nowMs) {
    const QSet<QString> moving = m_moving;
    for (const QString& callsign : moving) {
        const auto it = m_records.find(callsign);
        if (it == m_records.end())
            continue;
        trim(it->trail, nowMs);
        if (it->trail.capacity() > 2 * it->trail.size())
            it->trail.shrink_to_fit();
        noteMoving(callsign, *it);
    }
}

const StationRecord* StationLog::find(const QString& callsign) const {
    const auto it = m_records.constFind(callsign);
    return it == m_records.cend() ? nullptr : &*it;
}

qsizetype StationLog::pointCount() const {
    qsizetype count = 0;
    for (const StationRecord& record : m_records)
        count += qsizetype(record.trail.size());
    return count;
}

std::optional<std::pair<double, double>> motionOf(const StationRecord* record,
                                                  const QString& comment) {
    if (record && record->courseDegrees && record->speedKmh)
        return std::pair(*record->courseDegrees, *record->speedKmh);
    return aprs::courseSpeed(comment);
}

namespace aprs {

std::optional<std::pair<double, double>> courseSpeed(const QString& comment) {
    if (comment.size() < 7 || comment[3] != QLatin1Char('/'))
        return std::nullopt;
    bool courseOk = false, speedOk = false;
    const int course = comment.left(3).toInt(&courseOk);
    const int knots = comment.mid(4, 3).toInt(&speedOk);
    for (const int i : {0, 1, 2, 4, 5, 6})
        if (!comment[i].isDigit())
            return std::nullopt;
    // "000" is a course not known; 360 is north.
    if (!courseOk || !speedOk || course < 1 || course > 360)
        return std::nullopt;
    return std::pair(double(course % 360), knots * 1.852);
}

} // namespace aprs
