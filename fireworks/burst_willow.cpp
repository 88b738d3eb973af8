#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// Slow particles that shed long-lived trail sparks; the corkscrew form is faster with short trails.
void WillowBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, const Vec3 colors[2], bool corkscrew) {
    double fpm = world.launchRate;
    double maxSpeed = 10 + 20 * world.NextRandom();
    double timeOffset = 0.5 + world.NextRandom() - fpm / 60;
    int count = int((world.NextRandom() + 1) * 30);
    if (corkscrew) {
        timeOffset = world.NextRandom();
        count = int(55 + 30 * world.NextRandom());
    }

    for (int i = 0; i < count; ++i) {
        double angle = ANGLE_FULL_TURN * world.NextRandom();
        double speed = world.NextRandom() * maxSpeed;
        if (corkscrew) speed = speed * 2;
        Firework* particle = SpawnBurstParticle(world, position, velocity, angle, speed, FF_TRAIL | FF_ROCKET);
        if (!particle) return;
        particle->SetHeading(angle, 10.0);
        particle->SetDrag(0.05);
        const Vec3& color = colors[world.Rand() % 2];
        double holdFactor = corkscrew ? 0.01 : 0.02;
        double hold = timeOffset + holdFactor * maxSpeed * world.NextRandom();
        double fade = 1 + 2 * world.NextRandom();
        particle->SetColor(color, hold, fade, COLOR_STEADY);
        if (corkscrew) {
            particle->SetTrail(color, 6.0, 0.2, 0.4);
        } else {
            double sparkHold = 2 + world.NextRandom();
            particle->SetTrail(color, 6.0, sparkHold, 1.0);
        }
        particle->EmitTrailSpark(world);
    }
}

void CorkScrewBurst(FireworkWorld& world, Vec3 position, Vec3 velocity, const Vec3 colors[2]) {
    WillowBurst(world, position, velocity, colors, true);
}
