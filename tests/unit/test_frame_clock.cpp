#include <gtest/gtest.h>

#include "engine/show.h"
#include "tests/unit/clock_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

ManualTime MillisecondsAt(uint64_t millis) {
    ManualTime t;
    t.counterAvailable = false;
    t.millis = millis;
    return t;
}

}  // namespace

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
    UseManualClock(MillisecondsAt(7000));
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

TEST_F(SimTest, MillisecondClockSurvivesTheCountWrappingBetweenReadings) {
    UseManualClock(MillisecondsAt(0xFFFFFFF0u));
    g_manualTime.millis = 0x100000005ull;  // the 32-bit count now reads 5
    EXPECT_EQ(21 * 0.001, g_frameClock.Elapsed());
    EXPECT_EQ(21 * 0.001, g_frameClock.Restart());
    g_manualTime.millis += 16;
    EXPECT_EQ(16 * 0.001, g_frameClock.Elapsed());
}

TEST_F(SimTest, WarmUpFramesMeasureNothingThenStepsAreDifferences) {
    UseManualClock(ManualTime());
    AdvanceManualClock(3000000000);  // context creation and sizing took three seconds
    EXPECT_EQ(0.0, MeasureTimeStep());
    AdvanceManualClock(20000000);
    EXPECT_EQ(0.0, MeasureTimeStep());
    int64_t start = g_frameClock.startCount;
    for (int frame = 0; frame < 5; ++frame) {
        AdvanceManualClock(16000000);
        EXPECT_DOUBLE_EQ(0.016, MeasureTimeStep());
    }
    EXPECT_EQ(start, g_frameClock.startCount);  // never restarted after the warm-up
}
