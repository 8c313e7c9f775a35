#include <gtest/gtest.h>

#include "Geo.h"
#include "StationStore.h"
#include "TrackerModel.h"

namespace {

struct DistanceCase {
    DistanceUnit unit;
    double lat1, lon1, lat2, lon2;
    double expected;
};

void PrintTo(const DistanceCase& c, std::ostream* os) {
    *os << c.lat1 << "," << c.lon1 << " to " << c.lat2 << "," << c.lon2 << " = " << c.expected
        << ' ' << geo::unitName(c.unit).toStdString();
}

class Distances : public ::testing::TestWithParam<DistanceCase> {};

TEST_P(Distances, useTheTrackersScaleAndUnit) {
    const DistanceCase& c = GetParam();
    StationStore store(c.unit);
    store.setOwn(QStringLiteral("OWN"), c.lat1, c.lon1);
    EXPECT_NEAR(store.distanceFromOwn(c.lat2, c.lon2), c.expected, 1e-9 * c.expected + 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    , Distances,
    ::testing::Values(
        // One degree of arc along a meridian, and along the equator.
        DistanceCase{DistanceUnit::Kilometres, 50.0, 8.0, 51.0, 8.0, 111.12},
        DistanceCase{DistanceUnit::Kilometres, 0.0, 0.0, 0.0, -1.0, 111.12},
        DistanceCase{DistanceUnit::StatuteMiles, 50.0, 8.0, 51.0, 8.0, 111.12 / 1.609344},
        DistanceCase{DistanceUnit::NauticalMiles, 50.0, 8.0, 51.0, 8.0, 111.12 / 1.852},
        // Pole to pole through anything: half a turn.
        DistanceCase{DistanceUnit::Kilometres, 90.0, 0.0, -90.0, 0.0, 180 * 111.12},
        // One degree of longitude at 60 degrees north: the great circle cuts a little
        // inside the parallel's 55.56 km.
        DistanceCase{DistanceUnit::Kilometres, 60.0, 0.0, 60.0, 1.0, 55.559471105487596},
        DistanceCase{DistanceUnit::Kilometres, 12.0, 34.0, 12.0, 34.0, 0.0}));

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.setOwn(QStringLiteral("G0OWN"), 52.0, 0.0, QStringLiteral("home"));
    }
    StationStore store;
};

TEST_F(StoreTest, ownStationFirstThenOthersInOrderHeard) {
    EXPECT_TRUE(store.upsert(QStringLiteral("B"), 52.1, 0.0));
    EXPECT_TRUE(store.upsert(QStringLiteral("A"), 53.0, 0.0, QStringLiteral("car"), true));
    EXPECT_FALSE(store.upsert(QStringLiteral("B"), 52.2, 0.0)); // moves, keeps its place
    ASSERT_EQ(store.count(), 3);
    EXPECT_EQ(store.entryText(0), QStringLiteral("@G0OWN 0.0km home"));
    EXPECT_EQ(store.entryText(1), QStringLiteral("#B 22.2km"));
    EXPECT_EQ(store.entryText(2), QStringLiteral("#A* 111.1km car"));
    EXPECT_EQ(store.entryText(3), QString());
    EXPECT_EQ(store.entryText(-1), QString());
}

TEST_F(StoreTest, removingMovesLaterEntriesUp) {
    store.upsert(QStringLiteral("A"), 52.1, 0.0);
    store.upsert(QStringLiteral("B"), 52.2, 0.0);
    store.upsert(QStringLiteral("C"), 52.3, 0.0);
    EXPECT_TRUE(store.remove(QStringLiteral("B")));
    EXPECT_FALSE(store.remove(QStringLiteral("B")));
    EXPECT_FALSE(store.remove(QStringLiteral("G0OWN"))); // the own station stays
    ASSERT_EQ(store.count(), 3);
    EXPECT_EQ(store.at(2)->callsign, QStringLiteral("C"));
    EXPECT_EQ(store.removeAll(), 2);
    EXPECT_EQ(store.count(), 1);
}

TEST_F(StoreTest, lookUpByCallsignFollowsRemovalsAndReturns) {
    // Callsigns are looked up through an index: it must follow every station that moved up.
    for (const char* call : {"A", "B", "C", "D"})
        store.upsert(QString::fromLatin1(call), 52.0 + (call[0] - 'A' + 1) * 0.1, 0.0);
    store.remove(QStringLiteral("A"));
    ASSERT_NE(store.find(QStringLiteral("D")), nullptr);
    EXPECT_EQ(store.find(QStringLiteral("D"))->lat, 52.4);
    EXPECT_EQ(store.find(QStringLiteral("A")), nullptr);
    EXPECT_FALSE(store.upsert(QStringLiteral("C"), 50.0, 1.0)); // in place, not added
    EXPECT_EQ(store.at(2)->lat, 50.0);
    EXPECT_TRUE(store.upsert(QStringLiteral("A"), 51.0, 0.0)); // back, at the end
    EXPECT_EQ(store.entryText(4).left(3), QStringLiteral("#A "));
    EXPECT_EQ(store.fix(QStringLiteral("A"))->latitudeMinutes, 3060.0);
    store.removeAll();
    EXPECT_EQ(store.find(QStringLiteral("B")), nullptr);
    EXPECT_TRUE(store.upsert(QStringLiteral("B"), 52.0, 0.0));
    EXPECT_EQ(store.count(), 2);
}

