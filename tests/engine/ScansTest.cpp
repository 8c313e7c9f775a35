#include <gtest/gtest.h>
#include <ostream>

#include "EngineFixture.h"
#include "engine/Scans.h"

namespace {

class StationScan : public EngineFixture {
protected:
    QVariantList circleAt(float x, float y, int colour) const {
        // 100 map units over 400 pixels: 8 pixels are 2 units.
        return {double(x), double(y), 2.0, colour, 0.0, 6.283186, 1.0};
    }
};

TEST_F(StationScan, emptyHostListClearsTheList) {
    lstStations.add("OLD distance 1.");
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(lstStations.count(), 0);
    EXPECT_EQ(caption, "No stations within alarm range");
    EXPECT_EQ(ctx.dblMinDist, 99999.0);
    EXPECT_EQ(eventRuns, 1);
}

TEST_F(StationScan, listsNewStationsSortedAndMarksThemRed) {
    host.addStation("ZZ9", 3.5f, 10.0f, 20.0f);
    host.addStation("AA1", 1.25f, 11.0f, 21.0f);
    host.addStation("MM5", 50.0f, 12.0f, 22.0f); // out of range
    EXPECT_EQ(scan_stations(ctx), 2);
    EXPECT_EQ(lstStations.items(), QStringList({"AA1 distance 1.25", "ZZ9 distance 3.5"}));
    EXPECT_EQ(caption, "(minimum distance observed is 1.25)");
    EXPECT_DOUBLE_EQ(ctx.dblMinDist, 1.25);
    const auto circles = argsOf("DrawCircle");
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0], circleAt(10.0f, 20.0f, 255));
    EXPECT_EQ(circles[1], circleAt(11.0f, 21.0f, 255));
    EXPECT_EQ(eventRuns, 4); // after each station and once more
}

TEST_F(StationScan, walksTheHostInOrder) {
    host.addStation("B1", 1.0f);
    host.addStation("C1", 99.0f);
    scan_stations(ctx);
    const QStringList expected = {"StationCount", "StationListItem", "GetStation",  "DrawWidth",
                                  "DrawStyle",    "FillColor",       "ScaleHeight", "PixelHeight",
                                  "DrawCircle",   "StationListItem", "GetStation"};
    EXPECT_EQ(host.callNames(), expected);
    EXPECT_EQ(argsOf("StationListItem")[1], QVariantList{qint16(1)});
    EXPECT_EQ(argsOf("GetStation")[1], QVariantList{"C1"});
}

TEST_F(StationScan, stationAtTheRadiusIsOutOfRange) {
    host.addStation("EDGE", 10.0f);
    host.addStation("IN", 9.999f);
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"IN distance 9.999"}));
    EXPECT_EQ(host.callsNamed("DrawCircle").size(), 1u);
}

TEST_F(StationScan, acknowledgedStationIsMarkedGreenOnly) {
    host.addStation("ACK1", 0.5f, 7.0f, 8.0f);
    host.addStation("NEW1", 2.0f, 5.0f, 6.0f);
    lstAcked.add("ACK1");
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"NEW1 distance 2."}));
    EXPECT_DOUBLE_EQ(ctx.dblMinDist, 2.0);
    const auto circles = argsOf("DrawCircle");
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_EQ(circles[0], circleAt(7.0f, 8.0f, 65280));
    EXPECT_EQ(circles[1], circleAt(5.0f, 6.0f, 255));
}

TEST_F(StationScan, acknowledgedComparisonIsCaseSensitive) {
    host.addStation("ab1", 1.0f);
    lstAcked.add("AB1");
    EXPECT_EQ(scan_stations(ctx), 1);
}

TEST_F(StationScan, skipsTheOwnStationWithoutAskingTheHost) {
    host.addStation("OWN", 0.0f);
    host.addStation("own", 0.0f); // another station: the comparison is exact
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"own distance ."}));
    EXPECT_EQ(argsOf("GetStation"), std::vector<QVariantList>{QVariantList{"own"}});
}

