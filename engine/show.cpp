#include "engine/show.h"

#include "fireworks/burst.h"

void Show::Init(uint32_t seed, const Settings& runWith) {
    settings = runWith;
    world.pool.DeleteAll();
    world.pool.nextSlotCursor = 0;
    world.randomTable.cursor = 0;
    world.launchRate = double(settings.frequency);
    world.SeedRand(seed);
    world.FillRandomTable();
    stars.Destroy();
    width = height = 0;
    showBorder = showFrameRate = false;
    warmupFrames = 2;
    lastClockReading = 0;
    showTime = 0;
    introStage = 0;
    launchCount = 0;
    clock.Restart();
}

void Show::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    int count = (height / 60) * (width / 60) * int(settings.stars);
    bool twilight = settings.twilightSky != 0;
    stars.Build(world, width, height, count, twilight, twilight ? height : 0);
}

bool Show::HoldOverlayKey(SaverWParam key, bool down) {
    if (key == SAVER_VK_F1 && settings.f1DisplaysWindowBorder != 0) {
        showBorder = down;
        return true;
    }
    if (key == SAVER_VK_F2 && settings.f2DisplaysFrameRate != 0) {
        showFrameRate = down;
        return true;
    }
    return false;
}

void Show::Destroy() {
    world.pool.DeleteAll();
    stars.Destroy();
}

double Show::MeasureTimeStep() {
    // The first frames restart the clock, so context creation and sizing are not simulated.
    if (warmupFrames > 0) {
        --warmupFrames;
        clock.Restart();
        lastClockReading = clock.Elapsed();
    }
    double dt = clock.Elapsed() - lastClockReading;
    lastClockReading = clock.Elapsed();
    // A wrapped millisecond count reads as a step backwards; time never runs backwards in the show.
    if (!(dt >= 0)) return 0;
    return dt > SHOW_LONGEST_TIME_STEP ? SHOW_LONGEST_TIME_STEP : dt;
}

// The opening show's stages, each as (position ; velocity) pairs.
static void FireOpeningStage(FireworkWorld& world, int stage) {
    static const Vec3 positions[4][5] = {
        {{0, 0, 40}},
        {{-10, 0, 40}, {10, 0, 40}},
        {{-20, 0, 40}, {20, 0, 40}},
        {{-20, 0, 38}, {-10, 0, 42}, {0, 0, 40}, {10, 0, 38}, {20, 0, 40}},
    };
    static const double velocitiesX[4][5] = {{0}, {-20, 20}, {-40, 40}, {-40, -20, 0, 20, 40}};
    static const int counts[4] = {1, 2, 2, 5};
    for (int i = 0; i < counts[stage]; ++i)
        OpeningBurst(world, positions[stage][i], Vec3(velocitiesX[stage][i], 0, 0));
}

bool Show::RunOpeningShow() {
    static const double stageTimes[4] = {1.0, 1.3, 1.6, 5.0};
    for (int stage = 0; stage < 4; ++stage) {
        if (showTime > stageTimes[stage] && introStage < stage + 1) {
            introStage = stage + 1;
            FireOpeningStage(world, stage);
        }
    }
    if (showTime > 6.0 || settings.displayTitle == 0) {
        showTime = 0.0001;
        introStage = SHOW_MAIN_STAGE;
        return false;
    }
    return showTime > 1.0 && showTime < 6.0;
}

void Show::BurstPass(BurstTally* tally) {
    for (Firework*& slot : world.pool.slots) {
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

void Show::DispatchBurst(Firework& shell) {
    switch (shell.GetBurstKind()) {
    case BURST_SPHERICAL:
        SphericalBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), COLOR_STEADY);
        break;
    case BURST_WEEPING_WILLOW: {
        Vec3 first = RandomBurstColor(world) * 0.5;
        Vec3 second = RandomBurstColor(world) * 0.5;
        const Vec3 colors[2] = {first, second};
        WillowBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), colors, false);
        break;
    }
    case BURST_BLAST:
        BlastBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), false);
        break;
    case BURST_SPARKLING:
        SphericalBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), COLOR_FLICKER);
        break;
    case BURST_CHAIN_REACTION:
        ChainReactionBurst(world, shell.GetDrawPosition(), shell.GetVelocity());
        break;
    case BURST_SMALL_BLAST:
        BlastBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), true);
        break;
    case BURST_WAVER:
        WaverBurst(world, shell.GetDrawPosition(), shell.GetVelocity());
        break;
    case BURST_CORK_SCREW: {
        shell.EmitTrailSpark(world);
        const Vec3 colors[2] = {shell.GetColor(), shell.secondColor};
        CorkScrewBurst(world, shell.GetDrawPosition(), shell.GetVelocity(), colors);
        break;
    }
    default:
        break;
    }
}

void Show::UpdatePass(double dt) {
    for (Firework* firework : world.pool.slots)
        if (firework) firework->Update(world, dt);
}

void Show::DrawPass() {
    for (Firework* firework : world.pool.slots)
        if (firework) firework->Draw(world, drawList);
}

ShowFrameResult Show::Step(BurstTally* tally) {
    ShowFrameResult result = {MeasureTimeStep(), false, 0};
    showTime = showTime + result.dt;
    if (introStage < 5) result.titleShown = RunOpeningShow();
    if (introStage == SHOW_MAIN_STAGE) result.launched = RunLaunchScheduler();
    BurstPass(tally);
    UpdatePass(result.dt);
    drawList.Clear();
    DrawPass();
    return result;
}
