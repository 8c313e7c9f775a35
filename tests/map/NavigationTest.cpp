// Guards the ways round the map: following that lets the own station leave the middle half
// (or jumps while it is inside), and a kept view that comes back wrong or takes a broken file
// for a view. The keys are driven in MapWindowTest.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "MapFixtures.h"
#include "MapNavigation.h"
#include "StationStore.h"
#include "TestFiles.h"
#include "TrackerSettings.h"
#include "setup/TrackerConf.h"

namespace {

// 52 N 1 W, 600 px high: 6 minutes, 11 km.
MapScene townView() {
    return viewOn(52.0, -1.0, 0.01, 800, 600);
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
    const QByteArray general = "[General]\ncallsign=N0CALL-9\ngpsd=127.0.0.1:2947\n";
    ASSERT_TRUE(putFile(path, general));
    MapScene scene = townView();
    navigation::panStepwise(scene, 1, 1);
    navigation::zoomCentre(scene, 3.0);
    ASSERT_TRUE(navigation::saveView(path, scene));
    MapScene next;
    ASSERT_TRUE(navigation::loadView(path, next));
    // The operator's own settings stay as they were written, byte for byte.
    EXPECT_TRUE(fileBytes(path).startsWith(general)) << fileBytes(path).toStdString();
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
    const char* kept = "[map]\ncentre-latitude=%1\ncentre-longitude=%2\nminutes-per-pixel=%3\n"
                       "projection-latitude=0\n";
    QList<QByteArray> broken{""};
    for (const auto& [lat, lon, scale] : {std::tuple("95", "0", "1"), std::tuple("52", "x", "1"),
                                          std::tuple("52", "0", "0"), std::tuple("52", "0", "nan")})
        broken << QString::fromLatin1(kept).arg(lat, lon, scale).toLatin1();
    for (const QByteArray& text : broken) {
        ASSERT_TRUE(putFile(path, text));
        MapScene untouched = townView();
        EXPECT_FALSE(navigation::loadView(path, untouched)) << text.toStdString();
        EXPECT_EQ(untouched.centreY, townView().centreY);
        EXPECT_EQ(untouched.unitsPerPixel, townView().unitsPerPixel);
    }
}

// Good values are read back after the preferences saved them (MapWindowTest); here the
// values that must not be used.
TEST(MapSettings, unusableValuesInKestrel32ConfKeepTheDefaults) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kestrel32.conf"));
    // A tile template is never a local file.
    ASSERT_TRUE(putFile(path, "[map]\ntile-url=file:///etc/passwd\ntrail-minutes=0\n"
                              "trail-points=20\n"));
    const TrackerMapSettings s = trackerMapSettings(path);
    EXPECT_TRUE(s.tileUrl.isEmpty());
    EXPECT_EQ(s.trailMinutes, 30);
    EXPECT_EQ(s.trailPoints, 20);
    ASSERT_TRUE(putFile(path, "[map]\ntrail-points=lots\n"));
    EXPECT_EQ(trackerMapSettings(path).trailPoints, 50);
    EXPECT_TRUE(trackerMapSettings(folder.filePath("missing.conf")).tileUrl.isEmpty());
}

} // namespace
