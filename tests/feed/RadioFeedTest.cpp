// Guards against a station that a real TNC hands over never reaching the tracker's list, or
// reaching it under the wrong name: a frame recorded from Dire Wolf, served over KISS TCP.
#include <gtest/gtest.h>

#include "FeedTestUtil.h"
#include "HostCore.h"
#include "feed/KissTcpClient.h"
#include "feed/RadioFeed.h"

namespace {

// N0CALL-1>APRS,WIDE1-1:!4903.50N/07201.75W-Test as Dire Wolf demodulated it from
// gen_packets' audio: the command bits of destination and source are set (E0, E2), which
// the hand-built frames of the framing tests leave clear, and the text ends in a line end.
const QByteArray direWolfKiss = QByteArray::fromHex(
    "c00082a0a4a64040e09c6086829898e2ae92888a62406303f021343930332e35304e2f3037323031"
    "2e3735572d546573740ac0");

TEST(RadioFeed, aFrameFromARealTncJoinsTheTrackersListWithItsPosition) {
    QTcpServer tnc;
    ASSERT_TRUE(tnc.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&tnc, &QTcpServer::newConnection, &tnc,
                     [&] { writeInChunks(tnc.nextPendingConnection(), direWolfKiss); });
    HostCore core(
        parseScenario(R"({"own": {"callsign": "OWN0", "lat": 49, "lon": -72}})", "own.json"));
    feed::FeedOptions options;
    options.kissHost = QStringLiteral("127.0.0.1");
    options.kissPort = tnc.serverPort();
    RadioFeed radio(options, core);
    QString error;
    ASSERT_TRUE(radio.start(&error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return core.store().count() == 2; }, 5000))
        << radio.statusText().toStdString();
    EXPECT_EQ(core.stationListItem(1).toStdString(), "#N0CALL-1 6.8km Test"); // 6.82 km
    const std::optional<StationFix> fix = core.getStation(QStringLiteral("N0CALL-1"));
    ASSERT_TRUE(fix.has_value());
    EXPECT_NEAR(fix->latitudeMinutes, 49.058333 * 60.0, 6e-3);
    EXPECT_NEAR(fix->longitudeMinutes, -72.029167 * 60.0, 6e-3);
    EXPECT_EQ(radio.kiss()->counters().rejected(), 0u);
}

} // namespace
