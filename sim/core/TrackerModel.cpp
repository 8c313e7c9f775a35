#include "TrackerModel.h"

#include <algorithm>

TrackerModel::TrackerModel(const Scenario& scenario, StationStore& store)
    : m_scenario(scenario), m_store(store), m_present(scenario.stations.size(), false) {
    m_store.setOwn(scenario.ownCallsign, scenario.ownLat, scenario.ownLon, scenario.ownComment);
}

bool TrackerModel::presentAt(const ScenarioStation& station, double seconds) const {
    if (seconds < station.appear)
        return false;
    if (station.vanish && seconds >= *station.vanish)
        return false;
    // A station cleared with the whole list is not heard again.
    return std::none_of(m_scenario.deleteAll.begin(), m_scenario.deleteAll.end(),
                        [&](double t) { return t >= station.appear && t <= seconds; });
}

TrackerChanges TrackerModel::advanceTo(double seconds) {
    TrackerChanges changes;
    seconds = std::max(seconds, m_now);
    m_now = seconds;

    while (m_deleteAllDone < m_scenario.deleteAll.size() &&
           m_scenario.deleteAll[m_deleteAllDone] <= seconds) {
        ++m_deleteAllDone;
        changes.deletedAll = true;
    }
    if (changes.deletedAll) {
        m_store.removeAll();
        std::fill(m_present.begin(), m_present.end(), false);
    }

    for (size_t i = 0; i < m_scenario.stations.size(); ++i) {
        const ScenarioStation& station = m_scenario.stations[i];
        const bool present = presentAt(station, seconds);
        if (!present) {
            if (m_present[i] && m_store.remove(station.callsign))
                changes.deleted << station.callsign;
            m_present[i] = false;
            continue;
        }
        const TrackPoint where = positionAt(station, seconds);
        const HeardStation* before = m_present[i] ? m_store.find(station.callsign) : nullptr;
        const bool moved = !before || before->lat != where.lat || before->lon != where.lon;
        m_store.upsert(station.callsign, where.lat, where.lon, station.comment, station.star);
        m_present[i] = true;
        if (moved)
            changes.heard << station.callsign;
    }
    return changes;
}
