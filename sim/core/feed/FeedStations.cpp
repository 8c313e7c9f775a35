#include "feed/FeedStations.h"

FeedStations::FeedStations(StationStore& store, double expireMinutes, int maxEntries)
    : m_store(store), m_expireMs(static_cast<qint64>(expireMinutes * 60000.0)),
      m_maxEntries(maxEntries) {}

void FeedStations::forget(const QString& name) {
    const auto it = m_ageOf.find(name);
    if (it == m_ageOf.end())
        return;
    m_byAge.erase(it.value());
    m_ageOf.erase(it);
}

TrackerChanges FeedStations::hear(const feed::PositionReport& report, qint64 nowMs) {
    TrackerChanges changes;
    // Our own beacon coming back through a digipeater must not move the origin of every
    // distance; the own position is the one the operator gave.
    if (m_store.hasOwn() && report.name == m_store.ownCallsign())
        return changes;
    if (report.killed) {
        if (m_ageOf.contains(report.name)) {
            forget(report.name);
            m_store.remove(report.name);
            changes.deleted << report.name;
        }
        return changes;
    }
    forget(report.name);
    const quint64 age = m_nextAge++;
    m_byAge.emplace(age, Heard{report.name, nowMs});
    m_ageOf.insert(report.name, age);
    const bool added =
        m_store.upsert(report.name, report.latitude, report.longitude, report.comment);
    if (added) {
        // Over the limit the longest unheard station makes room (never the one just heard).
        while (m_store.count() > m_maxEntries && m_byAge.size() > 1) {
            const QString oldest = m_byAge.begin()->second.name;
            forget(oldest);
            m_store.remove(oldest);
            changes.deleted << oldest;
        }
    }
    changes.heard << report.name;
    return changes;
}

TrackerChanges FeedStations::expire(qint64 nowMs) {
    TrackerChanges changes;
    while (!m_byAge.empty() && nowMs - m_byAge.begin()->second.heardMs >= m_expireMs) {
        const QString name = m_byAge.begin()->second.name;
        forget(name);
        m_store.remove(name);
        changes.deleted << name;
    }
    return changes;
}
