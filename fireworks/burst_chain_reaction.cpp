#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// A small blast, and at once a ring of fused child shells that pop as small blasts themselves.
void ChainReactionBurst(FireworkWorld& world, Vec3 position, Vec3 velocity) {
    BlastBurst(world, position, velocity, true);

    double fpm = world.launchRate;
    double phi = ANGLE_FULL_TURN * world.NextRandom();
    Vec3 color = RandomBurstColor(world);
    double childHold = 10.0 - fpm * 0.03333333333333333;
    int count = int(2 + 4 * world.NextRandom());

    for (int i = 0; i < count; ++i) {
        double angle = NextEvenAngle(world, phi, count);
        double speed = 40 + 20 * world.NextRandom();
        Firework* child = SpawnBurstParticle(world, position, velocity, angle, speed, FF_TRAIL | FF_ROCKET);
        if (!child) return;
        child->SetHeading(angle, 10.0);
        child->SetDrag(0.02);
        child->SetColor(color, childHold, 2.0, COLOR_STEADY);
        child->SetTrail(color, 20.0, 0.0, 0.5);
        child->SetFuse(0.25 + 0.3 * world.NextRandom());
        child->SetBurstKind(BURST_SMALL_BLAST);
    }
}
