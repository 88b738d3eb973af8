#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// Evenly spread trailed stars whose drawn positions swing across their flight.
void WaverBurst(FireworkWorld& world, Vec3 position, Vec3 velocity) {
    double fpm = world.launchRate;
    double phi = ANGLE_FULL_TURN * world.NextRandom();
    Vec3 first = RandomBurstColor(world);
    Vec3 second = RandomBurstColor(world);
    double timeOffset = 0.5 - fpm * 0.008333333333333333;
    int count = int(40 + 20 * world.NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = NextEvenAngle(world, phi, count);
        double speed = 5 + 50 * world.NextRandom();
        Firework* star = SpawnBurstParticle(world, position, velocity, angle, speed, FF_STAR | FF_TRAIL);
        if (!star) return;
        double phase = (world.Rand() % 2) * ANGLE_HALF_TURN;
        double rate = 0.2 + 0.3 * world.NextRandom();
        star->EnableCorkscrew(1.0, phase, rate);
        star->SetHeading(angle, 10.0);
        star->SetDrag(0.15);
        const Vec3& color = world.Rand() % 2 == 0 ? first : second;
        double hold = timeOffset + 2 * world.NextRandom();
        star->SetColor(color, hold, 2.0, COLOR_STEADY);
        star->SetTrail(color, 15.0, 0.0, 0.5);
    }
}
