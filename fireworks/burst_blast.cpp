#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// A fast spray of rocket streaks; the small form pops Chain Reaction shells.
void BlastBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, bool small) {
    double fpm = world.launchRate;
    double maxSpeed = 50 + 170 * world.NextRandom();
    if (small) maxSpeed = 0.5 * maxSpeed;
    double timeOffset = 0.5 + world.NextRandom() - fpm / 60;
    if (small) timeOffset = timeOffset * 0.6666666666666666;
    bool twoColors = world.Rand() % 2 == 1;
    Vec3 first = RandomBurstColor(world);
    Vec3 second = RandomBurstColor(world);
    int count = int(300 + 100 * world.NextRandom());
    if (small) count = count / 4;

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * world.NextRandom();
        double speed = world.NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(world, position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15 + 0.1 * world.NextRandom());
        const Vec3& color = twoColors && world.Rand() % 2 == 1 ? second : first;
        double hold = timeOffset + 0.02 * maxSpeed * world.NextRandom();
        double fade = 1 + 2 * world.NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
    ClosingVolley(world, position, velocity, maxSpeed, timeOffset, first);
}
