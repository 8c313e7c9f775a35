#include <gtest/gtest.h>

#include "feed/FeedStations.h"

namespace {

feed::PositionReport report(const QString& name, double lat, double lon, bool killed = false) {
    feed::PositionReport r;
    r.name = name;
    r.sender = name;
    r.latitude = lat;
    r.longitude = lon;
    r.killed = killed;
    return r;
}

constexpr qint64 Minute = 60000;

class FeedStationsTest : public testing::Test {
protected:
    void SetUp() override { m_store.setOwn(QStringLiteral("OWN"), 49.0, -72.0); }

    StationStore m_store{DistanceUnit::Kilometres};
    FeedStations m_stations{m_store, 60.0};
};

TEST_F(FeedStationsTest, HeardStationsJoinAndMoveInPlace) {
    EXPECT_EQ(m_stations.hear(report("N0CALL-1", 49.1, -72.0), 0).heard, QStringList{"N0CALL-1"});
    m_stations.hear(report("N0CALL-2", 49.2, -72.0), 0);
    m_stations.hear(report("N0CALL-1", 49.05, -72.0), Minute);
    ASSERT_EQ(m_store.count(), 3);
    EXPECT_EQ(m_store.at(1)->callsign, QStringLiteral("N0CALL-1"));
    EXPECT_NEAR(m_store.at(1)->lat, 49.05, 1e-9);
    // 0.05 degree of latitude is 5.56 km.
    EXPECT_NEAR(m_store.fix(QStringLiteral("N0CALL-1"))->distance, 5.56, 0.01);
    EXPECT_EQ(m_stations.size(), 2);
}

TEST_F(FeedStationsTest, AKilledObjectLeavesTheList) {
    m_stations.hear(report("LEADER", 49.1, -72.0), 0);
    const TrackerChanges changes = m_stations.hear(report("LEADER", 49.1, -72.0, true), 1);
    EXPECT_EQ(changes.deleted, QStringList{"LEADER"});
    EXPECT_TRUE(changes.heard.isEmpty());
    EXPECT_EQ(m_store.find(QStringLiteral("LEADER")), nullptr);
    // Killing what is not in the list changes nothing.
    EXPECT_FALSE(m_stations.hear(report("GHOST", 49.1, -72.0, true), 2).any());
    EXPECT_EQ(m_store.count(), 1);
}

TEST_F(FeedStationsTest, StationsNotHeardForTheExpiryLeaveOldestFirst) {
    m_stations.hear(report("A", 49.1, -72.0), 0);
    m_stations.hear(report("B", 49.1, -72.0), 10 * Minute);
    m_stations.hear(report("A", 49.1, -72.0), 20 * Minute); // heard again: younger than B
    EXPECT_FALSE(m_stations.expire(69 * Minute).any());
    EXPECT_EQ(m_stations.expire(70 * Minute).deleted, QStringList{"B"});
    EXPECT_EQ(m_stations.expire(80 * Minute - 1).deleted, QStringList{});
    EXPECT_EQ(m_stations.expire(80 * Minute).deleted, QStringList{"A"});
    EXPECT_EQ(m_store.count(), 1);
    EXPECT_EQ(m_stations.size(), 0);
}

TEST_F(FeedStationsTest, TheOwnCallsignNeverMovesTheOwnStation) {
    EXPECT_FALSE(m_stations.hear(report("OWN", 10.0, 10.0), 0).any());
    EXPECT_EQ(m_store.own().lat, 49.0);
    EXPECT_EQ(m_store.count(), 1);
}

TEST(FeedStationsLimit, TheLongestUnheardStationMakesRoom) {
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 0.0, 0.0);
    FeedStations stations(store, 60.0, 4); // the own station and three others
    stations.hear(report("A", 1, 1), 0);
    stations.hear(report("B", 1, 1), 1);
    stations.hear(report("C", 1, 1), 2);
    stations.hear(report("A", 1, 1), 3); // A heard again, B is now the oldest
    const TrackerChanges changes = stations.hear(report("D", 1, 1), 4);
    EXPECT_EQ(changes.deleted, QStringList{"B"});
    EXPECT_EQ(changes.heard, QStringList{"D"});
    ASSERT_EQ(store.count(), 4);
    QStringList names;
    for (int i = 1; i < store.count(); ++i)
        names << store.at(i)->callsign;
    EXPECT_EQ(names, (QStringList{"A", "C", "D"}));
}

TEST(FeedStationsLimit, HoldsNoMoreThanTheHostCanIndex) {
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 0.0, 0.0);
    FeedStations stations(store, 60.0);
    for (int i = 0; i < FeedStations::MaxEntries + 10; ++i)
        stations.hear(report(QStringLiteral("S%1").arg(i), 1, 1), i);
    EXPECT_EQ(store.count(), FeedStations::MaxEntries);
    EXPECT_EQ(store.at(1)->callsign, QStringLiteral("S11"));
    EXPECT_EQ(store.at(store.count() - 1)->callsign,
              QStringLiteral("S%1").arg(FeedStations::MaxEntries + 9));
}

} // namespace
