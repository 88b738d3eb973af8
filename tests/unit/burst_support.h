#pragma once
// Helpers for burst tests: replaying the random streams and reading what a burst made.
#include <cmath>
#include <cstdint>
#include <vector>

#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"

// Puts both random streams at a known point, so a test can take the same draws a burst will.
inline void RewindStreams(uint32_t seed, int cursor) {
    SeedRand(seed);
    g_randomTable.cursor = cursor;
}

// The records in the given slots, in slot order (the order a burst on an empty pool made them).
inline std::vector<Firework*> RecordsIn(const std::vector<int>& slots) {
    std::vector<Firework*> records;
    for (int slot : slots) records.push_back(g_fireworkPool.slots[slot]);
    return records;
}

// How fast a particle leaves the burst point, relative to its parent, in the x-z plane.
inline double LaunchSpeed(const Firework& f, const Vec3& parent) {
    return std::hypot(f.velocity.x - parent.x, f.velocity.z - parent.z);
}

// True when the particle's launch offset points along its heading.
inline bool LeavesAlongHeading(const Firework& f, const Vec3& parent) {
    double dx = f.velocity.x - parent.x, dz = f.velocity.z - parent.z;
    double speed = std::hypot(dx, dz);
    if (speed < 1e-9) return true;
    return std::fabs(dx - speed * std::cos(f.heading)) < 1e-9 && std::fabs(dz - speed * std::sin(f.heading)) < 1e-9;
}

inline bool SameColor(const Vec3& a, const Vec3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}

// How far angle lies ahead of base, going forward round the circle, in [0, 6.28318).
inline double AheadOf(double angle, double base) {
    double ahead = std::fmod(angle - base, 6.28318);
    return ahead < 0 ? ahead + 6.28318 : ahead;
}
