#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/random_table.h"

// Slow particles that shed long-lived trail sparks; the corkscrew form is faster with short trails.
void WillowBurst(Vec3 position, Vec3 velocity, const Vec3 colors[2], bool corkscrew) {
    double fpm = BurstLaunchRate();
    double maxSpeed = 10 + 20 * NextRandom();
    double timeOffset = 0.5 + NextRandom() - fpm / 60;
    int count = int((NextRandom() + 1) * 30);
    if (corkscrew) {
        timeOffset = NextRandom();
        count = int(55 + 30 * NextRandom());
    }

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * NextRandom();
        double speed = NextRandom() * maxSpeed;
        if (corkscrew) speed = speed * 2;
        Firework* particle = SpawnBurstParticle(position, velocity, angle, speed, FF_TRAIL | FF_ROCKET);
        if (!particle) return;
        particle->SetHeading(angle, 10.0);
        particle->SetDrag(0.05);
        const Vec3& color = colors[Rand() % 2];
        double holdFactor = corkscrew ? 0.01 : 0.02;
        double hold = timeOffset + holdFactor * maxSpeed * NextRandom();
        double fade = 1 + 2 * NextRandom();
        particle->SetColor(color, hold, fade, COLOR_STEADY);
        if (corkscrew) {
            particle->SetTrail(color, 6.0, 0.2, 0.4);
        } else {
            double sparkHold = 2 + NextRandom();
            particle->SetTrail(color, 6.0, sparkHold, 1.0);
        }
        particle->EmitTrailSpark();
    }
}

void CorkScrewBurst(Vec3 position, Vec3 velocity, const Vec3 colors[2]) {
    WillowBurst(position, velocity, colors, true);
}
