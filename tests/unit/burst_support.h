#pragma once
// Helpers for tests that replay the random streams and read the records a burst or launch made.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include <gtest/gtest.h>

#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "settings/settings.h"
#include "tests/unit/sim_fixture.h"

// Puts both random streams at a known point, so a test can take the same draws a burst will.
inline void RewindStreams(uint32_t seed, int cursor) {
    SeedRand(seed);
    g_randomTable.cursor = cursor;
}

// One case of a seeded burst loop: an empty pool, a launch rate of 10, 30 or 60 by turns, and the
// streams at a point of the seed's own. Returns that point, for RewindStreams after a replay.
inline int StartBurstCase(uint32_t seed) {
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    const uint32_t rates[3] = {10, 30, 60};
    g_settings.frequency = rates[seed % 3];
    int cursor = int(seed * 97 % 9000);
    RewindStreams(seed, cursor);
    return cursor;
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

inline bool Within(double value, double low, double high) {
    return value >= low - 1e-9 && value <= high + 1e-9;
}

// A named value and the range it must lie in; one bound alone means exactly that value.
struct Expected {
    Expected(const char* name, double value, double low, double high)
        : name(name), value(value), low(low), high(high) {}
    Expected(const char* name, double value, double exact) : Expected(name, value, exact, exact) {}
    const char* name;
    double value, low, high;
};

// Success when every value lies in its range (to within 1e-9) or equals its exact value, else a failure
// naming the first that does not.
inline testing::AssertionResult AllWithin(std::initializer_list<Expected> values) {
    for (const Expected& e : values)
        if (e.low == e.high ? e.value != e.low : !Within(e.value, e.low, e.high))
            return testing::AssertionFailure() << e.name << " = " << e.value << " lies outside [" << e.low << ", "
                                               << e.high << "]";
    return testing::AssertionSuccess();
}

// How far angle lies ahead of base, going forward round the circle, in [0, 6.28318).
inline double AheadOf(double angle, double base) {
    double ahead = std::fmod(angle - base, 6.28318);
    return ahead < 0 ? ahead + 6.28318 : ahead;
}
