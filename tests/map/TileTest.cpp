// Guards the raster tiles against a tile server of the test's own: the wrong tiles for a
// view (or tiles outside it), a cached tile fetched again, a missing or slow tile that leaves
// a hole instead of the base map, and requests that do not say who sends them.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "MapFixtures.h"
#include "TileFetcher.h"

namespace {

TEST(TileMath, theViewsTilesAndNoOthers) {
    // At 52 N a tile of zoom 12 is 0.088 degrees wide: one view pixel a tile pixel there.
    const MapScene town =
        viewOn(52.0, -1.0, 360.0 / (256 * 4096) * 60.0 * std::cos(52.0 * M_PI / 180), 800, 600);
    EXPECT_EQ(tiles::zoomFor(town), 12);
    const auto inView = tiles::tilesFor(town);
    // 800 x 600 pixels of 256-pixel tiles: 4 or 5 columns, 3 or 4 rows.
    EXPECT_GE(inView.size(), 12u);
    EXPECT_LE(inView.size(), 20u);
    for (const tiles::TileId& t : inView) {
        EXPECT_EQ(t.z, 12);
        // Each tile meets the view.
        const double west = town.toPixelX(tiles::columnLongitude(12, t.x) * 60.0);
        const double east = town.toPixelX(tiles::columnLongitude(12, t.x + 1) * 60.0);
        const double top = town.toPixelY(tiles::rowLatitude(12, t.y) * 60.0);
        const double bottom = town.toPixelY(tiles::rowLatitude(12, t.y + 1) * 60.0);
        EXPECT_TRUE(east > 0 && west < 800 && bottom > 0 && top < 600)
            << t.x << "/" << t.y << ": " << west << ".." << east << ", " << top << ".." << bottom;
    }
    // The whole world at once takes a zoom whose tiles fit the bound.
    MapScene world;
    world.unitsPerPixel = 30.0;
    EXPECT_LE(int(tiles::tilesFor(world).size()), tiles::maxTilesInView);
    EXPECT_FALSE(tiles::tilesFor(world).empty());
    // Beyond the Mercator world: nothing to ask for.
    EXPECT_TRUE(tiles::tilesFor(viewOn(89.0, 0.0, 0.01, 800, 600)).empty());
}

TEST(TileFetcher, fetchesOnceKeepsOnDiskFallsBackOnFailureAndDropsWhatTheViewLeft) {
    TestHttpServer server;
    server.setAnswer("/12/2036/1362.png", tileAnswer(Qt::green));
    TestHttpServer::Answer slow = tileAnswer(Qt::blue);
    slow.delayMs = 1000;
    server.setAnswer("/12/2037/1362.png", slow);
    QTemporaryDir cache;
    const QString urlTemplate = server.baseAddress() + QStringLiteral("/{z}/{x}/{y}.png");
    const tiles::TileId good{12, 2036, 1362}, missing{12, 2036, 1363}, late{12, 2037, 1362};
    {
        TileFetcher fetcher(cache.path());
        fetcher.setUrlTemplate(urlTemplate);
        fetcher.setTimeoutMs(300);
        QSignalSpy arrived(&fetcher, &TileFetcher::tileArrived);
        QSignalSpy failed(&fetcher, &TileFetcher::tileFailed);
        fetcher.want({good, missing, late});
        ASSERT_TRUE(QTest::qWaitFor([&] { return fetcher.pending() == 0; }, 5000));
        ASSERT_EQ(arrived.count(), 1);
        ASSERT_TRUE(fetcher.tile(good));
        EXPECT_EQ(fetcher.tile(good)->pixelColor(100, 100), QColor(Qt::green));
        // The 404 and the time-out give no tile (the map shows the base map there) and a word.
        EXPECT_FALSE(fetcher.tile(missing));
        EXPECT_FALSE(fetcher.tile(late));
        ASSERT_EQ(failed.count(), 2);
        QStringList why{failed[0][0].toString(), failed[1][0].toString()};
        why.sort();
        EXPECT_TRUE(why[0].startsWith("tile 12/2036/1363: ")) << why[0].toStdString();
        EXPECT_TRUE(why[0].contains("Not Found")) << why[0].toStdString();
        EXPECT_EQ(why[1], "tile 12/2037/1362: timed out");
        // Every request said who sent it.
        ASSERT_EQ(server.requestCount(), 3);
        for (const QByteArray& head : server.requestHeads())
            EXPECT_TRUE(head.contains("\r\nUser-Agent: kestrel32/" KESTREL32_VERSION " "))
                << head.toStdString();
        // Asked again at once: the good one is at hand, the failed ones wait their turn.
        fetcher.want({good, missing, late});
        EXPECT_EQ(fetcher.pending(), 0);
        EXPECT_EQ(server.requestCount(), 3);
    }
    // The next start finds the tile on disk and asks the server for nothing.
    TileFetcher next(cache.path());
    next.setUrlTemplate(urlTemplate);
    QSignalSpy arrived(&next, &TileFetcher::tileArrived);
    next.want({good});
    ASSERT_TRUE(QTest::qWaitFor([&] { return arrived.count() == 1; }, 5000));
    EXPECT_EQ(next.tile(good)->pixelColor(10, 10), QColor(Qt::green));
    EXPECT_EQ(server.requestCount(), 3);
    // The view moved on before the slow tile came: its request goes, and no tile comes after.
    next.want({late});
    EXPECT_EQ(next.pending(), 1);
    next.want({});
    EXPECT_EQ(next.pending(), 0);
    QTest::qWait(1200);
    EXPECT_FALSE(next.tile(late));
}

} // namespace
