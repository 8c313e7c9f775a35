// Guards kestrel32's map window as an operator sees it: a missing base map that crashes or
// leaves no word, a huge range ring lost where it crosses the view, a click on a station that
// shows nothing, old stations drawn as fresh, keys that do not move the view, a view that
// loses the own station on a drive or jumps back after the operator moved it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include "Geo.h"
#include "HostCore.h"
#include "HostWindow.h"
#include "MapFixtures.h"
#include "MapView.h"
#include "map/BaseMapPaint.h"
#include "map/MapNavigation.h"
#include "map/MapPreferences.h"
#include "map/StationDetailsWindow.h"
#include "map/TileFetcher.h"

namespace {

// The window at the tracker's close start-up zoom round the own station.
struct MapWindow {
    HostCore core;
    HostWindow window;
    explicit MapWindow(const QString& baseMap = QStringLiteral(KESTREL32_BASEMAP))
        : core(ownAt(52.0, -1.0)), window(core, nullptr, baseMap) {
        core.advanceTo(0.0);
        window.resize(800, 600);
        window.show();
        core.scene().pixelWidth = window.map()->width();
        core.scene().pixelHeight = window.map()->height();
        core.fitView();
    }
    QImage picture() { return window.map()->grab().toImage(); }
    QPoint pixelOf(double lat, double lon) {
        const MapScene& s = core.scene();
        return QPointF(s.toPixelX(lon * 60.0), s.toPixelY(lat * 60.0)).toPoint();
    }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(window.map(), Qt::LeftButton, {}, from);
        QTest::mouseMove(window.map(), (from + to) / 2);
        QTest::mouseMove(window.map(), to);
        QTest::mouseRelease(window.map(), Qt::LeftButton, {}, to);
    }
};

bool reddish(const QColor& c) {
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}

// Why a damaged file is refused is read in BaseMapTest; here the window's word and its map.
TEST(MapWindow, aMissingBaseMapSaysSoAndDrawsThePlainMap) {
    const QString missing = QStringLiteral("/nonexistent/basemap.k32map");
    MapWindow map(missing);
    map.picture(); // painted without one
    const QString problem = map.window.baseMapProblem();
    EXPECT_TRUE(problem.startsWith(QStringLiteral("No base map: ")));
    EXPECT_TRUE(problem.contains(missing) && problem.contains(QStringLiteral("cannot read")))
        << problem.toStdString();
}

// The cuts are ClipTest's; here they reach the picture: a ring of 1,100 km, tens of thousands
// of pixels across, where it crosses the view, and small rings round their stations (two
// alike, which one picture serves, and one wider).
TEST(MapWindow, ringsAreDrawnWhereTheyCrossTheView) {
    MapWindow map;
    MapScene& s = map.core.scene();
    const double km = 1100.0, small = 15.0 * s.unitsPerPixel / s.minutesPerMapUnit;
    ASSERT_GT(s.toPixels(km), 20000.0);
    map.core.setDrawWidth(3);
    // Centred 1,100 km west of a line 100 px left of the middle (clear of the own station).
    const int line = s.pixelWidth / 2 - 100;
    map.core.drawCircle(s.fromPixelX(line) - km * s.minutesPerMapUnit / s.xScale, s.centreY, km,
                        0x0000ff, 0.0, 2 * M_PI, 1.0);
    const QPoint a(520, 120), b(680, 120), c(620, 380);
    for (const auto& [at, radius] :
         {std::pair(a, small), std::pair(b, small), std::pair(c, small * 1.5)})
        map.core.drawCircle(s.fromPixelX(at.x()), s.fromPixelY(at.y()), radius, 0x0000ff, 0.0,
                            2 * M_PI, 1.0);
    const QImage image = map.picture();
    const auto ringNear = [&](const QPoint& p, int reach) {
        for (int dx = -reach; dx <= reach; ++dx)
            for (int dy = -reach; dy <= reach; ++dy)
                if (reddish(image.pixelColor(p + QPoint(dx, dy))))
                    return true;
        return false;
    };
    for (const int y : {5, image.height() / 2, image.height() - 5})
        EXPECT_TRUE(ringNear({line, y}, 3)) << "no ring at row " << y;
    EXPECT_FALSE(ringNear({line + 40, image.height() / 2}, 0));
    EXPECT_FALSE(ringNear({line - 40, image.height() / 2}, 0));
    for (const auto& [centre, radius] : {std::pair(a, 15), std::pair(b, 15), std::pair(c, 22)}) {
        EXPECT_TRUE(ringNear(centre + QPoint(radius, 0), 2)) << centre.x() << "," << centre.y();
        EXPECT_TRUE(ringNear(centre + QPoint(0, -radius), 2)) << centre.x() << "," << centre.y();
        EXPECT_TRUE(ringNear(centre + QPoint(-radius, 0), 2)) << centre.x() << "," << centre.y();
        EXPECT_FALSE(ringNear(centre, 0)) << centre.x() << "," << centre.y();
        EXPECT_FALSE(ringNear(centre + QPoint(radius + 8, 0), 2))
            << centre.x() << "," << centre.y();
    }
}

