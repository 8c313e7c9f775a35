#pragma once

#include <map>

#include <QHash>
#include <QString>

#include "StationStore.h"
#include "TrackerModel.h"
#include "feed/PositionReport.h"

// The part of the tracker's station list that the radio feed keeps: it puts heard stations,
// objects and items into the store, removes killed objects, lets stations that have not
// been heard for a while leave, and keeps the list within the host's 16-bit index by
// letting the longest unheard station go first. Time comes in as an argument, so that the
// rules can be checked without waiting.
class FeedStations final {
public:
    // Entries the host can index, the own station included.
    static constexpr int MaxEntries = 32767;

    FeedStations(StationStore& store, double expireMinutes, int maxEntries = MaxEntries);

    // Puts one report into the list; returns the changes for the host's events.
    TrackerChanges hear(const feed::PositionReport& report, qint64 nowMs);
    // Removes the stations heard last `expireMinutes` or longer before nowMs.
    TrackerChanges expire(qint64 nowMs);

    // Stations in the list because the feed heard them.
    int size() const { return static_cast<int>(m_byAge.size()); }

private:
    struct Heard {
        QString name;
        qint64 heardMs = 0;
    };

    void forget(const QString& name);

    StationStore& m_store;
    qint64 m_expireMs;
    int m_maxEntries;
    // Oldest first: a counter orders stations heard in the same millisecond.
    std::map<quint64, Heard> m_byAge;
    QHash<QString, quint64> m_ageOf;
    quint64 m_nextAge = 0;
};
