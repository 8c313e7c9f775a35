// Guards against an update log that grows without bound or keeps the wrong end when cut.
#include <gtest/gtest.h>

#include "support/UpdateLog.h"

TEST(UpdateLog, KeepsItsLastCharactersOncePastTheLimit) {
    EXPECT_EQ(appendLogLine("a\n", "b"), QStringLiteral("a\nb\n"));
    const QString atLimit(kUpdateLogLimit, u'x');
    EXPECT_EQ(appendLogLine(atLimit, "next"), atLimit + "next\n");
    QString past; // numbered characters show which end was kept
    for (qsizetype i = 0; i <= kUpdateLogLimit; ++i)
        past += QChar(char16_t(u'a' + i % 26));
    EXPECT_EQ(appendLogLine(past, "next"), past.right(kUpdateLogKeptLength) + "next\n");
}
