// Guards kestrel32's map window as an operator sees it: a missing or damaged base map that
// crashes or leaves no word, a huge range ring drawn where it is not or lost where it
// crosses the view, a click on a station that shows nothing, old stations drawn as fresh,
// and keys that do not move the view.
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
#include "MapView.h"
#include "TestFiles.h"
#include "TestHttpServer.h"
#include "map/BaseMapPaint.h"
#include "map/MapNavigation.h"
#include "map/MapPreferences.h"
#include "map/StationDetailsWindow.h"
#include "map/TileFetcher.h"
#include "map/TileMath.h"

#include <QBuffer>

#include "OwnAt.h"

namespace {

void hearOnAprsIs(HostCore& core, const QString& callsign, double lat, double lon) {
    core.store().upsert(callsign, lat, lon);
    TrackerChanges changes;
    changes.heard << callsign;
    core.publish(changes, HeardVia::AprsIs);
}

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
};

bool reddish(const QColor& c) {
    return c.red() > 180 && c.green() < 90 && c.blue() < 90;
}

TEST(MapWindow, aMissingOrDamagedBaseMapSaysSoAndDrawsThePlainMap) {
    QTemporaryDir folder;
    const QString damaged = folder.filePath(QStringLiteral("basemap.k32map"));
    ASSERT_TRUE(putFile(damaged, fileBytes(QStringLiteral(KESTREL32_BASEMAP)).left(5000)));
    const struct {
        QString path;
        const char* says;
    } cases[] = {{folder.filePath(QStringLiteral("none.k32map")), "cannot read"},
                 {damaged, "damaged"}};
    for (const auto& c : cases) {
        MapWindow map(c.path);
        EXPECT_TRUE(map.window.baseMapProblem().startsWith(QStringLiteral("No base map: ")));
        EXPECT_TRUE(map.window.baseMapProblem().contains(c.path));
        EXPECT_TRUE(map.window.baseMapProblem().contains(QLatin1String(c.says)))
            << map.window.baseMapProblem().toStdString();
        const QImage image = map.picture();
        EXPECT_NE(image.pixelColor(5, 5), basemap::seaColour);
        EXPECT_NE(image.pixelColor(5, 5), basemap::landColour);
    }
    MapWindow shipped;
    EXPECT_TRUE(shipped.window.baseMapProblem().isEmpty());
    // Banbury is inland: land in the corner, not sea.
    EXPECT_EQ(shipped.picture().pixelColor(5, 5), basemap::landColour);
}

TEST(MapWindow, aRingOfAWideRangeIsDrawnOnlyWhereItCrossesTheView) {
    MapWindow map;
    MapScene& scene = map.core.scene();
    const double km = 1100.0;
    // 1,100 km at this zoom is tens of thousands of pixels.
    ASSERT_GT(scene.toPixels(km), 20000.0);
    const quint32 red = 0x0000ff;
    map.core.setFillColor(0xffffff);
    // Round the own station: the whole view lies inside, no part of the ring shows.
    map.core.drawCircle(scene.centreX, scene.centreY, km, red, 0.0, 2 * M_PI, 1.0);
    QImage image = map.picture();
    for (int x = 0; x < image.width(); x += 5)
        for (int y = 0; y < image.height(); y += 5)
            ASSERT_FALSE(reddish(image.pixelColor(x, y))) << x << "," << y;

    // Centred 1,100 km west of a line 100 px left of the middle (clear of the own station):
    // the ring passes along it, top to bottom.
    MapWindow crossing;
    MapScene& s = crossing.core.scene();
    const double radiusMinutes = km * s.minutesPerMapUnit;
    crossing.core.setDrawWidth(3);
    crossing.core.drawCircle(s.fromPixelX(s.pixelWidth / 2.0 - 100) - radiusMinutes / s.xScale,
                             s.centreY, km, red, 0.0, 2 * M_PI, 1.0);
    image = crossing.picture();
    const int middle = image.width() / 2 - 100;
    for (const int y : {5, image.height() / 2, image.height() - 5}) {
        bool found = false;
        for (int x = middle - 3; x <= middle + 3; ++x)
            found = found || reddish(image.pixelColor(x, y));
        EXPECT_TRUE(found) << "no ring at row " << y;
    }
    EXPECT_FALSE(reddish(image.pixelColor(middle + 40, image.height() / 2)));
    EXPECT_FALSE(reddish(image.pixelColor(middle - 40, image.height() / 2)));
}

