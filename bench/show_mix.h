#pragma once
// A realistic pool for the benchmarks: the main show at its fastest rate, helped along by a burst of
// each kind in turn, captured once and put back before every timed frame so each does the same work.
#include <cstdint>
#include <utility>
#include <vector>

#include "engine/show.h"

struct PoolSnapshot {
    std::vector<std::pair<int, Firework>> records;
    int32_t nextSlotCursor = 0;
    int randomCursor = 0;
    uint32_t randState = 0;
    double showTime = 0;
    int32_t launchCount = 0;
};

// Starts the show and runs it until it holds exactly `live` records (the newest are dropped to make the
// count exact); fewer if it never gets there.
PoolSnapshot BuildShowMix(Show& show, uint32_t seed, int live);

// Puts the pool and the show's state back; the next frame measures exactly one clock step.
void RestoreShowMix(Show& show, const PoolSnapshot& snapshot);
