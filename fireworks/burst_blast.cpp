#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/random_table.h"

// A fast spray of rocket streaks; the small form pops Chain Reaction shells.
void BlastBurst(Vec3 position, Vec3 velocity, bool small) {
    double fpm = BurstLaunchRate();
    double maxSpeed = 50 + 170 * NextRandom();
    if (small) maxSpeed = 0.5 * maxSpeed;
    double timeOffset = 0.5 + NextRandom() - fpm / 60;
    if (small) timeOffset = timeOffset * 0.6666666666666666;
    bool twoColors = Rand() % 2 == 1;
    Vec3 first = RandomBurstColor();
    Vec3 second = RandomBurstColor();
    int count = int(300 + 100 * NextRandom());
    if (small) count = count / 4;

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * NextRandom();
        double speed = NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15 + 0.1 * NextRandom());
        const Vec3& color = twoColors && Rand() % 2 == 1 ? second : first;
        double hold = timeOffset + 0.02 * maxSpeed * NextRandom();
        double fade = 1 + 2 * NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
    ClosingVolley(position, velocity, maxSpeed, timeOffset, first);
}