TEST(MapWindow, smallRingsAreDrawnRoundTheirStationsAsTheyFade) {
    MapWindow map;
    MapScene& s = map.core.scene();
    // Two rings alike (one picture serves both) and one wider, 30 and 45 px across.
    const double km = 15.0 * s.unitsPerPixel / s.minutesPerMapUnit;
    const QPoint a(200, 150), b(600, 150), c(200, 400);
    map.core.setDrawWidth(2);
    for (const QPoint& at : {a, b})
        map.core.drawCircle(s.fromPixelX(at.x()), s.fromPixelY(at.y()), km, 0x0000ff, 0.0, 2 * M_PI,
                            1.0);
    map.core.drawCircle(s.fromPixelX(c.x()), s.fromPixelY(c.y()), km * 1.5, 0x0000ff, 0.0, 2 * M_PI,
                        1.0);
    const QImage image = map.picture();
    const auto ringAt = [&](const QPoint& p) {
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                if (reddish(image.pixelColor(p + QPoint(dx, dy))))
                    return true;
        return false;
    };
    for (const auto& [centre, radius] : {std::pair(a, 15), std::pair(b, 15), std::pair(c, 22)}) {
        EXPECT_TRUE(ringAt(centre + QPoint(radius, 0))) << centre.x() << "," << centre.y();
        EXPECT_TRUE(ringAt(centre + QPoint(0, -radius))) << centre.x() << "," << centre.y();
        EXPECT_TRUE(ringAt(centre + QPoint(-radius, 0))) << centre.x() << "," << centre.y();
        EXPECT_FALSE(reddish(image.pixelColor(centre))) << centre.x() << "," << centre.y();
        EXPECT_FALSE(ringAt(centre + QPoint(radius + 8, 0))) << centre.x() << "," << centre.y();
    }
}

TEST(MapWindow, aClickOnAStationShowsItsDetails) {
    MapWindow map;
    const QString call = QStringLiteral("G4CAR-9");
    map.core.log().setPacket(call, QStringLiteral("WIDE1-1*"),
                             QStringLiteral("G4CAR-9>APRS,WIDE1-1*:!5203.00N/00100.00W>\r\x1b"),
                             std::nullopt, std::nullopt);
    hearOnAprsIs(map.core, call, 52.05, -1.0);
    map.window.map()->repaint();
    StationDetailsWindow* details = map.window.stationDetails();
    EXPECT_FALSE(details->isVisible());
    // A click beside no station shows nothing.
    QTest::mouseClick(map.window.map(), Qt::LeftButton, {},
                      map.pixelOf(52.05, -1.0) + QPoint(40, 40));
    EXPECT_FALSE(details->isVisible());
    QTest::mouseClick(map.window.map(), Qt::LeftButton, {},
                      map.pixelOf(52.05, -1.0) + QPoint(3, -2));
    ASSERT_TRUE(details->isVisible());
    EXPECT_EQ(details->callsign(), call);
    EXPECT_EQ(details->field(QStringLiteral("Callsign")), call);
    EXPECT_EQ(details->field(QStringLiteral("Heard via")), QStringLiteral("APRS-IS"));
    EXPECT_EQ(details->field(QStringLiteral("Path")), QStringLiteral("WIDE1-1*"));
    EXPECT_EQ(details->field(QStringLiteral("Last packet")),
              QStringLiteral("G4CAR-9>APRS,WIDE1-1*:!5203.00N/00100.00W>\\r\\x1B"));
}

TEST(MapWindow, stationsUnheardForHalfAnHourAreGreyAndTrailsShow) {
    MapWindow map;
    // A walker heard along a line from the south, minute by minute.
    for (int i = 0; i < 4; ++i)
        map.core.log().heard(QStringLiteral("FRESH"), 51.97 + i * 0.01, -1.02, HeardVia::Rf,
                             map.core.nowMs() - (4 - i) * 60000);
    hearOnAprsIs(map.core, QStringLiteral("FRESH"), 52.01, -1.02);
    hearOnAprsIs(map.core, QStringLiteral("OLD"), 52.01, -0.98);
    // Heard last 31 minutes ago, as the log counts.
    map.core.log().heard(QStringLiteral("OLD"), 52.01, -0.98, HeardVia::Rf,
                         map.core.nowMs() - 31 * 60000);
    map.core.scene().unitsPerPixel = 0.05;
    navigation::centreOn(map.core.scene(), 52.0, -1.0);
    const QImage image = map.picture();
    const QPoint fresh = map.pixelOf(52.01, -1.02);
    const QPoint old = map.pixelOf(52.01, -0.98);
    EXPECT_EQ(image.pixelColor(fresh), QColor(200, 40, 40));
    EXPECT_EQ(image.pixelColor(old), QColor(150, 150, 150));
    // The trail between its first and second points: neither land nor a station's colour.
    const QPoint trail = map.pixelOf(51.975, -1.02);
    EXPECT_NE(image.pixelColor(trail), basemap::landColour);
    EXPECT_GT(image.pixelColor(trail).red(), image.pixelColor(trail).green());
}

