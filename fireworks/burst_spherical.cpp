#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/random_table.h"

// A dense disc of stars under light gravity; with COLOR_FLICKER the Sparkling variant.
void SphericalBurst(Vec3 position, Vec3 velocity, int colorMode) {
    double fpm = BurstLaunchRate();
    double maxSpeed = 40 + 50 * NextRandom();
    double timeOffset = 1 + NextRandom() - fpm / 60;
    double drag = 0.13 + 0.1 * NextRandom();
    bool twoColors = Rand() % 2 == 1;
    Vec3 first = RandomBurstColor();
    Vec3 second = RandomBurstColor();
    int count = int(300 + 100 * NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * NextRandom();
        double speed = NextRandom() * maxSpeed;
        Firework* star = SpawnBurstParticle(position, velocity, angle, speed, FF_STAR);
        if (!star) return;
        star->SetGravityScale(0.7);
        star->SetDrag(drag);
        const Vec3& color = twoColors && Rand() % 2 == 1 ? second : first;
        double hold = timeOffset + 0.02 * maxSpeed * NextRandom();
        double fade = 1 + 2 * NextRandom();
        star->SetColor(color, hold, fade, colorMode);
        star->starSize = 0.08 + 0.04 * NextRandom();
    }
    ClosingVolley(position, velocity, maxSpeed, timeOffset, first);
}
