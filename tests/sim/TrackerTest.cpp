// Guards against a wrong distance, a station listed in the wrong place or found under a
// stale index after removals, and an entry too long for the host's answers. (The scenario
// playing its stations is followed through the core in HostCoreTest.)
#include <gtest/gtest.h>

#include "Geo.h"
#include "StationStore.h"

namespace {

// Miles of both kinds along a meridian are followed through the core (HostCoreTest).
TEST(StationStore, distancesFollowTheGreatCircle) {
    StationStore store(DistanceUnit::Kilometres);
    store.setOwn(QStringLiteral("OWN"), 60.0, 0.0);
    // The great circle cuts a little inside the parallel's 55.56 km.
    EXPECT_NEAR(store.distanceFromOwn(60.0, 1.0), 55.559471105487596, 1e-9);
}

TEST(StationStore, listsTheOwnFirstAndFindsStationsThroughRemovalsAndReturns) {
    StationStore store;
    store.setOwn(QStringLiteral("G0OWN"), 52.0, 0.0, QStringLiteral("home"));
    EXPECT_TRUE(store.upsert(QStringLiteral("B"), 52.1, 0.0));
    EXPECT_TRUE(store.upsert(QStringLiteral("A"), 53.0, 0.0, QStringLiteral("car"), true));
    for (const char* call : {"C", "D"})
        store.upsert(QString::fromLatin1(call), 52.5, 0.0);
    EXPECT_FALSE(store.upsert(QStringLiteral("B"), 52.2, 0.0)); // moves, keeps its place
    EXPECT_EQ(store.entryText(0), QStringLiteral("@G0OWN 0.0km home"));
    EXPECT_EQ(store.entryText(1), QStringLiteral("#B 22.2km"));
    EXPECT_EQ(store.entryText(2), QStringLiteral("#A* 111.1km car"));

    // Look-up goes through an index: it must follow every station that moved up.
    EXPECT_TRUE(store.remove(QStringLiteral("B")));
    EXPECT_FALSE(store.remove(QStringLiteral("B")));
    EXPECT_FALSE(store.remove(QStringLiteral("G0OWN"))); // the own station stays
    EXPECT_EQ(store.find(QStringLiteral("D")), store.at(3));
    EXPECT_FALSE(store.upsert(QStringLiteral("C"), 51.5, -0.25)); // in place, not added
    EXPECT_TRUE(store.upsert(QStringLiteral("B"), 51.0, 0.0));    // back, at the end
    EXPECT_EQ(store.entryText(4).left(3), QStringLiteral("#B "));
    const auto fix = store.fix(QStringLiteral("C"));
    ASSERT_TRUE(fix.has_value());
    EXPECT_DOUBLE_EQ(fix->latitudeMinutes, 3090.0);
    EXPECT_DOUBLE_EQ(fix->longitudeMinutes, -15.0);
    EXPECT_DOUBLE_EQ(fix->distance, store.distanceFromOwn(51.5, -0.25));
    // One leaving from the middle: those after it move up one place.
    EXPECT_TRUE(store.remove(QStringLiteral("C")));
    EXPECT_EQ(store.find(QStringLiteral("D")), store.at(2));
    EXPECT_EQ(store.find(QStringLiteral("B")), store.at(3));
    EXPECT_EQ(store.find(QStringLiteral("A")), store.at(1));
    EXPECT_EQ(store.removeAll(), 3);
    EXPECT_EQ(store.find(QStringLiteral("A")), nullptr);
    EXPECT_EQ(store.count(), 1);
}

// Distances are kept with the stations: each must follow a move of its own and of the own
// station, set or heard.
TEST(StationStore, aDistanceFollowsTheStationAndTheOwnStationMoving) {
    StationStore store;
    store.upsert(QStringLiteral("A"), 52.1, 0.0); // heard before the own station is known
    store.setOwn(QStringLiteral("G0OWN"), 52.0, 0.0);
    const auto distanceOf = [&](const char* call) {
        return store.fix(QString::fromLatin1(call)).value_or(StationFix{}).distance;
    };
    EXPECT_DOUBLE_EQ(distanceOf("A"), store.distanceFromOwn(52.1, 0.0));
    store.upsert(QStringLiteral("A"), 52.3, 0.0);
    EXPECT_DOUBLE_EQ(distanceOf("A"), store.distanceFromOwn(52.3, 0.0));
    store.upsert(QStringLiteral("G0OWN"), 52.3, 0.0); // the own station heard moving
    EXPECT_DOUBLE_EQ(distanceOf("A"), 0.0);
    store.setOwn(QStringLiteral("G0OWN"), 52.2, 0.0);
    EXPECT_DOUBLE_EQ(distanceOf("A"), store.distanceFromOwn(52.3, 0.0));
}

// Whatever a feed or a scenario brings, an entry stays small enough for any answer of the
// host: long comments are cut, never split inside a character.
TEST(StationStore, keepsCommentsAndEntriesWithinTheirBounds) {
    const int most = StationStore::MaxCommentLength;
    const QString pair = QString::fromUtf8("\xf0\x9f\x93\xa1"); // one character, two units
    const struct {
        QString comment, kept;
    } rows[] = {{QString(most, 'c'), QString(most, 'c')},
                {QString(1 << 20, 'c'), QString(most, 'c')},
                {QString(most - 1, 'c') + pair, QString(most - 1, 'c')},
                {QString(most - 2, 'c') + pair + "x", QString(most - 2, 'c') + pair}};
    for (const auto& row : rows) {
        StationStore store;
        store.setOwn(QStringLiteral("OWN"), 52.0, 0.0, row.comment);
        store.upsert(QStringLiteral("NEW"), 52.0, 0.0, row.comment);
        store.upsert(QStringLiteral("NEW"), 52.0, 0.0, row.comment); // an update in place
        EXPECT_EQ(store.own().comment, row.kept) << row.comment.size();
        EXPECT_EQ(store.at(1)->comment, row.kept) << row.comment.size();
    }
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 52.0, 0.0);
    store.upsert(QString(1000, 'N'), 52.0, 0.0, QString(most, 'c'));
    EXPECT_EQ(store.entryText(1),
              QLatin1Char('#') + QString(StationStore::MaxEntryLength - 1, 'N'));
}

} // namespace
