#include "engine/show.h"

#include "engine/frame_clock.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "settings/settings.h"

int32_t g_warmupFrames = 2;
double g_lastClockReading = 0;
double g_showTime = 0;
int32_t g_introStage = 0;
int32_t g_launchCount = 0;

void ResetShow() {
    g_warmupFrames = 2;
    g_lastClockReading = 0;
    g_showTime = 0;
    g_introStage = 0;
    g_launchCount = 0;
}

double MeasureTimeStep() {
    // The first frames restart the clock, so context creation and sizing are not simulated.
    if (g_warmupFrames > 0) {
        --g_warmupFrames;
        g_frameClock.Restart();
        g_lastClockReading = g_frameClock.Elapsed();
    }
    double dt = g_frameClock.Elapsed() - g_lastClockReading;
    g_lastClockReading = g_frameClock.Elapsed();
    // A wrapped millisecond count reads as a step backwards; time never runs backwards in the show.
    if (!(dt >= 0)) return 0;
    return dt > SHOW_LONGEST_TIME_STEP ? SHOW_LONGEST_TIME_STEP : dt;
}

void AdvanceShowTime(double dt) {
    g_showTime = g_showTime + dt;
}

// The opening show's stages, each as (position ; velocity) pairs.
static void FireOpeningStage(int stage) {
    static const Vec3 positions[4][5] = {
        {{0, 0, 40}},
        {{-10, 0, 40}, {10, 0, 40}},
        {{-20, 0, 40}, {20, 0, 40}},
        {{-20, 0, 38}, {-10, 0, 42}, {0, 0, 40}, {10, 0, 38}, {20, 0, 40}},
    };
    static const double velocitiesX[4][5] = {{0}, {-20, 20}, {-40, 40}, {-40, -20, 0, 20, 40}};
    static const int counts[4] = {1, 2, 2, 5};
    for (int i = 0; i < counts[stage]; ++i)
        OpeningBurst(positions[stage][i], Vec3(velocitiesX[stage][i], 0, 0));
}

bool RunOpeningShow() {
    static const double stageTimes[4] = {1.0, 1.3, 1.6, 5.0};
    for (int stage = 0; stage < 4; ++stage) {
        if (g_showTime > stageTimes[stage] && g_introStage < stage + 1) {
            g_introStage = stage + 1;
            FireOpeningStage(stage);
        }
    }
    if (g_showTime > 6.0 || g_settings.displayTitle == 0) {
        g_showTime = 0.0001;
        g_introStage = SHOW_MAIN_STAGE;
        return false;
    }
    return g_showTime > 1.0 && g_showTime < 6.0;
}

void BurstPass(BurstTally* tally) {
    for (Firework*& slot : g_fireworkPool.slots) {
        Firework* firework = slot;
        if (!firework || !firework->IsDead()) continue;
        if (firework->IsBurstDue()) {
            DispatchBurst(*firework);
            int kind = firework->GetBurstKind();
            if (tally && kind >= 0 && kind < BURST_KIND_COUNT) ++tally->byKind[kind];
        }
        delete firework;
        slot = nullptr;
    }
}

void DispatchBurst(Firework& shell) {
    switch (shell.GetBurstKind()) {
    case BURST_SPHERICAL:
        SphericalBurst(shell.GetDrawPosition(), shell.GetVelocity(), COLOR_STEADY);
        break;
    case BURST_WEEPING_WILLOW: {
        Vec3 first = RandomBurstColor() * 0.5;
        Vec3 second = RandomBurstColor() * 0.5;
        const Vec3 colors[2] = {first, second};
        WillowBurst(shell.GetDrawPosition(), shell.GetVelocity(), colors, false);
        break;
    }
    case BURST_BLAST:
        BlastBurst(shell.GetDrawPosition(), shell.GetVelocity(), false);
        break;
    case BURST_SPARKLING:
        SphericalBurst(shell.GetDrawPosition(), shell.GetVelocity(), COLOR_FLICKER);
        break;
    case BURST_CHAIN_REACTION:
        ChainReactionBurst(shell.GetDrawPosition(), shell.GetVelocity());
        break;
    case BURST_SMALL_BLAST:
        BlastBurst(shell.GetDrawPosition(), shell.GetVelocity(), true);
        break;
    case BURST_WAVER:
        WaverBurst(shell.GetDrawPosition(), shell.GetVelocity());
        break;
    case BURST_CORK_SCREW: {
        shell.EmitTrailSpark();
        const Vec3 colors[2] = {shell.GetColor(), shell.secondColor};
        CorkScrewBurst(shell.GetDrawPosition(), shell.GetVelocity(), colors);
        break;
    }
    default:
        break;
    }
}

void UpdatePass(double dt) {
    for (Firework* firework : g_fireworkPool.slots)
        if (firework) firework->Update(dt);
}

void DrawPass(DrawList& list) {
    for (Firework* firework : g_fireworkPool.slots)
        if (firework) firework->Draw(list);
}

ShowFrameResult SimulateShowFrame(double dt, DrawList& list, BurstTally* tally) {
    ShowFrameResult result = {false, 0};
    AdvanceShowTime(dt);
    if (g_introStage < 5) result.titleShown = RunOpeningShow();
    if (g_introStage == SHOW_MAIN_STAGE) result.launched = RunLaunchScheduler();
    BurstPass(tally);
    UpdatePass(dt);
    DrawPass(list);
    return result;
}
