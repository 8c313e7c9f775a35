// Guards against the tracker's scenario, events and map marks going wrong: a station played at
// the wrong time, events out of order or sent before they are enabled, rings piling up, a map
// scale in the wrong unit.
#include <gtest/gtest.h>

#include "HostCore.h"
#include "MapScene.h"

namespace {

// The events a core raises while this lives, each as its name and first argument.
struct Events : QStringList {
    QObject context;
    explicit Events(HostCore& core) {
        QObject::connect(&core, &HostCore::hostEvent, &context,
                         [this](const QString& name, const QVariantList& args) {
                             *this << name + QLatin1Char(' ') + args.value(0).toString();
                         });
    }
};

// The scenario played through the core: stations appear, move along their tracks, vanish and
// are cleared at their times, each change told in order once events are on, the closing told
// whatever. (The answers themselves are the host contract's, over the bus as well.)
TEST(HostCore, theScenarioPlaysAndEachChangeIsToldInOrderOnceEnabledButClosingAlways) {
    HostCore core(parseScenario(R"({"own": {"callsign": "OWN", "lat": 50, "lon": 0},
      "stations": [{"callsign": "EARLY", "lat": 0, "lon": 0, "vanish": 10},
        {"callsign": "LATE", "lat": 0, "lon": 0, "appear": 5},
        {"callsign": "MOVER", "lat": 0, "lon": 1,
         "track": [{"t": 2, "lat": 50, "lon": 1}, {"t": 4, "lat": 50, "lon": 2}]},
        {"callsign": "AFTER", "lat": 0, "lon": 0, "appear": 13}], "deleteAll": [12]})",
                                QStringLiteral("moves.json")));
    const Events events(core);
    const auto listed = [&] {
        QStringList calls;
        for (int i = 0; i < core.store().count(); ++i)
            calls << core.store().at(i)->callsign;
        return calls;
    };
    core.advanceTo(0.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "EARLY", "MOVER"}));
    EXPECT_THROW(core.stationListItem(-1), CallRefused);
    core.setEventsEnabled(-1);
    core.advanceTo(1.0); // nothing moves before the first track point
    core.advanceTo(3.0);
    EXPECT_DOUBLE_EQ(core.store().find(QStringLiteral("MOVER"))->lon, 1.5);
    core.store().upsert(QStringLiteral("RADIO"), 49.0, 0.0); // fed by others: left alone
    core.advanceTo(5.0);
    core.advanceTo(10.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "MOVER", "RADIO", "LATE"}));
    core.advanceTo(12.5); // no single deletes for what the clear removed
    core.advanceTo(1.0);  // time never runs backwards
    core.advanceTo(14.0);
    EXPECT_EQ(listed(), (QStringList{"OWN", "AFTER"}));
    core.advanceTo(30.0); // cleared stations stay gone
    core.setEventsEnabled(0);
    core.alertStation(QStringLiteral("GONE")); // accepted quietly
    core.announceClosing();
    EXPECT_EQ(events, (QStringList{"NotifyBeacon MOVER", "DataAvailable ", "NotifyBeacon LATE",
                                   "NotifyBeacon MOVER", "DataAvailable ", "NotifyDelete EARLY",
                                   "DataAvailable ", "NotifyDeleteAllStations ", "DataAvailable ",
                                   "NotifyBeacon AFTER", "DataAvailable ", "Kestrel32IsClosing "}));
    EXPECT_TRUE(core.scene().alerts().empty());
}

// Until the operator's position is known nothing is measured from 0N 0E: an add-on that
// asks finds no station and so draws and raises nothing. The scenario's unit, star and
// comment reach the entries; the operator's changes in the preferences move the own station
// and the unit at once.
TEST(HostCore, noDistanceUntilTheOwnPositionIsKnownThenTheOperatorsChangesApply) {
    HostCore core(parseScenario(R"({"unit": "mi", "own": {"callsign": "OWN", "lat": 0, "lon": 0},
      "stations": [{"callsign": "A", "lat": 50.5, "lon": 0, "star": true, "comment": "car"}]})",
                                QStringLiteral("own.json")));
    core.advanceTo(0.0);
    core.store().setOwnUnplaced(QStringLiteral("OWN"));
    const Events events(core);
    core.setEventsEnabled(-1);
    EXPECT_EQ(core.stationListItem(0), QStringLiteral("@OWN"));
    EXPECT_EQ(core.stationListItem(1), QStringLiteral("#A* car"));
    EXPECT_FALSE(core.getStation(QStringLiteral("OWN")));
    EXPECT_FALSE(core.getStation(QStringLiteral("A")));

    core.moveOwn(QStringLiteral("OWN"), std::pair(50.0, 0.0));
    EXPECT_EQ(core.stationListItem(1), QStringLiteral("#A* 34.5mi car"));
    EXPECT_NEAR(core.getStation(QStringLiteral("A"))->distance, 55.56 / 1.609344, 1e-9);
    core.setUnit(DistanceUnit::NauticalMiles);
    EXPECT_EQ(core.stationListItem(1), QStringLiteral("#A* 30.0nm car"));
    EXPECT_NEAR(core.getStation(QStringLiteral("A"))->distance, 55.56 / 1.852, 1e-9);
    core.moveOwn(QStringLiteral("OWN"), std::pair(50.0, 0.0)); // nothing moved: no event
    core.moveOwn(QStringLiteral("NEW-9"), std::pair(50.5, 0.0));
    EXPECT_EQ(core.stationListItem(0), QStringLiteral("@NEW-9 0.0nm"));
    EXPECT_EQ(events, (QStringList{"NotifyBeacon OWN", "DataAvailable ", "DataAvailable ",
                                   "NotifyDelete OWN", "NotifyBeacon NEW-9", "DataAvailable "}));
}

TEST(MapScene, aRingDrawnAgainReplacesTheOldOne) {
    // Every scan draws the same rings again; the map must not pile them up.
    MapScene scene;
    scene.addCircle(10, 20, 1, 255, 0, 6.283186, 1, 1000);
    scene.addCircle(30, 40, 1, 255, 0, 6.283186, 1, 1000);
    scene.addCircle(10, 20, 1, 255, 0, 6.283186, 1, 5000);
    ASSERT_EQ(scene.marks().size(), 2u);
    EXPECT_EQ(scene.marks()[1].drawnMs, 5000);
    scene.addCircle(10, 20, 1, 65280, 0, 6.283186, 1, 6000); // another colour: its own mark
    EXPECT_EQ(scene.marks().size(), 3u);
}

} // namespace
