#include <map>

#include <gtest/gtest.h>

#include "engine/show.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "settings/settings.h"
#include "tests/unit/clock_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

const int64_t MINUTE = 60000000000;
const int64_t FRAME = 16666667;

// One frame as the saver runs it: measure the step, then the show's half of the frame.
ShowFrameResult RunFrame(DrawList& list, int64_t nanoseconds, double* measured = nullptr) {
    AdvanceManualClock(nanoseconds);
    double dt = MeasureTimeStep();
    if (measured) *measured = dt;
    list.Clear();
    return SimulateShowFrame(dt, list, nullptr);
}

// Past the warm-up, with a counter clock.
void StartClock(DrawList& list) {
    UseManualClock(ManualTime());
    RunFrame(list, FRAME);
    RunFrame(list, FRAME);
}

}  // namespace

TEST_F(SimTest, FramesUpToOneSecondAreMeasuredAsTheyAreAndLongerOnesAsOneSecond) {
    StartClock(list);
    const int64_t lengths[4] = {750000000, 1000000000, 10 * MINUTE, FRAME};
    const double measured[4] = {0.75, 1.0, 1.0, 1.0 / 60};
    double showTime = g_showTime;
    for (int i = 0; i < 4; ++i) {
        double dt = 0;
        RunFrame(list, lengths[i], &dt);
        // After the long frame the next measures only itself: the lost minutes are not owed.
        EXPECT_NEAR(measured[i], dt, 1e-9) << i;
        showTime += dt;
        EXPECT_EQ(showTime, g_showTime);
    }
}

TEST_F(SimTest, WrappedMillisecondClockMeasuresZeroAndCarriesOn) {
    g_settings.displayTitle = 0;
    ManualTime t;
    t.counterAvailable = false;
    UseManualClock(t);
    g_manualTime.millis = 5000;
    MeasureTimeStep();
    MeasureTimeStep();
    uint32_t start = g_frameClock.startMillis;
    // Jump to just before the elapsed count wraps; that frame is long and clamped.
    g_manualTime.millis = start + 0xFFFFFFFFull - 20;
    EXPECT_EQ(1.0, MeasureTimeStep());
    g_manualTime.millis += 16;
    EXPECT_NEAR(0.016, MeasureTimeStep(), 1e-6);  // a difference of two readings near 2^32 ms
    g_manualTime.millis += 16;  // elapsed passes 2^32 ms and reads near zero again
    double dt = MeasureTimeStep();
    EXPECT_EQ(0.0, dt);
    SimulateShowFrame(dt, list, nullptr);
    g_manualTime.millis += 17;
    EXPECT_NEAR(0.017, MeasureTimeStep(), 1e-9);
}

TEST_F(SimTest, FrameOfZeroMovesAndAgesNothingButStillRuns) {
    g_settings.displayTitle = 0;
    g_settings.frequency = 60;
    SimulateShowFrame(0, list, nullptr);
    ASSERT_EQ(SHOW_MAIN_STAGE, g_introStage);
    for (int frame = 0; frame < 300; ++frame) {
        list.Clear();
        SimulateShowFrame(1.0 / 60, list, nullptr);
    }
    std::map<int, Firework> before;
    for (int slot : OccupiedSlots()) before.emplace(slot, *g_fireworkPool.slots[slot]);
    double showTime = g_showTime;
    list.Clear();
    SimulateShowFrame(0, list, nullptr);
    EXPECT_EQ(showTime, g_showTime);
    EXPECT_GT(list.VertexCount(), 0);
    EXPECT_TRUE(AllRecordsFinite());
    int compared = 0;
    for (int slot : OccupiedSlots()) {
        const Firework& now = *g_fireworkPool.slots[slot];
        auto found = before.find(slot);
        if (found == before.end() || found->second.randomId != now.randomId) continue;
        const Firework& was = found->second;
        ++compared;
        ASSERT_TRUE(was.position.x == now.position.x && was.position.z == now.position.z);
        ASSERT_TRUE(was.velocity.x == now.velocity.x && was.velocity.z == now.velocity.z);
        ASSERT_TRUE(was.fadeLeft == now.fadeLeft && (was.holdTime <= 0 || was.holdTime == now.holdTime));
    }
    EXPECT_GT(compared, 100);
}

TEST_F(SimTest, TenMinuteFrameInAFullShowMakesNoStormAndNoNonsense) {
    g_settings.frequency = 60;
    StartClock(list);
    for (int frame = 0; frame < 60 * 60; ++frame) RunFrame(list, FRAME);  // a minute of show
    ASSERT_EQ(SHOW_MAIN_STAGE, g_introStage);
    int before = CountLiveFireworks();
    ASSERT_GT(before, 100);

    ShowFrameResult result = RunFrame(list, 10 * MINUTE);
    EXPECT_LE(result.launched, 2);
    EXPECT_TRUE(AllRecordsFinite());
    // Trails emitted for one second, not ten minutes: no emitter is older than its short life,
    // and the pool is far from the ten thousand records a replayed gap would have made.
    for (int slot : OccupiedSlots()) ASSERT_LT(g_fireworkPool.slots[slot]->trailAge, 30.0);
    EXPECT_LT(CountLiveFireworks(), before + 2500);

    // The show goes on as before.
    int launches = 0;
    for (int frame = 0; frame < 60 * 60; ++frame) {
        launches += RunFrame(list, FRAME).launched;
        ASSERT_LE(CountLiveFireworks(), 9000);
    }
    EXPECT_TRUE(AllRecordsFinite());
    EXPECT_GE(launches, 40);
    EXPECT_LE(launches, 80);
}