TEST(MapWindow, aPannedBaseMapMatchesOneDrawnAnew) {
    // The Channel coast near Dover: land, sea, coast and a border in one view.
    MapWindow map;
    navigation::centreOn(map.core.scene(), 51.0, 1.6);
    map.core.scene().unitsPerPixel = 0.4;
    map.picture();
    // Dragged 120 px to the right and 70 px up: the old picture moves, two strips are drawn.
    MapView* view = map.window.map();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseMove(view, QPoint(360, 260));
    QTest::mouseMove(view, QPoint(420, 230));
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(420, 230));
    const QImage panned = map.picture();
    view->setBaseMap(
        std::make_shared<const BaseMap>(*basemap::readFile(QStringLiteral(KESTREL32_BASEMAP)).map));
    const QImage fresh = map.picture();
    ASSERT_EQ(panned.size(), fresh.size());
    int differing = 0;
    for (int x = 0; x < fresh.width(); ++x)
        for (int y = 0; y < fresh.height(); ++y)
            differing += panned.pixel(x, y) != fresh.pixel(x, y);
    // The cuts of the strips may move a line's end by a pixel, no more.
    EXPECT_LT(differing, 40);
}

TEST(MapWindow, tilesOfTheViewOverTheBaseMapAndTheBaseMapWhereOneFails) {
    MapWindow map;
    MapScene& scene = map.core.scene();
    scene.unitsPerPixel = 0.03;
    const std::vector<tiles::TileId> inView = tiles::tilesFor(scene);
    ASSERT_GE(inView.size(), 4u);
    QImage green(256, 256, QImage::Format_RGB32);
    green.fill(QColor(0, 200, 0));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    green.save(&buffer, "PNG");
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
    TestHttpServer server;
    TestHttpServer::Answer answer;
    answer.headers = {{"Content-Type", "image/png"}};
    answer.body = png;
    // Every tile of the view but one.
    for (size_t i = 0; i < inView.size(); ++i)
        if (inView[i] != *missing)
            server.setAnswer(QStringLiteral("/%1/%2/%3.png")
                                 .arg(inView[i].z)
                                 .arg(inView[i].x)
                                 .arg(inView[i].y)
                                 .toLatin1(),
                             answer);
    QTemporaryDir cache;
    map.window.setTileSource(server.baseAddress() + QStringLiteral("/{z}/{x}/{y}.png"),
                             QStringLiteral("Tiles (C) the test"), cache.path());
    map.picture();
    ASSERT_TRUE(QTest::qWaitFor([&] { return map.window.tiles()->pending() == 0; }, 5000));
    // Asked for the view's tiles, each once, and for nothing else.
    QStringList asked, expected;
    for (const QByteArray& path : server.requestedPaths())
        asked << QString::fromLatin1(path);
    for (const tiles::TileId& t : inView)
        expected << QStringLiteral("/%1/%2/%3.png").arg(t.z).arg(t.x).arg(t.y);
    asked.sort();
    expected.sort();
    EXPECT_EQ(asked, expected);

    const QImage image = map.picture();
    int greenSeen = 0;
    for (const tiles::TileId& t : inView) {
        const QPoint at = centreOf(t);
        if (t != *missing && clear(at)) {
            EXPECT_EQ(image.pixelColor(at), QColor(0, 200, 0)) << t.x << "/" << t.y;
            ++greenSeen;
        }
    }
    EXPECT_GT(greenSeen, 0);
    // The tile the server has not: the base map shows there (Banbury is inland).
    EXPECT_EQ(image.pixelColor(centreOf(*missing)), basemap::landColour);
    // The source's credit in the bottom right corner, on a light box.
    const QColor corner = image.pixelColor(image.width() - 4, image.height() - 4);
    EXPECT_GT(corner.lightness(), 200);
    EXPECT_NE(corner, QColor(0, 200, 0));
    // The failure is said in the status bar.
    EXPECT_TRUE(map.window.statusBar()->currentMessage().startsWith(QStringLiteral("tile ")))
        << map.window.statusBar()->currentMessage().toStdString();
}

