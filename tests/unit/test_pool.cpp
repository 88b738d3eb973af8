#include <gtest/gtest.h>

#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, NewRecordHasTheStartValuesAndAnIdFromTwoDraws) {
    SeedRand(99);
    int first = Rand();
    int second = Rand();
    SeedRand(99);
    Firework f(Vec3(1, 2, 3), Vec3(4, 5, 6), FF_STAR | FF_ROCKET);

    EXPECT_EQ(first * 32768 + second, f.randomId);
    EXPECT_EQ(2.0, f.position.y);
    EXPECT_EQ(6.0, f.velocity.z);
    EXPECT_EQ(FF_STAR | FF_ROCKET, f.flags);
    EXPECT_EQ(0.01, f.drag);
    EXPECT_EQ(1.0, f.gravityScale);
    EXPECT_EQ(0.1, f.starSize);
    EXPECT_EQ(-1, f.newestSpark);
    EXPECT_EQ(-1, f.linkSlot);
    EXPECT_EQ(0, f.flipTrailOffset);
    EXPECT_EQ(BURST_NONE, f.burstKind);
    EXPECT_FALSE(f.dead || f.burstDue || f.fuseLit || f.burstAtApex || f.burstAtHeight || f.corkscrew);
    EXPECT_EQ(0.0, f.secondColor.x + f.secondColor.y + f.secondColor.z);
}

TEST_F(SimTest, RandomIdsFillThirtyBitsFromTheFifteenBitGenerator) {
    int largest = 0;
    for (int i = 0; i < 20000; ++i) {
        Firework f(Vec3(), Vec3(), 0);
        ASSERT_GE(f.randomId, 0);
        ASSERT_LE(f.randomId, 1073741823);
        if (f.randomId > largest) largest = f.randomId;
    }
    // Ids use the upper half of the range too, which a 15-bit id alone never reaches.
    EXPECT_GT(largest, 1 << 29);
}

TEST_F(SimTest, SetTrailRestartsATrailThatAlreadyEmitted) {
    Firework* emitter = PlaceRecord(500, Vec3(0, 0, 10), Vec3(), FF_TRAIL);
    emitter->SetTrail(Vec3(1, 0, 0), 20.0, 0.0, 0.5);
    emitter->EmitTrailSpark();
    emitter->EmitTrailSpark();
    ASSERT_NE(-1, emitter->newestSpark);

    emitter->SetTrail(Vec3(0, 1, 0), 10.0, 1.0, 0.4);
    EXPECT_EQ(-1, emitter->newestSpark);
    EXPECT_EQ(0, emitter->newestSparkId);
    EXPECT_EQ(-1, emitter->linkSlot);
    EXPECT_EQ(0, emitter->sparksEmitted);
    EXPECT_EQ(0.000001, emitter->trailAge);

    emitter->EmitTrailSpark();
    const Firework* spark = FireworkAt(emitter->newestSpark);
    ASSERT_NE(nullptr, spark);
    EXPECT_EQ(-1, spark->linkSlot);  // not linked to the sparks of the earlier trail
}

TEST_F(SimTest, SlotSearchStartsAtOneAndMovesOn) {
    EXPECT_EQ(1, FindFreeSlot());
    EXPECT_EQ(2, FindFreeSlot());  // nothing was stored, yet the cursor moved on
    PlaceRecord(3, Vec3(), Vec3(), 0);
    PlaceRecord(4, Vec3(), Vec3(), 0);
    EXPECT_EQ(5, FindFreeSlot());
}

TEST_F(SimTest, SlotSearchWrapsToTheLowestFreeSlotAfterTheLast) {
    PlaceRecord(0, Vec3(), Vec3(), 0);
    PlaceRecord(1, Vec3(), Vec3(), 0);
    g_fireworkPool.nextSlotCursor = 9999;
    EXPECT_EQ(2, FindFreeSlot());
    EXPECT_EQ(2, g_fireworkPool.nextSlotCursor);

    // From the middle, a search that finds nothing above wraps to the bottom.
    g_fireworkPool.nextSlotCursor = 0;
    for (int slot = 2; slot < POOL_SIZE; ++slot)
        if (slot != 7) PlaceRecord(slot, Vec3(), Vec3(), 0);
    g_fireworkPool.nextSlotCursor = 5000;
    EXPECT_EQ(7, FindFreeSlot());
}

TEST_F(SimTest, FullPoolAnswersMinusOneAndTheNextSearchStartsAtOne) {
    FillPoolExcept(0);
    g_fireworkPool.nextSlotCursor = 4321;
    EXPECT_EQ(-1, FindFreeSlot());
    EXPECT_EQ(0, g_fireworkPool.nextSlotCursor);

    delete g_fireworkPool.slots[0];
    g_fireworkPool.slots[0] = nullptr;
    delete g_fireworkPool.slots[1];
    g_fireworkPool.slots[1] = nullptr;
    EXPECT_EQ(1, FindFreeSlot());
    EXPECT_EQ(0, FindFreeSlot());  // 2..9999 full: the search wraps to slot 0
}

