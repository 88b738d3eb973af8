#pragma once
#include <cstdint>

#include "fireworks/pool.h"
#include "fireworks/random_table.h"

struct Firework;
struct Vec3;

// What every record, burst and flight step works in: the pool, the two random streams and the
// launch rate the bursts time themselves by. The show owns one; nothing here is process-wide.
struct FireworkWorld {
    FireworkPool pool;
    RandomTable randomTable;
    uint32_t randState = 1;
    double launchRate = 30;  // fireworks per minute

    // The classic C runtime generator, so a seed gives the same show on every platform; glibc's
    // rand() returns 31 bits and must not be used.
    void SeedRand(uint32_t seed);
    int Rand();  // 0..32767
    void FillRandomTable();
    double NextRandom();

    // A new record stored in `slot`, its id drawn from the generator; null when memory runs out.
    Firework* Create(int slot, const Vec3& position, const Vec3& velocity, int flags);
};