TEST(MapWindow, thePreferencesMapPartChecksAndKeepsItsSettings) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("kestrel32.conf"));
    const QByteArray general = "[General]\ncallsign=G4KST ; mine\nkiss=127.0.0.1:8001\n";
    ASSERT_TRUE(putFile(path, general));
    MapPreferences box(trackerMapSettings(path));
    auto* url = box.findChild<QLineEdit*>(QStringLiteral("tileUrl"));
    auto* problem = box.findChild<QLabel*>(QStringLiteral("tileUrlProblem"));
    ASSERT_TRUE(url && problem);
    EXPECT_TRUE(url->text().isEmpty()) << "no tile source unless one is set";
    box.show();
    // Typed as an operator would: a file, then an address without the tile's numbers.
    for (const auto& [typed, says] :
         {std::pair("file:///home/me/tiles/{z}/{x}/{y}.png", "An http:// or https:// address."),
          std::pair("https://tiles.example.org/tile.png", "The address needs {z}, {x} and {y}.")}) {
        url->clear();
        QTest::keyClicks(url, QString::fromLatin1(typed));
        EXPECT_FALSE(box.checked()) << typed;
        EXPECT_TRUE(problem->isVisible());
        EXPECT_EQ(problem->text(), QLatin1String(says));
    }
    url->clear();
    QTest::keyClicks(url, QStringLiteral("https://tiles.example.org/{z}/{x}/{y}.png"));
    QTest::keyClicks(box.findChild<QLineEdit*>(QStringLiteral("tileAttribution")),
                     QStringLiteral("Tiles (C) Example"));
    box.findChild<QSpinBox*>(QStringLiteral("trailMinutes"))->setValue(12);
    const auto settings = box.checked();
    ASSERT_TRUE(settings);
    EXPECT_FALSE(problem->isVisible());
    // Nothing changed, nothing written; then only the keys that changed.
    ASSERT_TRUE(saveTrackerMapSettings(path, trackerMapSettings(path), trackerMapSettings(path)));
    EXPECT_EQ(fileBytes(path), general);
    ASSERT_TRUE(saveTrackerMapSettings(path, trackerMapSettings(path), *settings));
    EXPECT_FALSE(fileBytes(path).contains("trail-points")) << "left at its default";
    // Read back as the next start reads it; the operator's [General] lines untouched.
    const TrackerMapSettings again = trackerMapSettings(path);
    EXPECT_EQ(again.tileUrl, "https://tiles.example.org/{z}/{x}/{y}.png");
    EXPECT_EQ(again.tileAttribution, "Tiles (C) Example");
    EXPECT_EQ(again.trailMinutes, 12);
    EXPECT_EQ(again.trailPoints, 50);
    EXPECT_TRUE(fileBytes(path).startsWith(general)) << fileBytes(path).toStdString();
}

TEST(MapWindow, keysZoomAndPanAndAPanEndsFollowing) {
    MapWindow map;
    MapView* view = map.window.map();
    QAction* follow = map.window.findChild<QAction*>(QStringLiteral("actionFollow"));
    ASSERT_TRUE(follow);
    follow->setChecked(true);
    EXPECT_TRUE(view->following());
    MapScene& scene = map.core.scene();
    const double scale = scene.unitsPerPixel;
    QTest::keyClick(view, Qt::Key_Plus);
    EXPECT_NEAR(scene.unitsPerPixel, scale / navigation::zoomStep, 1e-12);
    QTest::keyClick(view, Qt::Key_Minus);
    QTest::keyClick(view, Qt::Key_Minus);
    EXPECT_NEAR(scene.unitsPerPixel, scale * navigation::zoomStep, 1e-12);
    EXPECT_TRUE(view->following()) << "zooming is no pan";
    const double north = scene.centreY;
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_GT(scene.centreY, north);
    EXPECT_FALSE(view->following());
    EXPECT_FALSE(follow->isChecked());
    EXPECT_TRUE(view->movedByOperator());
    // Home brings the own station back to the middle.
    QAction* home = map.window.findChild<QAction*>(QStringLiteral("actionCentreOnOwn"));
    ASSERT_TRUE(home);
    home->trigger();
    EXPECT_NEAR(scene.centreY, 52.0 * 60.0, 1e-9);
    EXPECT_NEAR(scene.centreX, -60.0, 1e-9);
}

} // namespace
