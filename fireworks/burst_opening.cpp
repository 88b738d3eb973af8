#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/random_table.h"

// The opening show's one-coloured spray: a lighter Blast with no closing volley.
void OpeningBurst(Vec3 position, Vec3 velocity) {
    double fpm = BurstLaunchRate();
    double maxSpeed = 50 + 170 * NextRandom();
    Vec3 color = RandomBurstColor();
    double timeOffset = fpm * -0.008333333333333333;
    int count = int(200 + 100 * NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * NextRandom();
        double speed = NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15 + 0.1 * NextRandom());
        double hold = timeOffset + NextRandom();
        double fade = 1 + NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
}
