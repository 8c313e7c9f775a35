#include <gtest/gtest.h>

#include <QJsonArray>
#include <QSignalSpy>

#include "HostCore.h"
#include "Journal.h"
#include "MapScene.h"

namespace {

Scenario twoStations() {
    Scenario s;
    s.ownCallsign = QStringLiteral("OWN");
    s.ownLat = 50.0;
    ScenarioStation a;
    a.callsign = QStringLiteral("A");
    a.lat = 50.5;
    a.vanish = 4.0;
    ScenarioStation b;
    b.callsign = QStringLiteral("B");
    b.lat = 49.0;
    b.appear = 2.0;
    s.stations = {a, b};
    s.deleteAll = {8.0};
    return s;
}

using Events = std::vector<std::pair<QString, QVariantList>>;

class CoreTest : public ::testing::Test {
protected:
    CoreTest() : core(twoStations()) {
        QObject::connect(&core, &HostCore::hostEvent,
                         [this](const QString& name, const QVariantList& args) {
                             events.emplace_back(name, args);
                         });
    }
    HostCore core;
    Events events;
};

TEST_F(CoreTest, noEventsUntilEnabled) {
    core.advanceTo(0.0);
    core.advanceTo(2.0);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(core.stationCount(), 3);
}

TEST_F(CoreTest, eventsFollowTheListInOrder) {
    core.advanceTo(0.0);
    core.setEventsEnabled(-1);
    core.advanceTo(2.0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first, QStringLiteral("NotifyBeacon"));
    EXPECT_EQ(events[0].second, (QVariantList{QStringLiteral("B"), 49.0 * 60, 0.0}));
    EXPECT_EQ(events[1].first, QStringLiteral("DataAvailable"));
    events.clear();
    core.advanceTo(4.0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first, QStringLiteral("NotifyDelete"));
    EXPECT_EQ(events[0].second, QVariantList{QStringLiteral("A")});
    events.clear();
    core.advanceTo(8.0);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].first, QStringLiteral("NotifyDeleteAllStations"));
    EXPECT_EQ(events[1].first, QStringLiteral("DataAvailable"));
    EXPECT_EQ(core.stationCount(), 1);
}

TEST_F(CoreTest, disablingStopsEventsButNotTheClosingNotice) {
    core.setEventsEnabled(1);
    core.setEventsEnabled(0);
    core.advanceTo(2.0);
    core.announceClosing();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].first, QStringLiteral("Kestrel32IsClosing"));
}

TEST_F(CoreTest, listItemsAndStations) {
    core.advanceTo(2.0);
    EXPECT_TRUE(core.stationListItem(0).startsWith(QStringLiteral("@OWN ")));
    EXPECT_TRUE(core.stationListItem(2).startsWith(QStringLiteral("#B ")));
    EXPECT_EQ(core.stationListItem(3), QString());
    EXPECT_EQ(core.stationListItem(32767), QString());
    EXPECT_THROW(core.stationListItem(-1), CallRefused);
    const auto b = core.getStation(QStringLiteral("B"));
    ASSERT_TRUE(b.has_value());
    EXPECT_NEAR(b->distance, 111.12, 1e-9);
    EXPECT_FALSE(core.getStation(QStringLiteral("B*")).has_value());
}

TEST_F(CoreTest, drawingPropertiesAreCheckedAndCarriedIntoMarks) {
    EXPECT_THROW(core.setDrawWidth(0), CallRefused);
    EXPECT_THROW(core.setDrawStyle(7), CallRefused);
    EXPECT_THROW(core.drawCircle(0, std::nan(""), 1, 0, 0, 1, 1), CallRefused);
    core.setDrawWidth(3);
    core.setDrawStyle(2);
    core.setFillColor(16776960);
    core.drawCircle(-60.0, 3000.0, 2.5, 255, 0.2f, 0.4, 0.5f);
    core.drawCircle(1.0, 2.0, -4.0, 65280, 0, 6.283186, 1); // accepted, draws nothing
    ASSERT_EQ(core.scene().marks().size(), 2u);
    const MapMark& m = core.scene().marks()[0];
    EXPECT_EQ(m.width, 3);
    EXPECT_EQ(m.style, 2);
    EXPECT_EQ(m.fillColour, 16776960u);
    EXPECT_EQ(m.colour, 255u);
    EXPECT_DOUBLE_EQ(m.x, -60.0);
    EXPECT_DOUBLE_EQ(m.radius, 2.5);
    EXPECT_DOUBLE_EQ(m.aspect, 0.5);
}

