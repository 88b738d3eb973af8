#include <gtest/gtest.h>

#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "tests/unit/sim_fixture.h"

// The classic C runtime sequence for seed 1 starts 41, 18467, 6334, 26500.
TEST(CrtRand, ProducesTheClassicFifteenBitSequence) {
    SeedRand(1);
    for (int expected : {41, 18467, 6334, 26500}) EXPECT_EQ(expected, Rand());
}

TEST_F(SimTest, RandomTableHoldsRandOverItsMaximumAndIsReadFromEntryOneAndCycles) {
    SeedRand(3);
    int first = Rand();
    int second = Rand();
    SeedRand(3);
    FillRandomTable();
    EXPECT_EQ(first * (1.0 / 32767), g_randomTable.values[0]);
    EXPECT_EQ(second * (1.0 / 32767), g_randomTable.values[1]);

    g_randomTable.cursor = 0;
    EXPECT_EQ(g_randomTable.values[1], NextRandom());
    for (int call = 2; call < 9999; ++call) NextRandom();
    EXPECT_EQ(g_randomTable.values[9999], NextRandom());
    EXPECT_EQ(g_randomTable.values[0], NextRandom());
    EXPECT_EQ(g_randomTable.values[1], NextRandom());
}

TEST_F(SimTest, NewRecordHasTheStartValuesAndAnIdFromTwoDraws) {
    SeedRand(99);
    int first = Rand();
    int second = Rand();
    SeedRand(99);
    Firework f(Vec3(1, 2, 3), Vec3(4, 5, 6), FF_STAR);

    EXPECT_EQ(first * 32768 + second, f.randomId);
    EXPECT_TRUE(f.drag == 0.01 && f.gravityScale == 1 && f.starSize == 0.1);
    EXPECT_TRUE(f.newestSpark == -1 && f.linkSlot == -1 && f.burstKind == BURST_NONE);
    EXPECT_FALSE(f.dead || f.burstDue || f.fuseLit || f.burstAtApex || f.burstAtHeight || f.corkscrew);
}

TEST_F(SimTest, SlotSearchStartsAtOneMovesOnAndWrapsToTheLowestFreeSlot) {
    EXPECT_EQ(1, FindFreeSlot());
    EXPECT_EQ(2, FindFreeSlot());  // nothing was stored, yet the cursor moved on
    PlaceRecord(3, Vec3(), Vec3(), 0);
    PlaceRecord(4, Vec3(), Vec3(), 0);
    EXPECT_EQ(5, FindFreeSlot());

    // From the middle, a search that finds nothing above wraps to the bottom.
    FillPoolExcept(0);
    delete g_fireworkPool.slots[7];
    g_fireworkPool.slots[7] = nullptr;
    g_fireworkPool.nextSlotCursor = 5000;
    EXPECT_EQ(7, FindFreeSlot());
    EXPECT_EQ(7, g_fireworkPool.nextSlotCursor);
    g_fireworkPool.nextSlotCursor = POOL_SIZE - 1;
    EXPECT_EQ(7, FindFreeSlot());
}

TEST_F(SimTest, FullPoolAnswersMinusOneAndTheNextSearchStartsAtOne) {
    FillPoolExcept(0);
    g_fireworkPool.nextSlotCursor = 4321;
    EXPECT_EQ(-1, FindFreeSlot());
    EXPECT_EQ(0, g_fireworkPool.nextSlotCursor);

    for (int slot : {0, 1}) {
        delete g_fireworkPool.slots[slot];
        g_fireworkPool.slots[slot] = nullptr;
    }
    EXPECT_EQ(1, FindFreeSlot());
    EXPECT_EQ(0, FindFreeSlot());  // 2..9999 full: the search wraps to slot 0
}
