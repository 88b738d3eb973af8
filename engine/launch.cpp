#include "engine/show.h"
#include "fireworks/angles.h"
#include "fireworks/burst.h"

// What a launch decides before the burst kind is chosen; the Cork Screw companion repeats it.
struct LaunchPlan {
    double x;
    double heading;
    double thrust;
    double burnTime;
    bool highBurst;
    double burstHeight;
};

static Firework* CreateShell(FireworkWorld& world, int slot, const LaunchPlan& plan, int flags) {
    return world.Create(slot, Vec3(plan.x, 0, 0), Vec3(0, 0, 1), flags);
}

// The second shell of a Cork Screw: same path, its swing a third of a cycle ahead.
static void LaunchCompanion(FireworkWorld& world, Firework& shell, const LaunchPlan& plan) {
    int slot = world.pool.FindFreeSlot();
    if (slot == -1) return;
    Vec3 color = RandomBurstColor(world);
    Firework* companion = CreateShell(world, slot, plan, FF_TRAIL);
    if (!companion) return;
    companion->EnableCorkscrew(0.25, 2.094393333333333, 1.0);
    companion->SetHeading(plan.heading, 10.0);
    companion->SetThrust(plan.thrust, plan.burnTime);
    companion->SetColor(color * 0.5, 10.0, 2.0, COLOR_STEADY);
    double sparkHold = world.NextRandom() * 0.5;
    companion->SetTrail(color * 0.5, 30.0, sparkHold, 0.4);
    companion->SetBurstAtApex();
    if (plan.highBurst) companion->SetBurstHeight(plan.burstHeight);
    companion->flipTrailOffset = 1;
    shell.secondColor = color;
}

static void ApplyBurstKind(FireworkWorld& world, const Settings& settings, Firework& shell, const Vec3& color,
                           const LaunchPlan& plan) {
    const uint32_t weights[7] = {settings.sphericalWeight,     settings.blastWeight,
                                 settings.weepingWillowWeight, settings.sparklingWeight,
                                 settings.chainReactionWeight, settings.corkScrewWeight,
                                 settings.waverWeight};
    uint32_t total = 0;
    for (uint32_t weight : weights) total += weight;
    if (total == 0) {
        shell.SetBurstKind(BURST_SPHERICAL);
        return;
    }
    uint32_t k = uint32_t(world.Rand()) % total;
    int choice = 0;
    while (k >= weights[choice]) k -= weights[choice++];

    Vec3 half = color * 0.5;
    switch (choice) {
    case 0:
        shell.SetBurstKind(BURST_SPHERICAL);
        break;
    case 1:
        shell.SetBurstKind(BURST_BLAST);
        break;
    case 2:
        shell.SetBurstKind(BURST_WEEPING_WILLOW);
        break;
    case 3:
        shell.SetBurstKind(BURST_SPARKLING);
        break;
    case 4:
        shell.SetFlags(FF_TRAIL + FF_ROCKET);
        shell.SetColor(half, 10.0, 2.0, COLOR_STEADY);
        shell.SetTrail(half, 20.0, 0.0, 0.4);
        shell.SetBurstKind(BURST_CHAIN_REACTION);
        break;
    case 5: {
        shell.SetFlags(FF_TRAIL);
        shell.EnableCorkscrew(0.25, 0.0, 1.0);
        shell.SetColor(half, 10.0, 2.0, COLOR_STEADY);
        double sparkHold = world.NextRandom() * 0.5;
        shell.SetTrail(half, 30.0, sparkHold, 0.4);
        shell.SetBurstKind(BURST_CORK_SCREW);
        shell.flipTrailOffset = 1;
        LaunchCompanion(world, shell, plan);
        break;
    }
    default: {
        shell.SetFlags(FF_STAR + FF_TRAIL);
        double phase = world.NextRandom() * ANGLE_FULL_TURN;
        double radius = (world.NextRandom() + 1) * 0.25;
        shell.EnableCorkscrew(radius, phase, 0.5);
        shell.SetColor(half, 10.0, 2.0, COLOR_STEADY);
        double sparkHold = (world.NextRandom() + 1) * 0.5;
        shell.SetTrail(half, 30.0, sparkHold, 0.4);
        shell.flipTrailOffset = 1;
        shell.SetBurstKind(BURST_WAVER);
        break;
    }
    }
}

// One launch attempt; it counts even when the pool is full.
bool Show::LaunchShell() {
    ++launchCount;
    int slot = world.pool.FindFreeSlot();
    if (slot == -1) return false;

    LaunchPlan plan;
    plan.x = (world.NextRandom() - 0.5) * 80;
    Vec3 color = RandomBurstColor(world);
    plan.heading = ((world.NextRandom() - 0.5) + 0.01 * plan.x) * 0.15 + ANGLE_QUARTER_TURN;
    Firework* shell = CreateShell(world, slot, plan, FF_ROCKET);
    if (!shell) return false;
    shell->SetHeading(plan.heading, 10.0);
    plan.thrust = world.NextRandom() * 10 + 20;
    double early = world.NextRandom();
    double late = world.NextRandom();
    plan.burnTime = early + (5.2 - plan.thrust * 0.14285714285714285) - late * 0.5;
    shell->SetThrust(plan.thrust, plan.burnTime);
    shell->SetColor(color, 10.0, 2.0, COLOR_STEADY);
    shell->SetBurstAtApex();
    plan.highBurst = world.Rand() % 3 == 0;
    plan.burstHeight = world.NextRandom() * 50 + 10;
    if (plan.highBurst) shell->SetBurstHeight(plan.burstHeight);
    ApplyBurstKind(world, settings, *shell, color, plan);
    return true;
}

int Show::RunLaunchScheduler() {
    double target = settings.frequency * 0.016666666666666666;
    int launched = 0;
    // The mean rate so far, plus a random margin, decides whether another shell goes up.
    while (double(launchCount) / showTime + world.NextRandom() < target) {
        if (LaunchShell()) ++launched;
    }
    return launched;
}
