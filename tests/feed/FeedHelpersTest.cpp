#include <gtest/gtest.h>

#include "feed/AprsIsClient.h"
#include "feed/AprsText.h"
#include "feed/HostPort.h"
#include "feed/ReconnectDelay.h"

namespace {

TEST(ReconnectDelay, DoublesUpToTheCeilingAndStartsOverAfterReset) {
    feed::ReconnectDelay delay(1000, 60000);
    QList<int> seen;
    for (int i = 0; i < 9; ++i)
        seen << delay.next();
    EXPECT_EQ(seen, (QList<int>{1000, 2000, 4000, 8000, 16000, 32000, 60000, 60000, 60000}));
    delay.reset();
    EXPECT_EQ(delay.next(), 1000);
}

struct HostPortCase {
    const char* text;
    bool ok;
    const char* host;
    quint16 port;
};

void PrintTo(const HostPortCase& c, std::ostream* os) {
    *os << c.text;
}

class HostPortParse : public testing::TestWithParam<HostPortCase> {};

TEST_P(HostPortParse, SplitsOrRefuses) {
    const HostPortCase& c = GetParam();
    QString host = QStringLiteral("unchanged");
    quint16 port = 7;
    EXPECT_EQ(feed::parseHostPort(QString::fromLatin1(c.text), host, port), c.ok);
    EXPECT_EQ(host.toStdString(), c.ok ? c.host : "unchanged");
    EXPECT_EQ(port, c.ok ? c.port : 7);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HostPortParse,
    testing::Values(
        HostPortCase{"localhost:8001", true, "localhost", 8001},
        HostPortCase{"rotate.aprs2.net:14580", true, "rotate.aprs2.net", 14580},
        HostPortCase{"[::1]:8001", true, "::1", 8001},
        HostPortCase{"127.0.0.1:65535", true, "127.0.0.1", 65535},
        HostPortCase{"localhost", false, "", 0}, HostPortCase{":8001", false, "", 0},
        HostPortCase{"localhost:", false, "", 0}, HostPortCase{"localhost:0", false, "", 0},
        HostPortCase{"localhost:65536", false, "", 0}, HostPortCase{"localhost:80x", false, "", 0},
        HostPortCase{"localhost: 80", false, "", 0}, HostPortCase{"localhost:+80", false, "", 0},
        HostPortCase{"::1:8001", false, "", 0}, HostPortCase{"local host:8001", false, "", 0}));

TEST(StorableName, AcceptsPrintableWordsOnly) {
    for (const char* good : {"N0CALL", "N0CALL-15", "G/WB4APR", "AID#2", "DB0ABC-S", "123456789"})
        EXPECT_TRUE(feed::isStorableName(QString::fromLatin1(good))) << good;
    for (const char* bad : {"", "BIG EVENT", "A|B", "A\tB", "A\x7f", "1234567890", "A\x01"})
        EXPECT_FALSE(feed::isStorableName(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(feed::isStorableName(QString::fromUtf8("CAFÉ")));
}

TEST(AprsIsLogin, LineCarriesCallVersionAndFilter) {
    feed::AprsIsClient client;
    ASSERT_TRUE(client.setLogin(QStringLiteral("N0CALL-5")));
    client.setVersion(QStringLiteral("1.2.3"));
    ASSERT_TRUE(client.setFilter(feed::AprsIsClient::rangeFilter(51.5, -0.12, 50)));
    EXPECT_EQ(
        client.loginLine(),
        QByteArray("user N0CALL-5 pass -1 vers kestrel32 1.2.3 filter r/51.5000/-0.1200/50\r\n"));
    ASSERT_TRUE(client.setFilter(QString()));
    EXPECT_EQ(client.loginLine(), QByteArray("user N0CALL-5 pass -1 vers kestrel32 1.2.3\r\n"));
}

TEST(AprsIsLogin, DefaultVersionIsTheProjectVersion) {
    feed::AprsIsClient client;
    ASSERT_TRUE(client.setLogin(QStringLiteral("N0CALL")));
    const QByteArray line = client.loginLine();
    EXPECT_TRUE(line.startsWith("user N0CALL pass -1 vers kestrel32 ")) << line.toStdString();
    const QByteArray version = line.mid(35).trimmed();
    EXPECT_FALSE(version.isEmpty());
    EXPECT_FALSE(version.contains(' '));
}

TEST(AprsIsLogin, RefusesCallsAndFiltersThatWouldBreakTheLine) {
    feed::AprsIsClient client;
    ASSERT_TRUE(client.setLogin(QStringLiteral("N0CALL")));
    for (const char* bad : {"", "N0 CALL", "N0CALL\r\nuser X", "N0CALLXXXX", "N0CALL|"})
        EXPECT_FALSE(client.setLogin(QString::fromLatin1(bad))) << bad;
    EXPECT_FALSE(client.setFilter(QStringLiteral("r/1/2/3\r\n#")));
    EXPECT_FALSE(client.setFilter(QString::fromUtf8("r/1/2/3 é")));
    EXPECT_EQ(client.loginLine(),
              QByteArray("user N0CALL pass -1 vers kestrel32 " + client.loginLine().mid(35)));
    EXPECT_FALSE(client.loginLine().contains("filter"));
}

TEST(AprsIsLogin, StartRefusesWithoutALogin) {
    feed::AprsIsClient client;
    EXPECT_FALSE(client.start(QStringLiteral("127.0.0.1"), 14580));
    EXPECT_EQ(client.state(), feed::FeedLink::State::Stopped);
}

} // namespace
