// Guards against a replayed feed that loses stations, stops at a bad or huge line, or tells
// its refusals wrongly.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "feed/AprsText.h"
#include "feed/FeedStations.h"
#include "feed/ReplaySource.h"

namespace {

// A replayed line is cut where an APRS-IS server cuts it (the reader's own table is
// FramingTest's, the store's bounds the tracker's tests).
TEST(Replay, DecodedLinesFillTheListAndBadLongOrRefusedOnesAreCounted) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.txt"));
    const QByteArray tooLong = "N0CALL-9>APRS:!4903.50N/07201.75W-" + QByteArray(10207, 'c');
    ASSERT_TRUE(putFile(path, "# aprsc 2.1.14\r\n"
                              "N0CALL-1>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-first\r\n"
                              "no header at all\n"
                              "\n"
                              "N0CALL-2>APRS,qAR,N1GATE:>status only\n" +
                                  tooLong +
                                  "\r\n"
                                  "N0CALL>APRS:;AB|CD    *092345z4903.50N/07201.75W>\n"
                                  "N0CALL-4>APRS:;LEADER   *092345z4903.50N/07201.75W>")); // no LF
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 49.0, -72.0);
    FeedStations stations{store, 60.0};
    feed::ReplaySource replay;
    QStringList refusals;
    QObject::connect(&replay, &feed::ReplaySource::reportReceived, &replay,
                     [&](const feed::PositionReport& r) { stations.hear(r, 0); });
    QObject::connect(&replay, &feed::FeedLink::rejected, &replay,
                     [&](const QString& why) { refusals << why; });
    QString error;
    ASSERT_TRUE(replay.play(path, 0, &error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return replay.finished(); }, 5000));

    ASSERT_EQ(store.count(), 3);
    EXPECT_EQ(store.at(1)->callsign, QStringLiteral("N0CALL-1"));
    EXPECT_EQ(store.at(2)->callsign, QStringLiteral("LEADER"));
    EXPECT_EQ(replay.counters().serverLines, 1u);
    EXPECT_EQ(replay.replayText(), QStringLiteral("replay feed.txt: done, 8 lines"));
    refusals.sort(); // the order they are told in is no promise
    EXPECT_EQ(refusals, (QStringList{"line too long", "no header", "no position",
                                     feed::unusableNameText(QStringLiteral("AB|CD"))}));
}

} // namespace
