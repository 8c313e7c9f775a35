// The scans over a host that answers blocks of entries and stations in one call (as the
// tracker on the bus does): the same lines, marks and captions as over single calls, with the
// lists and the radius still read at every station.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "engine/Scans.h"

namespace {

// Offers the block calls on top of the fake host, answering them with the fake's single
// calls so that the fake's failures and recording stay in play.
class BlockHost final : public KestrelHost {
public:
    explicit BlockHost(FakeKestrelHost& fake) : m_fake(fake) {}

    KestrelMap* Map() override { return m_fake.Map(); }
    qint16 StationCount() override { return m_fake.StationCount(); }
    QString StationListItem(qint16 index) override {
        ++singleItems;
        return m_fake.StationListItem(index);
    }
    bool GetStation(KestrelStation& station) override {
        ++singleStations;
        return m_fake.GetStation(station);
    }
    void setEventsEnabled(qint32 value) override { m_fake.setEventsEnabled(value); }
    void AlertStation(const QString& callsign) override { m_fake.AlertStation(callsign); }
    void SetBeacon(const KestrelBeacon& beacon) override { m_fake.SetBeacon(beacon); }

    std::optional<QStringList> StationListItems(qint16 first, qint16 count) override {
        ++itemBlocks;
        QStringList texts;
        const int end = std::min(first + count, int(m_fake.StationCount()));
        for (int i = first; i < end; ++i)
            texts << m_fake.StationListItem(qint16(i));
        return texts;
    }
    std::optional<std::vector<std::optional<KestrelStation>>>
    GetStations(const QStringList& callsigns) override {
        if (!offersGetStations)
            return std::nullopt;
        ++stationBlocks;
        askedInBlocks += callsigns;
        std::vector<std::optional<KestrelStation>> answers;
        for (const QString& callsign : callsigns) {
            KestrelStation station{callsign};
            if (m_fake.GetStation(station))
                answers.emplace_back(station);
            else
                answers.emplace_back();
        }
        return answers;
    }

    bool offersGetStations = true;
    int itemBlocks = 0;
    int stationBlocks = 0;
    int singleItems = 0;
    int singleStations = 0;
    QStringList askedInBlocks;

private:
    FakeKestrelHost& m_fake;
};

class BlockScan : public EngineFixture {
protected:
    BlockScan()
        : block(host), bctx(block, station, lstStations, lstAcked, lstWatch, lstOverlayItems) {
        bctx.mKestrelMap = ctx.mKestrelMap;
        bctx.ownCallsign = ctx.ownCallsign;
        bctx.radiusText = [this] {
            ++radiusReads;
            return radius;
        };
        bctx.setMinDistCaption = ctx.setMinDistCaption;
        bctx.processEvents = ctx.processEvents;
    }

    // `count` stations ST0.. at distances cycling through 0.5 .. 19.5, so about half are
    // within the default radius of 10; every seventh entry is starred.
    void addStations(int count) {
        host.addStation(QStringLiteral("OWN"), 0.0f);
        for (int i = 0; i < count; ++i) {
            const QString call = QStringLiteral("ST%1").arg(i);
            FakeStation s;
            s.callsign = call;
            s.entryText = QStringLiteral("#") + call + (i % 7 == 0 ? "*" : "") + " x";
            s.distance = 0.5f + float(i % 20);
            s.longitude = float(i);
            s.latitude = float(-i);
            s.known = i % 11 != 5;
            host.addEntry(s);
        }
    }

    // The pass over single calls, for comparison.
    struct Outcome {
        qint16 result;
        QStringList lines;
        QString caption;
        std::vector<QVariantList> circles;
    };
    Outcome run(AlarmContext& context, qint16 (*scan)(AlarmContext&)) {
        host.clearCalls();
        const qint16 result = scan(context);
        return {result, lstStations.items(), caption, argsOf(QStringLiteral("DrawCircle"))};
    }

