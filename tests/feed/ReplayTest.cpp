// Guards against a replayed feed that loses stations or stops at a bad line.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "feed/AprsText.h"
#include "feed/FeedStations.h"
#include "feed/ReplaySource.h"

namespace {

TEST(Replay, DecodedLinesFillTheListAndBadOnesAreCounted) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("feed.txt"));
    ASSERT_TRUE(putFile(path, "# aprsc 2.1.14\r\n"
                              "N0CALL-1>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-first\r\n"
                              "no header at all\n"
                              "\n"
                              "N0CALL-2>APRS,qAR,N1GATE:>status only\n"
                              "N1GATE>APRS:}N0CALL-3>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-\n"
                              "N0CALL-4>APRS:;LEADER   *092345z4903.50N/07201.75W>")); // no LF
    StationStore store;
    store.setOwn(QStringLiteral("OWN"), 49.0, -72.0);
    FeedStations stations{store, 60.0};
    feed::ReplaySource replay;
    QObject::connect(&replay, &feed::ReplaySource::reportReceived, &replay,
                     [&](const feed::PositionReport& r) { stations.hear(r, 0); });
    QString error;
    ASSERT_TRUE(replay.play(path, 0, &error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return replay.finished(); }, 5000));
    ASSERT_EQ(store.count(), 4);
    EXPECT_EQ(store.at(3)->callsign, QStringLiteral("LEADER"));
    EXPECT_EQ(replay.counters().decoded, 3u);
    EXPECT_EQ(replay.counters().badFrames, 1u);
    EXPECT_EQ(replay.counters().rejectedFor(feed::AprsReject::NoPosition), 1u);
    EXPECT_EQ(replay.counters().serverLines, 1u);
    EXPECT_EQ(replay.linesRead(), 7u);
    EXPECT_EQ(replay.replayText(), QStringLiteral("replay feed.txt: done, 7 lines"));
}

// A replayed line is cut where an APRS-IS server cuts it, and what it brings is kept to the
// store's bounds: a file of huge comments must not make huge entries.
TEST(Replay, linesBeyondTheAprsIsLimitAreDroppedAndLongCommentsCut) {
    const QByteArray head = "N0CALL-1>APRS:!4903.50N/07201.75W-";
    const auto packet = [&](const char* call, qsizetype length) {
        QByteArray line = head;
        line.replace("N0CALL-1", call);
        return line + QByteArray(length - line.size(), 'c');
    };
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.txt"));
    ASSERT_TRUE(putFile(path, packet("AT-LIMIT", 10240) + "\r\n" + packet("OVER", 10241) + "\r\n" +
                                  packet("HUGE", 1 << 20) + "\n" +
                                  "N0CALL>APRS:;AB|CD    *092345z4903.50N/07201.75W>\n" +
                                  packet("LAST", 60))); // no line end
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
    EXPECT_EQ(store.at(1)->callsign, QStringLiteral("AT-LIMIT"));
    EXPECT_EQ(store.at(1)->comment, QString(StationStore::MaxCommentLength, QLatin1Char('c')));
    EXPECT_LE(store.entryText(1).size(), StationStore::MaxEntryLength);
    EXPECT_EQ(store.at(2)->callsign, QStringLiteral("LAST"));
    EXPECT_EQ(replay.counters().dropped, 2u);
    EXPECT_EQ(replay.linesRead(), 5u);
    EXPECT_EQ(refusals, (QStringList{"line too long", "line too long",
                                     feed::unusableNameText(QStringLiteral("AB|CD"))}));
}

} // namespace
