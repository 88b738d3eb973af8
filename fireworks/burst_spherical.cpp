#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// A dense disc of stars under light gravity; with COLOR_FLICKER the Sparkling variant.
void SphericalBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, int colorMode) {
    double fpm = world.launchRate;
    double maxSpeed = 40 + 50 * world.NextRandom();
    double timeOffset = 1 + world.NextRandom() - fpm / 60;
    double drag = 0.13 + 0.1 * world.NextRandom();
    bool twoColors = world.Rand() % 2 == 1;
    Vec3 first = RandomBurstColor(world);
    Vec3 second = RandomBurstColor(world);
    int count = int(300 + 100 * world.NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * world.NextRandom();
        double speed = world.NextRandom() * maxSpeed;
        Firework* star = SpawnBurstParticle(world, position, velocity, angle, speed, FF_STAR);
        if (!star) return;
        star->SetGravityScale(0.7);
        star->SetDrag(drag);
        const Vec3& color = twoColors && world.Rand() % 2 == 1 ? second : first;
        double hold = timeOffset + 0.02 * maxSpeed * world.NextRandom();
        double fade = 1 + 2 * world.NextRandom();
        star->SetColor(color, hold, fade, colorMode);
        star->starSize = 0.08 + 0.04 * world.NextRandom();
    }
    ClosingVolley(world, position, velocity, maxSpeed, timeOffset, first);
}
