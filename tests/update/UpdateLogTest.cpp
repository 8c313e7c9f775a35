#include <gtest/gtest.h>

#include "support/UpdateLog.h"

namespace {

TEST(UpdateLog, AppendsTheLineAndALineEnd) {
    EXPECT_EQ(appendLogLine(QString(), QStringLiteral("first")), QStringLiteral("first\n"));
    EXPECT_EQ(appendLogLine(QStringLiteral("a\n"), QStringLiteral("b")), QStringLiteral("a\nb\n"));
}

TEST(UpdateLog, LogOfExactlyTheLimitIsKept) {
    const QString log(kUpdateLogLimit, u'x');
    const QString result = appendLogLine(log, QStringLiteral("next"));
    EXPECT_EQ(result.size(), kUpdateLogLimit + 5);
    EXPECT_TRUE(result.startsWith(log));
}

TEST(UpdateLog, LogPastTheLimitKeepsItsLastTenThousandCharacters) {
    // Numbered characters show which end was kept.
    QString log;
    for (qsizetype i = 0; i <= kUpdateLogLimit; ++i)
        log += QChar(char16_t(u'a' + i % 26));
    ASSERT_EQ(log.size(), 15001);
    const QString result = appendLogLine(log, QStringLiteral("next"));
    EXPECT_EQ(result.size(), 10000 + 5);
    EXPECT_EQ(result.left(10000), log.right(10000));
    EXPECT_TRUE(result.endsWith(QStringLiteral("next\n")));
}

TEST(UpdateLog, ManyLinesNeverGrowPastTheLimitAndALine) {
    QString log;
    const QString line(99, u'L');
    for (int i = 0; i < 1000; ++i) {
        log = appendLogLine(log, line);
        ASSERT_LE(log.size(), kUpdateLogLimit + 100);
    }
    EXPECT_GE(log.size(), kUpdateLogKeptLength);
}

} // namespace
