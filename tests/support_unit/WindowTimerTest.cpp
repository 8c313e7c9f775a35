#include <gtest/gtest.h>

#include "support/WindowTimer.h"

TEST(WindowTimer, SwitchingOnWhileOnKeepsTheRunningInterval) {
    WindowTimer timer(15000);
    timer.setEnabled(true);
    EXPECT_TRUE(timer.isEnabled());
    EXPECT_EQ(timer.startCount(), 1);
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), 1);
}

TEST(WindowTimer, OffThenOnStartsAFullIntervalAnew) {
    WindowTimer timer(10000);
    timer.setEnabled(true);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isEnabled());
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), 2);
    EXPECT_EQ(timer.interval(), 10000);
}

TEST(WindowTimer, FireRunsTheHandlerWithoutWaiting) {
    WindowTimer timer(10000);
    int ticks = 0;
    QObject::connect(&timer, &WindowTimer::timeout, [&] { ++ticks; });
    timer.fire();
    timer.fire();
    EXPECT_EQ(ticks, 2);
}
