#pragma once
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "fireworks/draw_list.h"
#include "fireworks/pool.h"
#include "fireworks/vec3.h"

struct Firework;

// Puts every process-wide record of the show back to its start-up state, seeded.
void ResetSimulation(uint32_t seed);

// The occupied slots, in index order.
std::vector<int> OccupiedSlots();

// A record stored straight into the given slot, with a steady colour that never fades out.
Firework* PlaceRecord(int slot, const Vec3& position, const Vec3& velocity, int flags);

// Fills every slot except the last `freeSlots` ones with inert records that never die.
void FillPoolExcept(int freeSlots);

// True when every coordinate of every live record is a finite number.
bool AllRecordsFinite();

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSimulation(12345); }
    void TearDown() override { ResetSimulation(1); }
    DrawList list;
};