TEST_F(StoreTest, fixGivesMinutesOfArcAndDistance) {
    store.upsert(QStringLiteral("A"), 51.5, -0.25);
    const auto fix = store.fix(QStringLiteral("A"));
    ASSERT_TRUE(fix.has_value());
    EXPECT_DOUBLE_EQ(fix->latitudeMinutes, 3090.0);
    EXPECT_DOUBLE_EQ(fix->longitudeMinutes, -15.0);
    EXPECT_DOUBLE_EQ(fix->distance, store.distanceFromOwn(51.5, -0.25));
    const auto own = store.fix(QStringLiteral("G0OWN"));
    ASSERT_TRUE(own.has_value());
    EXPECT_DOUBLE_EQ(own->distance, 0.0);
    EXPECT_FALSE(store.fix(QStringLiteral("a")).has_value()); // case matters
}

TEST(StoreWithoutOwn, listsOnlyTheOthers) {
    StationStore store;
    store.upsert(QStringLiteral("A"), 0.0, 1.0);
    EXPECT_EQ(store.count(), 1);
    EXPECT_EQ(store.entryText(0), QStringLiteral("#A 111.1km"));
}

class ModelTest : public ::testing::Test {
protected:
    ModelTest() {
        scenario.ownCallsign = QStringLiteral("OWN");
        scenario.ownLat = 50.0;
        ScenarioStation early;
        early.callsign = QStringLiteral("EARLY");
        early.lat = 50.1;
        early.vanish = 10.0;
        ScenarioStation late;
        late.callsign = QStringLiteral("LATE");
        late.lat = 50.2;
        late.appear = 5.0;
        ScenarioStation mover;
        mover.callsign = QStringLiteral("MOVER");
        mover.lat = 50.0;
        mover.lon = 1.0;
        mover.track = {{2.0, 50.0, 1.0}, {4.0, 50.0, 2.0}};
        scenario.stations = {early, late, mover};
    }
    QStringList listed() const {
        QStringList calls;
        for (int i = 0; i < store.count(); ++i)
            calls << store.at(i)->callsign;
        return calls;
    }
    Scenario scenario;
    StationStore store;
};

TEST_F(ModelTest, stationsAppearMoveAndVanish) {
    TrackerModel model(scenario, store);
    TrackerChanges c = model.advanceTo(0.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "EARLY", "MOVER"}));
    EXPECT_EQ(c.heard, (QStringList{"EARLY", "MOVER"}));

    c = model.advanceTo(1.0); // nothing moves before the first track point
    EXPECT_FALSE(c.any());

    c = model.advanceTo(3.0);
    EXPECT_EQ(c.heard, QStringList{"MOVER"});
    EXPECT_DOUBLE_EQ(store.find(QStringLiteral("MOVER"))->lon, 1.5);

    c = model.advanceTo(5.0);
    EXPECT_EQ(c.heard, (QStringList{"LATE", "MOVER"}));
    EXPECT_EQ(listed(), (QStringList{"OWN", "EARLY", "MOVER", "LATE"}));

    c = model.advanceTo(10.0);
    EXPECT_EQ(c.deleted, QStringList{"EARLY"});
    EXPECT_TRUE(c.heard.isEmpty());
    EXPECT_EQ(listed(), (QStringList{"OWN", "MOVER", "LATE"}));
    EXPECT_DOUBLE_EQ(store.find(QStringLiteral("MOVER"))->lon, 2.0);
}

TEST_F(ModelTest, deleteAllClearsTheListForGood) {
    scenario.deleteAll = {6.0};
    TrackerModel model(scenario, store);
    model.advanceTo(5.5);
    const TrackerChanges c = model.advanceTo(7.0);
    EXPECT_TRUE(c.deletedAll);
    EXPECT_TRUE(c.deleted.isEmpty()); // no single deletes for what the clear removed
    EXPECT_EQ(listed(), QStringList{"OWN"});
    EXPECT_FALSE(model.advanceTo(20.0).any());
}

TEST_F(ModelTest, stationsAppearingAfterAClearAreHeard) {
    scenario.deleteAll = {3.0};
    TrackerModel model(scenario, store);
    model.advanceTo(0.0);
    model.advanceTo(4.0);
    EXPECT_EQ(listed(), QStringList{"OWN"});
    model.advanceTo(6.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "LATE"}));
}

TEST_F(ModelTest, timeNeverRunsBackwards) {
    TrackerModel model(scenario, store);
    model.advanceTo(12.0);
    EXPECT_FALSE(model.advanceTo(1.0).any());
    EXPECT_EQ(store.find(QStringLiteral("EARLY")), nullptr);
}

TEST_F(ModelTest, leavesStationsFedByOthersAlone) {
    TrackerModel model(scenario, store);
    model.advanceTo(0.0);
    store.upsert(QStringLiteral("RADIO"), 49.0, 0.0);
    model.advanceTo(12.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "MOVER", "RADIO", "LATE"}));
}

} // namespace
