// Guards against a wrong "N lines a minute" in the status bar: a rate over the wrong span, a
// rate shown from one sample, or a reconnected link's count taken as negative.
#include <gtest/gtest.h>

#include "StatusWords.h"

namespace {

TEST(LineRate, countsTheLinesOfTheLastMinute) {
    LineRate rate;
    EXPECT_FALSE(rate.perMinute());
    rate.sample(0, 0);
    rate.sample(10, 2000);
    EXPECT_FALSE(rate.perMinute()) << "two seconds say nothing yet";
    rate.sample(50, 30000);
    EXPECT_EQ(rate.perMinute(), 100);
    rate.sample(100, 60000);
    rate.sample(160, 90000); // the first half minute has left the span
    EXPECT_EQ(rate.perMinute(), 110);
    rate.sample(3, 95000); // a new connection counts from 0 again
    EXPECT_FALSE(rate.perMinute());
    rate.sample(33, 105000);
    EXPECT_EQ(rate.perMinute(), 180);
}

} // namespace
