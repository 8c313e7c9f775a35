// Guards against the feed's stations landing wrongly in the tracker's list (moved, killed,
// expired or evicted in the wrong order).
#include <gtest/gtest.h>

#include "feed/FeedStations.h"

namespace {

feed::PositionReport report(const QString& name, double lat, bool killed = false) {
    feed::PositionReport r;
    r.name = r.sender = name;
    r.latitude = lat;
    r.longitude = -72.0;
    r.killed = killed;
    return r;
}

constexpr qint64 minute = 60000;

TEST(FeedStations, aHeardStationIsOneEntryKilledOnesLeaveTheOwnNeverMoves) {
    StationStore store{DistanceUnit::Kilometres};
    store.setOwn(QStringLiteral("OWN"), 49.0, -72.0);
    FeedStations stations{store, 60.0};
    EXPECT_EQ(stations.hear(report("N0CALL-1", 49.1), 0).heard, QStringList{"N0CALL-1"});
    stations.hear(report("LEADER", 49.2), 0);
    stations.hear(report("N0CALL-1", 49.05), minute);
    EXPECT_EQ(stations.hear(report("LEADER", 49.2, true), 1).deleted, QStringList{"LEADER"});
    EXPECT_FALSE(stations.hear(report("GHOST", 49.1, true), 2).any());
    EXPECT_FALSE(stations.hear(report("OWN", 10.0), 3).any());
    EXPECT_EQ(store.own().lat, 49.0);
    EXPECT_EQ(store.count(), 2);
}

TEST(FeedStations, theLongestUnheardLeaveFirstOnExpiryAndWhenTheListIsFull) {
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 0.0, 0.0);
    FeedStations stations(store, 60.0, 4); // the own station and three others
    stations.hear(report("A", 1), 0);
    stations.hear(report("B", 1), 10 * minute);
    stations.hear(report("C", 1), 15 * minute);
    stations.hear(report("A", 1), 20 * minute); // heard again: younger than B and C
    const TrackerChanges full = stations.hear(report("D", 1), 21 * minute);
    EXPECT_EQ(full.deleted, QStringList{"B"});
    EXPECT_EQ(full.heard, QStringList{"D"});
    EXPECT_FALSE(stations.expire(75 * minute - 1).any());
    EXPECT_EQ(stations.expire(75 * minute).deleted, QStringList{"C"});
    EXPECT_EQ(stations.expire(81 * minute).deleted, (QStringList{"A", "D"}));
    EXPECT_EQ(store.count(), 1);

    FeedStations unbounded(store, 60.0);
    for (int i = 0; i < FeedStations::MaxEntries + 10; ++i)
        unbounded.hear(report(QStringLiteral("S%1").arg(i), 1), i);
    EXPECT_EQ(store.count(), FeedStations::MaxEntries);
    EXPECT_EQ(store.at(1)->callsign, QStringLiteral("S11"));
}

} // namespace