TEST(CoreMap, mapUnitsAreTheTrackersDistanceUnit) {
    // 400 pixels at 0.5 minutes of latitude a pixel: 200 minutes = 200 nm = 370.4 km.
    for (const auto& [unit, height] :
         {std::pair{DistanceUnit::NauticalMiles, 200.0}, std::pair{DistanceUnit::Kilometres, 370.4},
          std::pair{DistanceUnit::StatuteMiles, 370.4 / 1.609344}}) {
        Scenario s;
        s.unit = unit;
        HostCore core(s);
        core.scene().pixelHeight = 400;
        core.scene().unitsPerPixel = 0.5;
        EXPECT_NEAR(core.scaleHeight(), height, 1e-9) << geo::unitName(unit).toStdString();
        // A ring of the scale's height spans the whole map.
        EXPECT_NEAR(core.scene().toPixels(core.scaleHeight()), 400.0, 1e-9);
    }
}

TEST(CoreMap, viewFramesTheOwnSurroundingsNotFarStations) {
    Scenario s;
    s.ownCallsign = QStringLiteral("OWN");
    s.ownLat = 52.0;
    ScenarioStation near, far;
    near.callsign = QStringLiteral("NEAR");
    near.lat = 52.1;
    far.callsign = QStringLiteral("FAR");
    far.lat = 40.0;
    s.stations = {near, far};
    HostCore core(s);
    core.advanceTo(0.0);
    core.fitView();
    const MapScene& scene = core.scene();
    EXPECT_NEAR(scene.centreY, 52.05 * 60, 1e-9);
    EXPECT_GT(scene.toPixelY(52.1 * 60), 0.0);
    EXPECT_LT(scene.toPixelY(52.1 * 60), scene.pixelHeight);
    EXPECT_GT(scene.toPixelY(40.0 * 60), scene.pixelHeight); // off the map, below
}

TEST_F(CoreTest, alertForAStationThatLeftIsAcceptedQuietly) {
    core.advanceTo(0.0);
    core.alertStation(QStringLiteral("A"));
    core.alertStation(QStringLiteral("GONE"));
    EXPECT_EQ(core.scene().alerts().size(), 1u);
    EXPECT_EQ(core.scene().alerts().count(QStringLiteral("A")), 1u);
}

TEST(MapSceneTest, scaleHeightDescribesTheVisibleMap) {
    MapScene scene;
    scene.pixelHeight = 400;
    scene.unitsPerPixel = 0.25;
    EXPECT_DOUBLE_EQ(scene.scaleHeight(), 100.0);
    // Eight pixels of map stay eight pixels whatever the zoom.
    scene.zoom(2.0, 200, 200);
    EXPECT_DOUBLE_EQ(scene.scaleHeight(), 50.0);
    EXPECT_DOUBLE_EQ(8 * scene.scaleHeight() / scene.pixelHeight, 1.0);
}

TEST(MapSceneTest, zoomKeepsThePointUnderTheCursorAndPanFollowsTheMouse) {
    MapScene scene;
    scene.centreX = 600.0;
    scene.centreY = 3000.0;
    const double x = scene.fromPixelX(100), y = scene.fromPixelY(50);
    scene.zoom(1.25, 100, 50);
    EXPECT_NEAR(scene.toPixelX(x), 100.0, 1e-9);
    EXPECT_NEAR(scene.toPixelY(y), 50.0, 1e-9);
    const double before = scene.toPixelX(x);
    scene.pan(30, -10);
    EXPECT_NEAR(scene.toPixelX(x), before + 30, 1e-9);
    EXPECT_NEAR(scene.toPixelY(y), 40.0, 1e-9);
}