TEST_F(StationScan, emptyEntryEndsTheWalk) {
    host.addStation("A1", 1.0f);
    host.addEntry(FakeStation{"", "X", 0, 0, 0, true});
    host.addStation("C1", 1.0f);
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(caption, "(minimum distance observed is 1.)");
    EXPECT_EQ(host.callsNamed("StationListItem").size(), 2u);
}

TEST_F(StationScan, countBeyondTheListEndsAtTheFirstEmptyEntry) {
    host.addStation("A1", 1.0f);
    host.stationCountOverride = 30000;
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(host.callsNamed("StationListItem").size(), 2u);
}

TEST_F(StationScan, trailingStarIsCutOnce) {
    host.addEntry(FakeStation{"#AB1* 12:00", "AB1", 0, 0, 1.0f, true});
    host.addEntry(FakeStation{"#A*B** x", "A*B*", 0, 0, 2.0f, true});
    host.addEntry(FakeStation{"*\xe9\x01Z x", "\xe9\x01Z", 0, 0, 3.0f, true});
    EXPECT_EQ(scan_stations(ctx), 3);
    EXPECT_EQ(argsOf("GetStation")[0], QVariantList{"AB1"});
    EXPECT_EQ(argsOf("GetStation")[1], QVariantList{"A*B*"});
    EXPECT_TRUE(lstStations.contains("AB1 distance 1."));
    EXPECT_TRUE(lstStations.contains("A*B* distance 2."));
}

TEST_F(StationScan, unknownStationIsSkipped) {
    host.addStation("GONE", 1.0f);
    host.stations.back().known = false;
    host.addStation("HERE", 2.0f);
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"HERE distance 2."}));
}

struct RadiusCase {
    const char* text;
    int listed;
};