TEST(MapWindow, stationsAreDrawnByAgeWithTrailsAndAClickShowsTheirDetails) {
    MapWindow map;
    // A walker heard along a line from the south, minute by minute, last over APRS-IS.
    const QString fresh = QStringLiteral("FRESH");
    for (int i = 0; i < 4; ++i)
        map.core.log().heard(fresh, 51.97 + i * 0.01, -1.02, HeardVia::Rf,
                             map.core.nowMs() - (4 - i) * 60000);
    hear(map.core, fresh, 52.01, -1.02, HeardVia::AprsIs);
    hear(map.core, QStringLiteral("OLD"), 52.01, -0.98, HeardVia::AprsIs);
    // Heard last 31 minutes ago, as the log counts.
    map.core.log().heard(QStringLiteral("OLD"), 52.01, -0.98, HeardVia::Rf,
                         map.core.nowMs() - 31 * 60000);
    map.core.scene().unitsPerPixel = 0.05;
    navigation::centreOn(map.core.scene(), 52.0, -1.0);
    const QImage image = map.picture();
    const QPoint at = map.pixelOf(52.01, -1.02);
    EXPECT_EQ(image.pixelColor(at), QColor(200, 40, 40));
    EXPECT_EQ(image.pixelColor(map.pixelOf(52.01, -0.98)), QColor(150, 150, 150));
    // The trail between its first and second points: neither land nor a station's colour.
    const QPoint trail = map.pixelOf(51.975, -1.02);
    EXPECT_NE(image.pixelColor(trail), basemap::landColour);
    EXPECT_GT(image.pixelColor(trail).red(), image.pixelColor(trail).green());

    // The fields themselves are StationLogTest's; here a click finds the station and shows them,
    // the last way it was heard among them.
    StationDetailsWindow* details = map.window.stationDetails();
    QTest::mouseClick(map.window.map(), Qt::LeftButton, {}, at + QPoint(-40, -40));
    EXPECT_FALSE(details->isVisible()) << "a click beside no station shows nothing";
    QTest::mouseClick(map.window.map(), Qt::LeftButton, {}, at + QPoint(3, -2));
    ASSERT_TRUE(details->isVisible());
    EXPECT_EQ(details->callsign(), fresh);
    EXPECT_EQ(details->field(QStringLiteral("Heard via")), QStringLiteral("APRS-IS"));
}

TEST(MapWindow, aPannedBaseMapMatchesOneDrawnAnew) {
    // The Channel coast near Dover: land, sea, coast and a border in one view.
    MapWindow map;
    navigation::centreOn(map.core.scene(), 51.0, 1.6);
    map.core.scene().unitsPerPixel = 0.4;
    map.picture();
    // Dragged 120 px to the right and 70 px up: the old picture moves, two strips are drawn.
    map.drag(QPoint(300, 300), QPoint(420, 230));
    const QImage panned = map.picture();
    map.window.map()->setBaseMap(
        std::make_shared<const BaseMap>(*basemap::readFile(QStringLiteral(KESTREL32_BASEMAP)).map));
    const QImage fresh = map.picture();
    int differing = 0;
    for (int x = 0; x < fresh.width(); ++x)
        for (int y = 0; y < fresh.height(); ++y)
            differing += panned.pixel(x, y) != fresh.pixel(x, y);
    // The cuts of the strips may move a line's end by a pixel, no more.
    EXPECT_LT(differing, 40);
}

