// Guards the ways round the map: a key that moves the wrong way, following that lets the own
// station leave the middle half (or jumps while it is inside), and a kept view that comes
// back wrong or takes a broken file for a view.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "MapNavigation.h"
#include "MapScene.h"
#include "StationStore.h"
#include "TestFiles.h"
#include "TrackerSettings.h"
#include "setup/TrackerConf.h"

namespace {

MapScene townView() {
    MapScene scene;
    scene.pixelWidth = 800;
    scene.pixelHeight = 600;
    scene.fit(-60.0, 52.0 * 60, -60.0, 52.0 * 60); // 52 N 1 W
    scene.unitsPerPixel = 0.01;                    // 600 px: 6 minutes, 11 km
    return scene;
}

TEST(Navigation, keysMoveAndZoomTheView) {
    MapScene scene = townView();
    const double west = scene.fromPixelX(0);
    navigation::panStepwise(scene, 1, 0); // right: the view moves east by an eighth
    EXPECT_NEAR(scene.fromPixelX(0) - west, 800 * 0.125 * 0.01 / scene.xScale, 1e-9);
    const double north = scene.fromPixelY(0);
    navigation::panStepwise(scene, 0, -1); // up: north
    EXPECT_NEAR(scene.fromPixelY(0) - north, 600 * 0.125 * 0.01, 1e-9);
    const double centreX = scene.centreX, centreY = scene.centreY;
    navigation::zoomCentre(scene, navigation::zoomStep);
    EXPECT_NEAR(scene.unitsPerPixel, 0.01 / 1.25, 1e-12);
    EXPECT_NEAR(scene.centreX, centreX, 1e-9);
    EXPECT_NEAR(scene.centreY, centreY, 1e-9);
}

TEST(Navigation, followingKeepsTheOwnStationInTheMiddleHalf) {
    struct Case {
        double lat, lon;
        bool inside;
    };
    // The view round 52 N 1 W is 0.1 degree high and 0.22 wide: its middle half reaches
    // 0.025 degree north and south, 0.054 east and west.
    const Case cases[] = {
        {52.0, -1.0, true},  {52.02, -1.0, true},  {52.03, -1.0, false},
        {52.0, -1.05, true}, {52.0, -1.06, false}, {51.94, -1.0, false},
    };
    for (const Case& c : cases) {
        MapScene scene = townView();
        EXPECT_EQ(navigation::inMiddleHalf(scene, c.lat, c.lon), c.inside) << c.lat << " " << c.lon;
        const double before = scene.centreY;
        EXPECT_EQ(navigation::keepInMiddleHalf(scene, c.lat, c.lon), !c.inside);
        EXPECT_TRUE(navigation::inMiddleHalf(scene, c.lat, c.lon));
        if (c.inside) {
            EXPECT_EQ(scene.centreY, before);
        }
    }
}

TEST(Navigation, showAllFramesEveryStation) {
    StationStore store;
    store.setOwn(QStringLiteral("N0CALL"), 52.0, -1.0);
    store.upsert(QStringLiteral("FAR"), 55.0, 3.0);
    store.upsert(QStringLiteral("SOUTH"), 50.0, -4.0);
    MapScene scene = townView();
    navigation::showAll(scene, store);
    for (int i = 0; i < store.count(); ++i) {
        const HeardStation* s = store.at(i);
        const double x = scene.toPixelX(s->lon * 60.0), y = scene.toPixelY(s->lat * 60.0);
        EXPECT_TRUE(x > 0 && x < 800 && y > 0 && y < 600) << s->callsign.toStdString();
    }
}

TEST(Navigation, theViewIsKeptForTheNextStart) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kestrel32.conf"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\ncallsign=N0CALL-9\ngpsd=127.0.0.1:2947\n");
    }
    MapScene scene = townView();
    navigation::panStepwise(scene, 1, 1);
    navigation::zoomCentre(scene, 3.0);
    ASSERT_TRUE(navigation::saveView(path, scene));
    MapScene next;
    ASSERT_TRUE(navigation::loadView(path, next));
    // The operator's own settings stay as they were written, byte for byte.
    const QByteArray written = fileBytes(path);
    EXPECT_TRUE(written.startsWith("[General]\ncallsign=N0CALL-9\ngpsd=127.0.0.1:2947\n"))
        << written.toStdString();
    // And the setup's reading of the file takes the map's keys for known ones.
    EXPECT_TRUE(readTrackerConfFile(path).unknownKeys.isEmpty())
        << readTrackerConfFile(path).unknownKeys.join(' ').toStdString();
    // A first start: no folder yet.
    ASSERT_TRUE(navigation::saveView(folder.filePath("new/kestrel32.conf"), scene));
    EXPECT_NEAR(next.centreX, scene.centreX, 1e-9);
    EXPECT_NEAR(next.centreY, scene.centreY, 1e-9);
    EXPECT_NEAR(next.unitsPerPixel, scene.unitsPerPixel, 1e-12);
    EXPECT_NEAR(next.xScale, scene.xScale, 1e-9);

    // Nothing kept, or nonsense: the scene stays as it was.
    const char* broken[] = {"",
                            "[map]\ncentre-latitude=95\ncentre-longitude=0\nminutes-per-pixel="
                            "1\nprojection-latitude=0\n",
                            "[map]\ncentre-latitude=52\ncentre-longitude=x\nminutes-per-pixel="
                            "1\nprojection-latitude=0\n",
                            "[map]\ncentre-latitude=52\ncentre-longitude=0\nminutes-per-pixel="
                            "0\nprojection-latitude=0\n",
                            "[map]\ncentre-latitude=52\ncentre-longitude=0\nminutes-per-pixel="
                            "nan\nprojection-latitude=0\n"};
    for (const char* text : broken) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();
        MapScene untouched = townView();
        EXPECT_FALSE(navigation::loadView(path, untouched)) << text;
        EXPECT_EQ(untouched.centreY, townView().centreY);
        EXPECT_EQ(untouched.unitsPerPixel, townView().unitsPerPixel);
    }
}

} // namespace

namespace {

TEST(MapSettings, comeFromKestrel32ConfWithDefaultsForTheRest) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kestrel32.conf"));
    const auto read = [&](const QByteArray& text) {
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
        file.close();
        return trackerMapSettings(path);
    };
    TrackerMapSettings s = read("[map]\ntile-url=https://tile.example.org/{z}/{x}/{y}.png\n"
                                "tile-attribution=Tiles (C) Example\ntrail-minutes=10\n"
                                "trail-points=20\n");
    EXPECT_EQ(s.tileUrl, "https://tile.example.org/{z}/{x}/{y}.png");
    EXPECT_EQ(s.tileAttribution, "Tiles (C) Example");
    EXPECT_EQ(s.trailMinutes, 10);
    EXPECT_EQ(s.trailPoints, 20);
    // Unusable values keep the defaults; a tile template is never a local file.
    s = read("[map]\ntile-url=file:///etc/passwd\ntrail-minutes=0\ntrail-points=lots\n");
    EXPECT_TRUE(s.tileUrl.isEmpty());
    EXPECT_EQ(s.trailMinutes, 30);
    EXPECT_EQ(s.trailPoints, 50);
    EXPECT_TRUE(trackerMapSettings(folder.filePath("missing.conf")).tileUrl.isEmpty());
}

} // namespace