TEST(MapSceneTest, marksFadeAndGo) {
    MapScene scene;
    scene.addCircle(0, 0, 1, 255, 0, 6.283186, 1, 1000);
    scene.alert(QStringLiteral("A"), 1000);
    EXPECT_DOUBLE_EQ(MapScene::opacity(1000, 1000), 1.0);
    EXPECT_DOUBLE_EQ(MapScene::opacity(1000, 1000 + MapScene::fadeMs / 2), 0.5);
    scene.prune(1000 + MapScene::fadeMs - 1);
    EXPECT_EQ(scene.marks().size(), 1u);
    scene.prune(1000 + MapScene::fadeMs);
    EXPECT_TRUE(scene.marks().empty());
    EXPECT_TRUE(scene.alerts().empty());
}

TEST(MapSceneTest, ringDrawnAgainReplacesTheOldOneOnTop) {
    // Every scan draws the same rings again; the map must not pile them up for 30 s.
    MapScene scene;
    scene.addCircle(10, 20, 1, 255, 0, 6.283186, 1, 1000);
    scene.addCircle(30, 40, 1, 255, 0, 6.283186, 1, 1000);
    scene.addCircle(10, 20, 1, 255, 0, 6.283186, 1, 5000);
    ASSERT_EQ(scene.marks().size(), 2u);
    EXPECT_EQ(scene.marks()[0].x, 30.0);
    EXPECT_EQ(scene.marks()[1].x, 10.0);
    EXPECT_EQ(scene.marks()[1].drawnMs, 5000);
    // Any difference (colour, angles, drawing properties) is a mark of its own.
    scene.addCircle(10, 20, 1, 65280, 0, 6.283186, 1, 6000);
    scene.addCircle(10, 20, 1, 65280, 0, 3.0, 1, 6000);
    scene.drawWidth = 2;
    scene.addCircle(10, 20, 1, 65280, 0, 3.0, 1, 6000);
    EXPECT_EQ(scene.marks().size(), 5u);
}

TEST(JournalLine, callsEventsAndErrors) {
    EXPECT_EQ(Journal::line(12, "call", QStringLiteral("DrawCircle"),
                            QJsonArray{-60.5, 3000, double(0.2f), 255, 0, 6.283186, 0.5},
                            QJsonValue(QJsonValue::Undefined), QString()),
              QByteArray(R"({"t":12,"call":"DrawCircle","args":[-60.5,3000,)"
                         R"(0.20000000298023224,255,0,6.283186,0.5]})"));
    EXPECT_EQ(Journal::line(0, "call", QStringLiteral("StationListItem"), QJsonArray{1},
                            QStringLiteral("#A \"x\""), QString()),
              QByteArray(R"({"t":0,"call":"StationListItem","args":[1],"result":"#A \"x\""})"));
    EXPECT_EQ(
        Journal::line(5, "call", QStringLiteral("GetStation"), QJsonArray{"ZZ"}, false, QString()),
        QByteArray(R"({"t":5,"call":"GetStation","args":["ZZ"],"result":false})"));
    EXPECT_EQ(Journal::line(7, "call", QStringLiteral("DrawWidth"), QJsonArray{0},
                            QJsonValue(QJsonValue::Undefined), QStringLiteral("bad")),
              QByteArray(R"({"t":7,"call":"DrawWidth","args":[0],"error":"bad"})"));
    EXPECT_EQ(Journal::line(9, "event", QStringLiteral("Kestrel32IsClosing"), {},
                            QJsonValue(QJsonValue::Undefined), QString()),
              QByteArray(R"({"t":9,"event":"Kestrel32IsClosing","args":[]})"));
}

} // namespace
