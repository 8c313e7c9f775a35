// Guards against a window timer that restarts its interval when switched on again, or never fires.
#include <gtest/gtest.h>

#include <QTest>

#include "support/WindowTimer.h"

TEST(WindowTimer, OnWhileOnKeepsTheIntervalOffThenOnStartsAnewAndItFires) {
    WindowTimer timer(20);
    int ticks = 0;
    QObject::connect(&timer, &WindowTimer::timeout, [&] { ++ticks; });
    timer.setEnabled(true);
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), 1);
    timer.setEnabled(false);
    EXPECT_FALSE(timer.isEnabled());
    timer.setEnabled(true);
    EXPECT_EQ(timer.startCount(), 2);
    EXPECT_EQ(timer.interval(), 20);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks >= 2; }, 10000));
}