// Which tiles a view takes and how they are fetched is TileTest's; here they reach the picture.
TEST(MapWindow, tilesOfTheViewOverTheBaseMapAndTheBaseMapWhereOneFails) {
    MapWindow map;
    MapScene& scene = map.core.scene();
    scene.unitsPerPixel = 0.03;
    const std::vector<tiles::TileId> inView = tiles::tilesFor(scene);
    const auto centreOf = [&](const tiles::TileId& t) {
        const double lon = tiles::columnLongitude(t.z, t.x + 0.5);
        const double lat = tiles::rowLatitude(t.z, t.y + 0.5);
        return QPointF(scene.toPixelX(lon * 60.0), scene.toPixelY(lat * 60.0)).toPoint();
    };
    // Well inside the map, clear of the own station, the scale bar and the credit.
    const QRect inside =
        QRect(0, 0, scene.pixelWidth, scene.pixelHeight).adjusted(20, 20, -20, -60);
    const QPoint middle(scene.pixelWidth / 2, scene.pixelHeight / 2);
    const auto clear = [&](const QPoint& p) {
        return inside.contains(p) && (p - middle).manhattanLength() > 30;
    };
    const auto missing = std::find_if(inView.begin(), inView.end(),
                                      [&](const tiles::TileId& t) { return clear(centreOf(t)); });
    ASSERT_NE(missing, inView.end());
    // Every tile of the view but one.
    TestHttpServer server;
    for (const tiles::TileId& t : inView)
        if (t != *missing)
            server.setAnswer(tiles::tileUrl("/{z}/{x}/{y}.png", t).toLatin1(),
                             tileAnswer(QColor(0, 200, 0)));
    QTemporaryDir cache;
    map.window.setTileSource(server.baseAddress() + QStringLiteral("/{z}/{x}/{y}.png"),
                             QStringLiteral("Tiles (C) the test"), cache.path());
    map.picture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.window.tiles()->pending() == 0; }, 5000));
    EXPECT_EQ(server.requestCount(), int(inView.size())) << "each tile of the view once";

    const QImage image = map.picture();
    int greenSeen = 0;
    for (const tiles::TileId& t : inView) {
        if (t != *missing && clear(centreOf(t))) {
            EXPECT_EQ(image.pixelColor(centreOf(t)), QColor(0, 200, 0)) << t.x << "/" << t.y;
            ++greenSeen;
        }
    }
    EXPECT_GT(greenSeen, 0);
    // The tile the server has not: the base map shows there (Banbury is inland).
    EXPECT_EQ(image.pixelColor(centreOf(*missing)), basemap::landColour);
    // The failure is said in the status bar.
    EXPECT_TRUE(map.window.statusBar()->currentMessage().startsWith(QStringLiteral("tile ")))
        << map.window.statusBar()->currentMessage().toStdString();
}
// What is wrong with an address and how settings are kept is MapSettings'; here the words
// beside the field as an operator types, and what the box gives back.
TEST(MapWindow, thePreferencesMapPartSaysBesideTheAddressWhatIsWrong) {
    MapPreferences box{TrackerMapSettings{}};
    auto* url = box.findChild<QLineEdit*>(QStringLiteral("tileUrl"));
    auto* problem = box.findChild<QLabel*>(QStringLiteral("tileUrlProblem"));
    ASSERT_TRUE(url && problem);
    box.show();
    QTest::keyClicks(url, QStringLiteral("https://tiles.example.org/tile.png"));
    EXPECT_FALSE(box.checked());
    EXPECT_TRUE(problem->isVisible());
    EXPECT_EQ(problem->text(), QStringLiteral("The address needs {z}, {x} and {y}."));
    url->clear();
    QTest::keyClicks(url, QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png"));
    QTest::keyClicks(box.findChild<QLineEdit*>(QStringLiteral("tileAttribution")),
                     QStringLiteral("Tiles (C) Example"));
    box.findChild<QSpinBox*>(QStringLiteral("trailMinutes"))->setValue(12);
    const auto settings = box.checked();
    ASSERT_TRUE(settings);
    EXPECT_FALSE(problem->isVisible());
    EXPECT_EQ(*settings,
              (TrackerMapSettings{QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png"),
                                  QStringLiteral("Tiles (C) Example"), 12, 50}));
}

// A drive 4 km north through a view 2 km high, 100 m a fix: the view stays still while the own
// station is in its middle half and keeps it in sight after, zooming (about the centre) goes
// on following, a drag or an arrow (an eighth of the view) ends it, and the view then stays
// where the operator put it; Home brings the own station back to the middle. (The fixes from
// gpsd reach the own station in the gps tests.)
TEST(MapWindow, theViewFollowsADriveUntilTheOperatorMovesItByMouseOrKeys) {
    MapWindow map;
    MapView* view = map.window.map();
    MapScene& scene = map.core.scene();
    scene.unitsPerPixel = 2.0 / geo::kmPerNauticalMile / scene.pixelHeight;
    QAction* follow = map.window.findChild<QAction*>(QStringLiteral("actionFollow"));
    ASSERT_TRUE(follow);
    follow->setChecked(true);
    const auto driveTo = [&](int step) {
        const double lat = 52.0 + 0.0009 * step;
        map.core.moveOwn(QStringLiteral("N0CALL"), std::pair(lat, -1.0));
        return QRectF(0, 0, scene.pixelWidth, scene.pixelHeight)
            .contains(scene.toPixelX(-60.0), scene.toPixelY(lat * 60.0));
    };
    const double scale = scene.unitsPerPixel, east = scene.centreX, north = scene.centreY;
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_NEAR(scene.unitsPerPixel, scale / navigation::zoomStep, 1e-12);
    QTest::keyClick(view, Qt::Key_Minus);
    EXPECT_NEAR(scene.unitsPerPixel, scale, 1e-12);
    EXPECT_EQ(scene.centreX, east);
    EXPECT_EQ(scene.centreY, north);
    for (int step = 1; step <= 20; ++step) {
        ASSERT_TRUE(driveTo(step)) << "out of the view at step " << step;
        if (step <= 4) {
            EXPECT_EQ(scene.centreY, north) << "moved at step " << step << ", in the middle half";
        }
    }
    EXPECT_TRUE(view->following());
    EXPECT_GT(scene.centreY, 52.005 * 60.0) << "the view never moved";

    map.drag(QPoint(400, 300), QPoint(350, 300));
    EXPECT_FALSE(view->following());
    EXPECT_FALSE(follow->isChecked());
    follow->setChecked(true);
    const double x = scene.centreX, y = scene.centreY;
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_NEAR(scene.centreY - y, scene.pixelHeight * 0.125 * scene.unitsPerPixel, 1e-9);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_NEAR(scene.centreX - x, scene.pixelWidth * 0.125 * scene.unitsPerPixel / scene.xScale,
                1e-9);
    EXPECT_FALSE(view->following());
    EXPECT_FALSE(follow->isChecked());
    const double centreX = scene.centreX, centreY = scene.centreY;
    // The drive goes on out of the view; the view stays.
    for (int step = 21; step <= 40; ++step)
        driveTo(step);
    EXPECT_FALSE(driveTo(41)) << "the station should have left the view";
    EXPECT_EQ(scene.centreX, centreX);
    EXPECT_EQ(scene.centreY, centreY);
    QAction* home = map.window.findChild<QAction*>(QStringLiteral("actionCentreOnOwn"));
    ASSERT_TRUE(home);
    home->trigger();
    EXPECT_NEAR(scene.centreY, (52.0 + 0.0009 * 41) * 60.0, 1e-9);
    EXPECT_NEAR(scene.centreX, -60.0, 1e-9);
}

} // namespace
