// Guards the map's part of kestrel32.conf: a kept view or map settings that come back wrong,
// take a broken file for good values or lose the operator's other lines. Following and the
// keys are driven in MapWindowTest.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "MapFixtures.h"
#include "MapNavigation.h"
#include "TestFiles.h"
#include "TrackerSettings.h"
#include "setup/TrackerConf.h"

namespace {

// 52 N 1 W, 600 px high: 6 minutes, 11 km.
MapScene townView() {
    return viewOn(52.0, -1.0, 0.01, 800, 600);
}

// kestrel32.conf's [map] section: saving writes only the keys that changed (nothing when none
// did), the operator's other lines as they were; what the next start cannot use keeps the
// defaults, or the view as it was. A tile template is fetched, never opened: only web
// addresses with the tile's numbers.
TEST(MapSettings, theViewAndTheChangesAreKeptForTheNextStartAndNonsenseIsNot) {
    for (const auto& [url, problem] :
         {std::pair("", ""), std::pair("https://t.example/{z}/{x}/{y}.png", ""),
          std::pair("file:///home/me/tiles/{z}/{x}/{y}.png", "An http:// or https:// address."),
          std::pair("https://t.example/tile.png", "The address needs {z}, {x} and {y}.")})
        EXPECT_EQ(tileTemplateProblem(QString::fromLatin1(url)), QLatin1String(problem)) << url;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kestrel32.conf"));
    const QByteArray general = "[General]\ncallsign=G4KST ; mine\ngpsd=127.0.0.1:2947\n";
    ASSERT_TRUE(putFile(path, general));
    TrackerMapSettings settings = trackerMapSettings(path);
    EXPECT_TRUE(settings.tileUrl.isEmpty()) << "no tile source unless one is set";
    ASSERT_TRUE(saveTrackerMapSettings(path, settings, settings));
    EXPECT_EQ(fileBytes(path), general);
    settings.tileUrl = QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png");
    settings.tileAttribution = QStringLiteral("Tiles (C) Example");
    settings.trailMinutes = 12;
    ASSERT_TRUE(saveTrackerMapSettings(path, trackerMapSettings(path), settings));
    EXPECT_FALSE(fileBytes(path).contains("trail-points")) << "left at its default";
    MapScene scene = townView();
    navigation::panStepwise(scene, 1, 1);
    navigation::zoomCentre(scene, 3.0);
    ASSERT_TRUE(navigation::saveView(path, scene));
    EXPECT_TRUE(fileBytes(path).startsWith(general)) << fileBytes(path).toStdString();
    // And the setup's reading of the file takes the map's keys for known ones.
    EXPECT_TRUE(readTrackerConfFile(path).unknownKeys.isEmpty())
        << readTrackerConfFile(path).unknownKeys.join(' ').toStdString();
    EXPECT_TRUE(trackerMapSettings(path) == settings);
    MapScene next;
    ASSERT_TRUE(navigation::loadView(path, next));
    EXPECT_NEAR(next.centreX, scene.centreX, 1e-9);
    EXPECT_NEAR(next.centreY, scene.centreY, 1e-9);
    EXPECT_NEAR(next.unitsPerPixel, scene.unitsPerPixel, 1e-12);
    EXPECT_NEAR(next.xScale, scene.xScale, 1e-9);
    // A first start: no folder yet.
    ASSERT_TRUE(navigation::saveView(folder.filePath("new/kestrel32.conf"), scene));

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
    ASSERT_TRUE(putFile(path, "[map]\ntile-url=file:///etc/passwd\ntrail-minutes=0\n"
                              "trail-points=20\n"));
    EXPECT_TRUE(trackerMapSettings(path) == (TrackerMapSettings{{}, {}, 30, 20}));
    ASSERT_TRUE(putFile(path, "[map]\ntrail-points=lots\n"));
    EXPECT_EQ(trackerMapSettings(path).trailPoints, 50);
}

} // namespace
