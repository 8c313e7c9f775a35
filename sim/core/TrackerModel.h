#pragma once

#include <vector>

#include <QStringList>

#include "Scenario.h"
#include "StationStore.h"

// What one step of the scenario changed in the station list, in the order the events
// go out: the whole list cleared, stations gone, stations heard (new or moved).
struct TrackerChanges {
    bool deletedAll = false;
    QStringList deleted;
    QStringList heard;
    bool any() const { return deletedAll || !deleted.isEmpty() || !heard.isEmpty(); }
};

// Plays a scenario into a station store: at each step the stations present at that time
// are upserted at their track position, the ones gone are removed.
class TrackerModel final {
public:
    TrackerModel(const Scenario& scenario, StationStore& store);

    // Brings the store to the scenario's state `seconds` after start. Time only moves
    // forward; an earlier time is taken as the last one.
    TrackerChanges advanceTo(double seconds);

    // Whether the scenario station is in the list at `seconds` (pure; for the store's
    // owner and tests).
    bool presentAt(const ScenarioStation& station, double seconds) const;

private:
    const Scenario& m_scenario;
    StationStore& m_store;
    double m_now = -1.0;
    size_t m_deleteAllDone = 0;
    std::vector<bool> m_present;
};
