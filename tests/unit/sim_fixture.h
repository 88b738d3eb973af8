#pragma once
#include <cstdint>

#include <gtest/gtest.h>

#include "fireworks/draw_list.h"

// Puts every process-wide record of the show back to its start-up state, seeded.
void ResetSimulation(uint32_t seed);

// The number of occupied pool slots.
int LiveRecords();

class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ResetSimulation(12345); }
    void TearDown() override { ResetSimulation(1); }
    DrawList list;
};