void PrintTo(const RadiusCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class StationScanRadius : public StationScan, public ::testing::WithParamInterface<RadiusCase> {};

TEST_P(StationScanRadius, readsTheRadiusText) {
    radius = QString::fromLatin1(GetParam().text);
    host.addStation("A1", 0.0f);
    host.addStation("B1", 5.0f);
    host.addStation("C1", 9.5f);
    host.addStation("D1", 20.0f);
    EXPECT_EQ(scan_stations(ctx), GetParam().listed);
    EXPECT_EQ(lstStations.count(), GetParam().listed);
    if (GetParam().listed == 0) {
        EXPECT_EQ(caption, "No stations within alarm range");
        EXPECT_EQ(ctx.dblMinDist, 99999.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, StationScanRadius,
                         ::testing::Values(RadiusCase{"10", 3}, RadiusCase{" 10 km", 3},
                                           RadiusCase{"10 km", 3}, RadiusCase{"", 0},
                                           RadiusCase{"abc", 0}, RadiusCase{"-5", 0},
                                           RadiusCase{"1e999", 0}, RadiusCase{"1e3", 4},
                                           RadiusCase{"5", 1}, RadiusCase{"1 0", 3}));

TEST_F(StationScan, entryWithoutBlankEndsThePassQuietly) {
    lstStations.add("STALE");
    host.addStation("A1", 2.0f);
    host.addEntry(FakeStation{"#NOBLANK", "NOBLANK", 0, 0, 1.0f, true});
    host.addStation("C1", 0.5f);
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(lstStations.items(), QStringList({"A1 distance 2."}));
    EXPECT_DOUBLE_EQ(ctx.dblMinDist, 2.0);
    EXPECT_EQ(caption, "(before)");
    EXPECT_EQ(captionSets, 0);
}

TEST_F(StationScan, oneCharacterEntryEndsThePass) {
    host.addEntry(FakeStation{"#", "", 0, 0, 1.0f, true});
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(captionSets, 0);
}

class StationScanFailure : public StationScan, public ::testing::WithParamInterface<const char*> {};

TEST_P(StationScanFailure, hostFailureEndsThePassKeepingWhatWasAdded) {
    host.addStation("A1", 2.0f);
    host.addStation("B1", 1.0f);
    // StationCount fails at once; every other call the second time it is made.
    const QString call = QString::fromLatin1(GetParam());
    host.failOn(call, call == "StationCount" ? 0 : 1);
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(captionSets, 0);
    if (call == "StationCount") {
        EXPECT_EQ(lstStations.count(), 0);
        EXPECT_EQ(ctx.dblMinDist, 99999.0);
    } else {
        EXPECT_EQ(lstStations.items().value(0), "A1 distance 2.");
        EXPECT_DOUBLE_EQ(ctx.dblMinDist, call == "DrawCircle" || call == "ScaleHeight" ||
                                                 call == "PixelHeight" || call == "FillColor" ||
                                                 call == "DrawWidth" || call == "DrawStyle"
                                             ? 1.0
                                             : 2.0);
        int drawn = 0;
        for (const RecordedCall& recorded : host.callsNamed("DrawCircle"))
            drawn += recorded.failed ? 0 : 1;
        EXPECT_EQ(drawn, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Calls, StationScanFailure,
                         ::testing::Values("StationCount", "StationListItem", "GetStation",
                                           "DrawWidth", "DrawStyle", "FillColor", "ScaleHeight",
                                           "PixelHeight", "DrawCircle"));

TEST_F(StationScan, zeroPixelHeightEndsThePassAtTheFirstMark) {
    host.pixelHeight = 0;
    host.addStation("A1", 2.0f);
    host.addStation("B1", 1.0f);
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(lstStations.items(), QStringList({"A1 distance 2."}));
    EXPECT_TRUE(host.callsNamed("DrawCircle").empty());
    EXPECT_EQ(host.callsNamed("GetStation").size(), 1u);
}

TEST_F(StationScan, noMapEndsThePassQuietly) {
    ctx.mKestrelMap = nullptr;
    host.addStation("A1", 2.0f);
    EXPECT_EQ(scan_stations(ctx), 0);
    EXPECT_EQ(lstStations.count(), 1);
}

TEST_F(StationScan, acknowledgementBetweenStationsTakesEffectAtTheNext) {
    host.addStation("A1", 1.0f);
    host.addStation("B1", 2.0f);
    host.addStation("C1", 3.0f);
    duringEvents = [this] {
        if (eventRuns == 1) { // after A1: the operator acknowledges A1 and B1
            lstAcked.add("A1");
            lstAcked.add("B1");
        }
    };
    EXPECT_EQ(scan_stations(ctx), 2);
    EXPECT_EQ(lstStations.items(), QStringList({"A1 distance 1.", "C1 distance 3."}));
    const auto circles = argsOf("DrawCircle");
    ASSERT_EQ(circles.size(), 3u);
    EXPECT_EQ(circles[1].at(3), 65280);
}

TEST_F(StationScan, acknowledgementDuringGetStationIsReadForThatStation) {
    host.addStation("A1", 1.0f);
    host.addStation("B1", 2.0f);
    host.onGetStation = [this](const QString& callsign) {
        if (callsign == "A1")
            lstAcked.add("B1");
    };
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"A1 distance 1."}));
}

TEST_F(StationScan, radiusIsReadForEveryStation) {
    host.addStation("A1", 5.0f);
    host.addStation("B1", 5.0f);
    duringEvents = [this] { radius = "1"; };
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"A1 distance 5."}));
}

TEST_F(StationScan, fiveThousandStationsComeOutSorted) {
    radius = "1e9";
    for (int i = 0; i < 5000; ++i)
        host.addStation(QStringLiteral("S%1").arg((i * 7919) % 5000), float(i));
    EXPECT_EQ(scan_stations(ctx), 5000);
    for (int i = 1; i < lstStations.count(); ++i)
        ASSERT_TRUE(TextList::lessThan(lstStations.at(i - 1), lstStations.at(i)));
    EXPECT_EQ(ctx.dblMinDist, 0.0);
}

using WatchScan = StationScan;

