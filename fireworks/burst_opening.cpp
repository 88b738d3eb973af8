#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// The opening show's one-coloured spray: a lighter Blast with no closing volley.
void OpeningBurst(FireworkWorld& world, Vec3 position, Vec3 velocity) {
    double fpm = world.launchRate;
    double maxSpeed = 50 + 170 * world.NextRandom();
    Vec3 color = RandomBurstColor(world);
    double timeOffset = fpm * -0.008333333333333333;
    int count = int(200 + 100 * world.NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * world.NextRandom();
        double speed = world.NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(world, position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15 + 0.1 * world.NextRandom());
        double hold = timeOffset + world.NextRandom();
        double fade = 1 + world.NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
}
