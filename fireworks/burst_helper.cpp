#include <cmath>

#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

// Each component takes a draw of its own, red before green before blue.
Vec3 RandomBurstColor(FireworkWorld& world) {
    switch (world.Rand() % 7) {
    case 0: {
        double red = 0.8 + 0.2 * world.NextRandom();
        double green = 0.8 + 0.2 * world.NextRandom();
        return Vec3(red, green, 0.2);
    }
    case 1: {
        double green = 0.8 + 0.2 * world.NextRandom();
        double blue = 0.8 + 0.2 * world.NextRandom();
        return Vec3(0.2, green, blue);
    }
    case 2: {
        double red = 0.8 + 0.2 * world.NextRandom();
        double blue = 0.8 + 0.2 * world.NextRandom();
        return Vec3(red, 0.2, blue);
    }
    case 3: {
        double red = 0.9 + 0.1 * world.NextRandom();
        double green = 0.3 + 0.15 * world.NextRandom();
        double blue = 0.3 + 0.15 * world.NextRandom();
        return Vec3(red, green, blue);
    }
    case 4: {
        double red = 0.3 + 0.2 * world.NextRandom();
        double green = 0.8 + 0.2 * world.NextRandom();
        double blue = 0.3 + 0.2 * world.NextRandom();
        return Vec3(red, green, blue);
    }
    case 5: {
        double red = 0.3 + 0.2 * world.NextRandom();
        double green = 0.3 + 0.2 * world.NextRandom();
        double blue = 0.8 + 0.2 * world.NextRandom();
        return Vec3(red, green, blue);
    }
    default: {
        double red = 0.9 + 0.1 * world.NextRandom();
        double green = 0.45 + 0.1 * world.NextRandom();
        double blue = 0.15 + 0.1 * world.NextRandom();
        return Vec3(red, green, blue);
    }
    }
}

Firework* SpawnBurstParticle(FireworkWorld& world, const Vec3& position, const Vec3& parentVelocity, double angle, double speed,
                             int flags) {
    int slot = world.pool.FindFreeSlot();
    if (slot == -1) return nullptr;
    Vec3 velocity(parentVelocity.x + speed * std::cos(angle), parentVelocity.y,
                  parentVelocity.z + speed * std::sin(angle));
    return world.Create(slot, position, velocity, flags);
}

double NextEvenAngle(FireworkWorld& world, double& phi, int count) {
    phi = phi + ANGLE_FULL_TURN / count;
    if (phi > ANGLE_FULL_TURN) phi = phi - ANGLE_FULL_TURN;
    return phi + 5 * world.NextRandom() / count;
}

void ClosingVolley(FireworkWorld& world, const Vec3& position, const Vec3& velocity, double maxSpeed,
                   double timeOffset, const Vec3& color) {
    if (world.Rand() % 2 != 0) return;
    for (int i = 0; i < 10; ++i) {
        double angle = ANGLE_FULL_TURN * world.NextRandom();
        double speed = world.NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(world, position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15);
        double hold = timeOffset + 0.02 * maxSpeed * world.NextRandom();
        double fade = 1 + 2 * world.NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
}
