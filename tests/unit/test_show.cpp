#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "tests/unit/show_support.h"

namespace {

class ShowTest : public ::testing::Test {
protected:
    // A show as a window starts it, on the stepped clock, past the two warm-up frames.
    void Start(const Settings& settings = Settings(), FrameClock clock = FrameClock()) {
        show.clock = clock;
        show.Init(12345, settings);
        Frame(0);
        Frame(0);
    }
    ShowFrameResult Frame(double seconds) {
        show.clock.Step(seconds);
        return show.Step();
    }
    void StartMainShow(uint32_t frequency) {
        show.settings.frequency = frequency;
        show.introStage = SHOW_MAIN_STAGE;
        show.showTime = 0.0001;
        show.launchCount = 0;
    }
    Show show;
};

}  // namespace

// The title shows strictly between 1 and 6 s; the main show starts on the first frame past 6 s.
TEST_F(ShowTest, OpeningShowFiresItsFourStagesOnTimeShowsTheTitleAndLaunchesNothing) {
    Start();
    const double stageTimes[4] = {1.0, 1.3, 1.6, 5.0};
    int stages = 0;
    while (show.introStage != SHOW_MAIN_STAGE) {
        double before = show.showTime;
        int stage = show.introStage;
        ShowFrameResult frame = Frame(0.01);
        if (show.introStage == SHOW_MAIN_STAGE) {
            EXPECT_TRUE(before <= 6.0 && before + 0.01 > 6.0) << before;
            EXPECT_EQ(0.0001, show.showTime);
            break;
        }
        ASSERT_EQ(0, frame.launched);
        EXPECT_EQ(show.showTime > 1.0 && show.showTime < 6.0, frame.titleShown) << show.showTime;
        if (show.introStage == stage) continue;
        EXPECT_EQ(stage + 1, show.introStage);
        EXPECT_TRUE(before <= stageTimes[stage] && show.showTime > stageTimes[stage]) << show.showTime;
        ++stages;
    }
    EXPECT_EQ(4, stages);
}

namespace {

// The scheduler alone at 60 frames a second, the shells removed as they are made. Returns the most
// launches seen in ten seconds; counts launches made in frames that began at or above the target.
int RunScheduler(Show& show, double seconds, int* launchesAboveTarget = nullptr) {
    double target = show.settings.frequency / 60.0;
    int most = 0, windowStart = show.launchCount;
    for (long frame = 1; frame <= std::lround(seconds * 60); ++frame) {
        show.showTime += 1.0 / 60;
        bool above = show.launchCount / show.showTime >= target;
        int launched = show.RunLaunchScheduler();
        if (above && launchesAboveTarget) *launchesAboveTarget += launched;
        if (launched) show.world.pool.DeleteAll();
        if (frame % 600 == 0) {
            most = std::max(most, show.launchCount - windowStart);
            windowStart = show.launchCount;
        }
    }
    return most;
}

}  // namespace

// A launch attempt on a full pool counts and takes only the scheduler's own draws, so ten minutes of
// a full pool owe no launches afterwards; a Cork Screw with no room for its companion flies alone
// with a black second colour.
TEST_F(ShowTest, AFullPoolThinsLaunchesWithoutABacklog) {
    Start();
    StartMainShow(60);
    FillPool(show.world, 0);
    int cursor = show.world.randomTable.cursor;
    EXPECT_EQ(0, show.RunLaunchScheduler());
    EXPECT_EQ(1, show.launchCount);
    EXPECT_EQ(cursor + 2, show.world.randomTable.cursor);
    StartMainShow(30);
    RunScheduler(show, 600);
    show.world.pool.DeleteAll();
    EXPECT_LE(RunScheduler(show, 10), 10);
    FillPool(show.world, 0);

    show.settings.sphericalWeight = show.settings.blastWeight = show.settings.weepingWillowWeight = 0;
    show.settings.sparklingWeight = show.settings.chainReactionWeight = show.settings.waverWeight = 0;
    StartMainShow(60);
    delete show.world.pool.slots[POOL_SIZE - 1];
    show.world.pool.slots[POOL_SIZE - 1] = nullptr;
    EXPECT_EQ(1, show.RunLaunchScheduler());
    const Firework* alone = show.world.pool.slots[POOL_SIZE - 1];
    EXPECT_EQ(BURST_CORK_SCREW, alone->burstKind);
    EXPECT_EQ(0.0, alone->secondColor.x + alone->secondColor.y + alone->secondColor.z);
}

// Each frame tests once more than it launches, so the mean settles about 1.6 % below F / 60; after
// two simulated hours its spread is under 0.3 %. A scheduler off by a few percent fails the band.
TEST_F(ShowTest, LongRunLaunchRateSettlesJustBelowTheTargetWithoutBunching) {
    for (uint32_t frequency : {10u, 30u, 60u}) {
        SCOPED_TRACE(testing::Message() << "frequency " << frequency);
        Start();
        StartMainShow(frequency);
        int aboveTarget = 0;
        int most = RunScheduler(show, 7200, &aboveTarget);
        double target = frequency / 60.0, rate = show.launchCount / show.showTime;
        EXPECT_TRUE(rate < target && rate > 0.97 * target) << rate;
        EXPECT_EQ(0, aboveTarget);
        EXPECT_LE(most, 20 * target + 6);
    }
}

// Without a counter the clock reads milliseconds; a long frame is simulated as one second, and a
// 32-bit count that wraps reads as a step backwards, taken as nothing.
TEST_F(ShowTest, AMillisecondClockThatWrapsMeasuresNothingAndCarriesOn) {
    Start(Settings(), FrameClock(false));
    EXPECT_FALSE(show.clock.UsesCounter());
    EXPECT_NEAR(0.016, Frame(0.016).dt, 1e-12);
    Frame(4294967.295 - 0.020 - 0.016);  // just short of the 32-bit millisecond wrap, clamped
    EXPECT_NEAR(0.016, Frame(0.016).dt, 1e-6);
    EXPECT_EQ(0.0, Frame(0.016).dt);  // the count passed 2^32 ms and reads near zero again
    EXPECT_NEAR(0.017, Frame(0.017).dt, 1e-9);
}
