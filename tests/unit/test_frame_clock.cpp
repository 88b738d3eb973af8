#include <gtest/gtest.h>

#include "tests/unit/clock_support.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, CounterClockMeasuresSecondsSinceTheLastRestartAtTheReportedFrequency) {
    ManualTime t;
    t.counter = 5000000000;
    UseManualClock(t);
    EXPECT_TRUE(g_frameClock.usesPerformanceCounter);
    g_manualTime.counter += 250000000;
    EXPECT_EQ(0.25, g_frameClock.Elapsed());
    EXPECT_EQ(0.25, g_frameClock.Elapsed());  // reading changes nothing
    g_manualTime.counter += 500000000;
    EXPECT_EQ(0.75, g_frameClock.Restart());
    EXPECT_EQ(0.0, g_frameClock.Elapsed());
    g_manualTime.counter += 1;
    EXPECT_EQ(1e-9, g_frameClock.Elapsed());

    t.counter = 0;
    t.frequency = 3579545;  // the old ACPI timer rate
    UseManualClock(t);
    g_manualTime.counter = 1000;
    EXPECT_EQ(1000.0 / 3579545.0, g_frameClock.Elapsed());
}

TEST_F(SimTest, MissingOrZeroFrequencySelectsTheMillisecondCount) {
    ManualTime noCounter;
    noCounter.counterAvailable = false;
    noCounter.millis = 7000;
    UseManualClock(noCounter);
    EXPECT_FALSE(g_frameClock.usesPerformanceCounter);
    g_manualTime.millis = 7001;
    EXPECT_EQ(0.001, g_frameClock.Elapsed());
    EXPECT_EQ(0.001, g_frameClock.Restart());
    g_manualTime.millis = 7017;
    EXPECT_EQ(16 * 0.001, g_frameClock.Elapsed());

    ManualTime zero;
    zero.frequency = 0;
    zero.millis = 1000;
    UseManualClock(zero);
    EXPECT_FALSE(g_frameClock.usesPerformanceCounter);
    g_manualTime.counter = 123456789;  // ignored
    g_manualTime.millis = 1001;
    EXPECT_EQ(0.001, g_frameClock.Elapsed());
}
