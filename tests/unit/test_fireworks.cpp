#include <gtest/gtest.h>

#include "tests/unit/show_support.h"

// The classic C runtime sequence for seed 1 starts 41, 18467, 6334, 26500; the table holds its values
// over 32767 and is read from entry one, round and round.
TEST(FireworkWorld, GeneratorIsTheClassicOneAndTheTableIsReadFromEntryOneInACycle) {
    FireworkWorld world;
    world.SeedRand(1);
    for (int expected : {41, 18467, 6334, 26500}) EXPECT_EQ(expected, world.Rand());
    world.SeedRand(1);
    world.FillRandomTable();
    EXPECT_EQ(41 * (1.0 / 32767), world.randomTable.values[0]);
    EXPECT_EQ(world.randomTable.values[1], world.NextRandom());
    for (int call = 2; call < RANDOM_TABLE_SIZE; ++call) world.NextRandom();
    EXPECT_EQ(world.randomTable.values[0], world.NextRandom());
}

// The search starts past the slot handed out last, wraps once, and answers -1 when the pool is full.
// A trail on a full pool counts its sparks all the same, so it leaves a gap rather than a backlog.
TEST(FireworkWorld, SlotSearchWrapsOnceAndAFullPoolLeavesAGapInATrail) {
    FireworkWorld world;
    EXPECT_EQ(1, world.pool.FindFreeSlot());
    EXPECT_EQ(2, world.pool.FindFreeSlot());  // nothing was stored, yet the cursor moved on
    FillPool(world, 0);
    EXPECT_EQ(-1, world.pool.FindFreeSlot());
    Firework* emitter = world.pool.slots[POOL_SIZE - 1];
    emitter->SetTrail(Vec3(1, 1, 1), 20.0, 0.0, 0.5);
    emitter->Update(world, 0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    EXPECT_EQ(-1, emitter->newestSpark);
    delete world.pool.slots[5];
    world.pool.slots[5] = nullptr;
    emitter->Update(world, 0.05);
    EXPECT_EQ(3, emitter->sparksEmitted);
    EXPECT_EQ(5, emitter->newestSpark);
}
