#include <gtest/gtest.h>

#include "engine/show.h"
#include "tests/unit/clock_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

ManualTime CounterAt(int64_t counter) {
    ManualTime t;
    t.counter = counter;
    return t;
}

ManualTime MillisecondsAt(uint64_t millis) {
    ManualTime t;
    t.counterAvailable = false;
    t.millis = millis;
    return t;
}

}  // namespace

TEST_F(SimTest, CounterClockMeasuresSecondsSinceTheLastRestart) {
    UseManualClock(CounterAt(5000000000));
    EXPECT_TRUE(g_frameClock.usesPerformanceCounter);
    g_manualTime.counter += 250000000;
    EXPECT_EQ(0.25, g_frameClock.Elapsed());
    EXPECT_EQ(0.25, g_frameClock.Elapsed());  // reading changes nothing
    g_manualTime.counter += 500000000;
    EXPECT_EQ(0.75, g_frameClock.Restart());
    EXPECT_EQ(0.0, g_frameClock.Elapsed());
    EXPECT_EQ(0.0, g_frameClock.Restart());  // twice in a row: nothing between
    g_manualTime.counter += 1;
    EXPECT_EQ(1e-9, g_frameClock.Elapsed());
}

TEST_F(SimTest, CounterClockDividesByTheReportedFrequency) {
    ManualTime t = CounterAt(0);
    t.frequency = 3579545;  // the old ACPI timer rate
    UseManualClock(t);
    g_manualTime.counter = 3579545 * 2;
    EXPECT_EQ(2.0, g_frameClock.Elapsed());
    g_manualTime.counter = 1000;
    EXPECT_EQ(1000.0 / 3579545.0, g_frameClock.Elapsed());
}

TEST_F(SimTest, MissingOrZeroFrequencySelectsTheMillisecondCount) {
    UseManualClock(MillisecondsAt(1000));
    EXPECT_FALSE(g_frameClock.usesPerformanceCounter);

    ManualTime zero;
    zero.frequency = 0;
    zero.millis = 1000;
    UseManualClock(zero);
    EXPECT_FALSE(g_frameClock.usesPerformanceCounter);
    g_manualTime.counter = 123456789;  // ignored
    g_manualTime.millis = 1001;
    EXPECT_EQ(0.001, g_frameClock.Elapsed());
}

TEST_F(SimTest, MillisecondClockHasMillisecondSteps) {
    UseManualClock(MillisecondsAt(7000));
    EXPECT_EQ(0.0, g_frameClock.Elapsed());
    g_manualTime.millis = 7001;
    EXPECT_EQ(0.001, g_frameClock.Elapsed());
    EXPECT_EQ(0.001, g_frameClock.Restart());
    EXPECT_EQ(0.0, g_frameClock.Elapsed());  // same millisecond
    g_manualTime.millis = 7017;
    EXPECT_EQ(16 * 0.001, g_frameClock.Elapsed());
}

TEST_F(SimTest, MillisecondClockSurvivesTheCountWrappingBetweenReadings) {
    UseManualClock(MillisecondsAt(0xFFFFFFF0u));
    g_manualTime.millis = 0x100000005ull;  // the 32-bit count now reads 5
    EXPECT_EQ(21 * 0.001, g_frameClock.Elapsed());
    EXPECT_EQ(21 * 0.001, g_frameClock.Restart());
    g_manualTime.millis += 16;
    EXPECT_EQ(16 * 0.001, g_frameClock.Elapsed());
}

TEST_F(SimTest, MillisecondElapsedWrapsBackAfterFortyNineDays) {
    UseManualClock(MillisecondsAt(1000));
    g_manualTime.millis = 1000 + 0xFFFFFFFFull;
    EXPECT_EQ(4294967.295, g_frameClock.Elapsed());
    g_manualTime.millis = 1000 + 0x100000000ull + 30;
    EXPECT_EQ(0.03, g_frameClock.Elapsed());
}

TEST_F(SimTest, WarmUpFramesMeasureNothingThenStepsAreDifferences) {
    UseManualClock(CounterAt(0));
    AdvanceManualClock(3000000000);  // context creation and sizing took three seconds
    EXPECT_EQ(0.0, MeasureTimeStep());
    AdvanceManualClock(20000000);
    EXPECT_EQ(0.0, MeasureTimeStep());
    EXPECT_EQ(0, g_warmupFrames);
    int64_t start = g_frameClock.startCount;
    for (int frame = 0; frame < 5; ++frame) {
        AdvanceManualClock(16000000);
        EXPECT_DOUBLE_EQ(0.016, MeasureTimeStep());
    }
    EXPECT_EQ(start, g_frameClock.startCount);  // never restarted after the warm-up
    EXPECT_DOUBLE_EQ(0.08, g_lastClockReading);
}

