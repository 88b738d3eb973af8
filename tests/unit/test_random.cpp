#include <gtest/gtest.h>

#include "fireworks/crt_rand.h"
#include "fireworks/random_table.h"
#include "tests/unit/sim_fixture.h"

// The classic C runtime sequence for seed 1 starts 41, 18467, 6334, 26500.
TEST(CrtRand, ProducesTheClassicFifteenBitSequence) {
    SeedRand(1);
    EXPECT_EQ(41, Rand());
    EXPECT_EQ(18467, Rand());
    EXPECT_EQ(6334, Rand());
    EXPECT_EQ(26500, Rand());
    SeedRand(1);
    EXPECT_EQ(41, Rand());
    for (int i = 0; i < 100000; ++i) {
        int value = Rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 32767);
    }
}

TEST_F(SimTest, RandomTableIsReadFromEntryOneAndCycles) {
    SeedRand(7);
    FillRandomTable();
    g_randomTable.cursor = 0;
    EXPECT_EQ(g_randomTable.values[1], NextRandom());
    for (int call = 2; call < 9999; ++call) NextRandom();
    EXPECT_EQ(g_randomTable.values[9999], NextRandom());
    EXPECT_EQ(g_randomTable.values[0], NextRandom());
    EXPECT_EQ(g_randomTable.values[1], NextRandom());
}

TEST_F(SimTest, RandomTableHoldsRandOverItsMaximum) {
    SeedRand(3);
    int first = Rand();
    int second = Rand();
    SeedRand(3);
    FillRandomTable();
    EXPECT_EQ(first * (1.0 / 32767), g_randomTable.values[0]);
    EXPECT_EQ(second * (1.0 / 32767), g_randomTable.values[1]);
    for (double value : g_randomTable.values) {
        ASSERT_GE(value, 0.0);
        ASSERT_LE(value, 1.0);
    }
}
