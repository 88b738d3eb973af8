#include <cmath>
#include <new>

#include "fireworks/angles.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "settings/settings.h"

// Each component takes a draw of its own, red before green before blue.
Vec3 RandomBurstColor() {
    switch (Rand() % 7) {
    case 0: {
        double red = 0.8 + 0.2 * NextRandom();
        double green = 0.8 + 0.2 * NextRandom();
        return Vec3(red, green, 0.2);
    }
    case 1: {
        double green = 0.8 + 0.2 * NextRandom();
        double blue = 0.8 + 0.2 * NextRandom();
        return Vec3(0.2, green, blue);
    }
    case 2: {
        double red = 0.8 + 0.2 * NextRandom();
        double blue = 0.8 + 0.2 * NextRandom();
        return Vec3(red, 0.2, blue);
    }
    case 3: {
        double red = 0.9 + 0.1 * NextRandom();
        double green = 0.3 + 0.15 * NextRandom();
        double blue = 0.3 + 0.15 * NextRandom();
        return Vec3(red, green, blue);
    }
    case 4: {
        double red = 0.3 + 0.2 * NextRandom();
        double green = 0.8 + 0.2 * NextRandom();
        double blue = 0.3 + 0.2 * NextRandom();
        return Vec3(red, green, blue);
    }
    case 5: {
        double red = 0.3 + 0.2 * NextRandom();
        double green = 0.3 + 0.2 * NextRandom();
        double blue = 0.8 + 0.2 * NextRandom();
        return Vec3(red, green, blue);
    }
    default: {
        double red = 0.9 + 0.1 * NextRandom();
        double green = 0.45 + 0.1 * NextRandom();
        double blue = 0.15 + 0.1 * NextRandom();
        return Vec3(red, green, blue);
    }
    }
}

Firework* SpawnBurstParticle(const Vec3& position, const Vec3& parentVelocity, double angle, double speed,
                             int flags) {
    int slot = FindFreeSlot();
    if (slot == -1) return nullptr;
    Vec3 velocity(parentVelocity.x + speed * std::cos(angle), parentVelocity.y,
                  parentVelocity.z + speed * std::sin(angle));
    Firework* particle = new (std::nothrow) Firework(position, velocity, flags);
    g_fireworkPool.slots[slot] = particle;
    return particle;
}

double NextEvenAngle(double& phi, int count) {
    phi = phi + ANGLE_FULL_TURN / count;
    if (phi > ANGLE_FULL_TURN) phi = phi - ANGLE_FULL_TURN;
    return phi + 5 * NextRandom() / count;
}

void ClosingVolley(const Vec3& position, const Vec3& velocity, double maxSpeed, double timeOffset,
                   const Vec3& color) {
    if (Rand() % 2 != 0) return;
    for (int i = 0; i < 10; ++i) {
        double angle = ANGLE_FULL_TURN * NextRandom();
        double speed = NextRandom() * maxSpeed;
        Firework* spark = SpawnBurstParticle(position, velocity, angle, speed, FF_ROCKET);
        if (!spark) return;
        spark->SetHeading(angle, 10.0);
        spark->SetDrag(0.15);
        double hold = timeOffset + 0.02 * maxSpeed * NextRandom();
        double fade = 1 + 2 * NextRandom();
        spark->SetColor(color, hold, fade, COLOR_STEADY);
    }
}

double BurstLaunchRate() {
    return double(g_settings.frequency);
}
