// Guards against a replayed feed that loses stations or stops at a bad line.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QTest>

#include "TestFiles.h"
#include "feed/FeedStations.h"
#include "feed/ReplaySource.h"

namespace {

class ReplayTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_store.setOwn(QStringLiteral("OWN"), 49.0, -72.0);
        QObject::connect(&m_replay, &feed::ReplaySource::reportReceived, &m_replay,
                         [this](const feed::PositionReport& r) { m_stations.hear(r, 0); });
    }
    QString write(const QByteArray& text) {
        const QString path = m_dir.filePath(QStringLiteral("feed.txt"));
        return putFile(path, text) ? path : QString();
    }

    QTemporaryDir m_dir;
    StationStore m_store;
    FeedStations m_stations{m_store, 60.0};
    feed::ReplaySource m_replay;
};

TEST_F(ReplayTest, DecodedLinesFillTheListAndBadOnesAreCounted) {
    const QString path = write("# aprsc 2.1.14\r\n"
                               "N0CALL-1>APRS,TCPIP*,qAC,T2TEST:!4903.50N/07201.75W-first\r\n"
                               "no header at all\n"
                               "\n"
                               "N0CALL-2>APRS,qAR,N1GATE:>status only\n"
                               "N1GATE>APRS:}N0CALL-3>APRS,TCPIP,N1GATE*:!4903.50N/07201.75W-\n"
                               "N0CALL-4>APRS:;LEADER   *092345z4903.50N/07201.75W>"); // no LF
    QString error;
    ASSERT_TRUE(m_replay.play(path, 0, &error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([this] { return m_replay.finished(); }, 5000));
    ASSERT_EQ(m_store.count(), 4);
    EXPECT_EQ(m_store.at(3)->callsign, QStringLiteral("LEADER"));
    EXPECT_EQ(m_replay.counters().decoded, 3u);
    EXPECT_EQ(m_replay.counters().badFrames, 1u);
    EXPECT_EQ(m_replay.counters().rejectedFor(feed::AprsReject::NoPosition), 1u);
    EXPECT_EQ(m_replay.counters().serverLines, 1u);
    EXPECT_EQ(m_replay.linesRead(), 7u);
    EXPECT_EQ(m_replay.replayText(), QStringLiteral("replay feed.txt: done, 7 lines"));
}

} // namespace