    BlockHost block;
    AlarmContext bctx;
    int radiusReads = 0;
};

TEST_F(BlockScan, stationScanGivesWhatSingleCallsGive) {
    addStations(450); // three blocks, the last one partial
    const Outcome single = run(ctx, scan_stations);
    const Outcome blocks = run(bctx, scan_stations);
    ASSERT_GT(single.result, 100);
    EXPECT_EQ(blocks.result, single.result);
    EXPECT_EQ(blocks.lines, single.lines);
    EXPECT_EQ(blocks.caption, single.caption);
    EXPECT_EQ(blocks.circles, single.circles);
    EXPECT_EQ(block.itemBlocks, 3);
    EXPECT_EQ(block.stationBlocks, 3);
    EXPECT_EQ(block.singleItems + block.singleStations, 0);
    EXPECT_FALSE(block.askedInBlocks.contains(QStringLiteral("OWN")));
    EXPECT_EQ(radiusReads, 409); // once for every station the host knows, as before
}

TEST_F(BlockScan, watchScanGivesWhatSingleCallsGive) {
    addStations(300);
    for (const char* call : {"ST3", "ST250", "ST5", "ST16", "NOTHEARD"})
        lstWatch.add(QString::fromLatin1(call));
    lstAcked.add(QStringLiteral("ST16"));
    const Outcome single = run(ctx, scan_watchlist);
    lstStations.clear();
    const Outcome blocks = run(bctx, scan_watchlist);
    EXPECT_EQ(blocks.result, single.result);
    EXPECT_EQ(blocks.lines, single.lines);
    EXPECT_EQ(blocks.lines, (QStringList{"ST250 (watch) 10.5", "ST3 (watch) 3.5"}));
    // ST5 is unknown to the host (found false); ST16 is acknowledged and not asked.
    EXPECT_EQ(block.askedInBlocks, (QStringList{"ST3", "ST5", "ST250"}));
}

TEST_F(BlockScan, acknowledgementBetweenStationsCountsForAPrefetchedStation) {
    addStations(20);
    duringEvents = [this] {
        if (eventRuns == 2) // after ST0, before ST1
            lstAcked.add(QStringLiteral("ST1"));
    };
    scan_stations(bctx);
    EXPECT_FALSE(lstStations.items().contains(QStringLiteral("ST1 distance 1.5")));
    EXPECT_TRUE(lstStations.items().contains(QStringLiteral("ST0 distance .5")));
    // ST1 was still marked, in green.
    const auto circles = argsOf(QStringLiteral("DrawCircle"));
    ASSERT_GE(circles.size(), 2u);
    EXPECT_EQ(circles.at(1).at(0).toFloat(), 1.0f);
    EXPECT_EQ(circles.at(1).at(3).toInt(), 0x00FF00);
}

TEST_F(BlockScan, stationWatchedBetweenStationsIsAskedSingly) {
    addStations(20);
    duringEvents = [this] {
        if (eventRuns == 3)
            lstWatch.add(QStringLiteral("ST12"));
    };
    EXPECT_EQ(scan_watchlist(bctx), 1);
    EXPECT_EQ(lstStations.items(), QStringList{"ST12 (watch) 12.5"});
    EXPECT_EQ(block.singleStations, 1);
}

TEST_F(BlockScan, hostWithoutGetStationsIsAskedStationByStation) {
    addStations(30);
    block.offersGetStations = false;
    const Outcome single = run(ctx, scan_stations);
    const Outcome blocks = run(bctx, scan_stations);
    EXPECT_EQ(blocks.lines, single.lines);
    EXPECT_EQ(block.singleStations, 30);
    EXPECT_EQ(block.itemBlocks, 1);
}

TEST_F(BlockScan, entryWithoutBlankInABlockKeepsTheStationsBeforeIt) {
    addStations(10);
    host.stations.at(5).entryText = QStringLiteral("#BROKEN");
    EXPECT_EQ(scan_stations(bctx), 0);
    EXPECT_EQ(lstStations.items(), (QStringList{"ST0 distance .5", "ST1 distance 1.5",
                                                "ST2 distance 2.5", "ST3 distance 3.5"}));
    EXPECT_EQ(caption, QStringLiteral("(before)"));
}

TEST_F(BlockScan, failingBlockEndsThePassQuietly) {
    addStations(250);
    host.failOn(QStringLiteral("StationListItem"), 220); // inside the second block
    EXPECT_EQ(scan_stations(bctx), 0);
    // The first block was scanned in full; nothing of the second.
    EXPECT_EQ(eventRuns, 200);
    EXPECT_EQ(caption, QStringLiteral("(before)"));
}

TEST_F(BlockScan, countBeyondTheListEndsAtTheListsEnd) {
    addStations(5);
    host.stationCountOverride = 400;
    EXPECT_EQ(scan_stations(bctx), 5);
    EXPECT_EQ(block.itemBlocks, 1);
    EXPECT_EQ(caption, QStringLiteral("(minimum distance observed is .5)"));
}

} // namespace