TEST_F(WatchScan, listsWatchedStationsAtAnyDistance) {
    host.addStation("NEAR", 1.0f);
    host.addStation("FAR", 57.125f);
    host.addStation("OTHER", 2.0f);
    lstWatch.add("FAR");
    lstWatch.add("NEAR");
    EXPECT_EQ(scan_stations(ctx), 2);
    host.clearCalls();
    EXPECT_EQ(scan_watchlist(ctx), 4);
    EXPECT_EQ(lstStations.items(), QStringList({"FAR (watch) 57.125", "NEAR (watch) 1.",
                                                "NEAR distance 1.", "OTHER distance 2."}));
    EXPECT_EQ(caption, "(minimum distance observed is 1.)");
    EXPECT_TRUE(mapCalls().isEmpty());
    EXPECT_EQ(argsOf("GetStation"),
              (std::vector<QVariantList>{QVariantList{"NEAR"}, QVariantList{"FAR"}}));
}

TEST_F(WatchScan, watchedStationLowersTheMinimum) {
    // The own station is skipped by the station scan but not by the watch-list scan.
    host.addStation("IN", 0.75f);
    host.addStation("OWN", 0.25f);
    radius = "1";
    lstWatch.add("OWN");
    EXPECT_EQ(scan_stations(ctx), 1);
    EXPECT_EQ(caption, "(minimum distance observed is .75)");
    EXPECT_EQ(scan_watchlist(ctx), 2);
    EXPECT_DOUBLE_EQ(ctx.dblMinDist, 0.25);
    EXPECT_EQ(caption, "(minimum distance observed is .25)");
}

TEST_F(WatchScan, skipsAcknowledgedUnknownAndUnheard) {
    host.addStation("ACK", 1.0f);
    host.addStation("GONE", 1.0f);
    host.stations.back().known = false;
    lstWatch.add("ACK");
    lstWatch.add("GONE");
    lstWatch.add("NEVER");
    lstAcked.add("ACK");
    EXPECT_EQ(scan_watchlist(ctx), 0);
    EXPECT_EQ(lstStations.count(), 0);
    EXPECT_EQ(caption, "No stations within alarm range");
    EXPECT_EQ(argsOf("GetStation"), std::vector<QVariantList>{QVariantList{"GONE"}});
}

TEST_F(WatchScan, listsTheOwnCallsignWhenWatched) {
    host.addStation("OWN", 0.0f);
    lstWatch.add("OWN");
    EXPECT_EQ(scan_watchlist(ctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList({"OWN (watch) ."}));
}

TEST_F(WatchScan, emptyWatchListKeepsTheStationScanCaption) {
    host.addStation("A1", 3.0f);
    scan_stations(ctx);
    EXPECT_EQ(scan_watchlist(ctx), 1);
    EXPECT_EQ(caption, "(minimum distance observed is 3.)");
}

TEST_F(WatchScan, failureEndsThePassKeepingWhatWasAdded) {
    host.addStation("W1", 1.0f);
    host.addStation("W2", 2.0f);
    lstWatch.add("W1");
    lstWatch.add("W2");
    host.failOn("GetStation", 1);
    EXPECT_EQ(scan_watchlist(ctx), 0);
    EXPECT_EQ(lstStations.items(), QStringList({"W1 (watch) 1."}));
    EXPECT_DOUBLE_EQ(ctx.dblMinDist, 1.0);
    EXPECT_EQ(captionSets, 0);
}

TEST_F(WatchScan, entryWithoutBlankEndsThePass) {
    host.addEntry(FakeStation{"#W1", "W1", 0, 0, 1.0f, true});
    lstWatch.add("W1");
    EXPECT_EQ(scan_watchlist(ctx), 0);
    EXPECT_EQ(captionSets, 0);
}

TEST_F(WatchScan, watchListChangedBetweenStationsIsRead) {
    host.addStation("W1", 1.0f);
    host.addStation("W2", 2.0f);
    lstWatch.add("W1");
    duringEvents = [this] { lstWatch.add("W2"); };
    EXPECT_EQ(scan_watchlist(ctx), 2);
}

} // namespace
