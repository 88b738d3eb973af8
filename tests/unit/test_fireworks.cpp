#include <gtest/gtest.h>

#include "tests/unit/show_support.h"

// The classic C runtime sequence for seed 1 starts 41, 18467, 6334, 26500.
TEST(FireworkWorld, GeneratorIsTheClassicOneAndTheTableIsReadFromEntryOneInACycle) {
    FireworkWorld world;
    world.SeedRand(1);
    for (int expected : {41, 18467, 6334, 26500}) EXPECT_EQ(expected, world.Rand());
    world.SeedRand(1);
    world.FillRandomTable();
    EXPECT_EQ(41 * (1.0 / 32767), world.randomTable.values[0]);
    EXPECT_EQ(18467 * (1.0 / 32767), world.randomTable.values[1]);
    EXPECT_EQ(world.randomTable.values[1], world.NextRandom());
    for (int call = 2; call < RANDOM_TABLE_SIZE; ++call) world.NextRandom();
    EXPECT_EQ(world.randomTable.values[0], world.NextRandom());
}

TEST(FireworkWorld, SlotSearchStartsPastTheLastSlotWrapsOnceAndAnswersMinusOneWhenFull) {
    FireworkWorld world;
    EXPECT_EQ(1, world.pool.FindFreeSlot());
    EXPECT_EQ(2, world.pool.FindFreeSlot());  // nothing was stored, yet the cursor moved on
    Place(world, 3, Vec3(), Vec3(), 0);
    EXPECT_EQ(4, world.pool.FindFreeSlot());

    FillPool(world, 0);
    world.pool.nextSlotCursor = 4321;
    EXPECT_EQ(-1, world.pool.FindFreeSlot());
    EXPECT_EQ(0, world.pool.nextSlotCursor);
    delete world.pool.slots[7];
    world.pool.slots[7] = nullptr;
    world.pool.nextSlotCursor = POOL_SIZE - 1;
    EXPECT_EQ(7, world.pool.FindFreeSlot());
    EXPECT_EQ(7, world.pool.nextSlotCursor);
}

TEST(Flight, EachEndOfFlightFiresOnTheStepThatCrossesItsEdge) {
    struct Case {
        const char* name;
        double z, vz;
        void (*arm)(Firework&);
        int stepsAlive;  // steps of 0.05 s it survives; the next one ends it (-1: it never ends)
        bool bursts;
    };
    const Case cases[] = {
        {"on the floor", -2.0, 0, [](Firework&) {}, -1, false},
        {"below the floor, armed", -2.0001, 0, [](Firework& f) { f.SetBurstAtApex(); }, 0, false},
        {"apex", 30, 1.13, [](Firework& f) { f.SetBurstAtApex(); f.SetGravityScale(1); }, 2, true},
        {"height", 9, 10, [](Firework& f) { f.SetBurstHeight(10); }, 2, true},  // reaching 10 is not above it
        {"fuse", 30, 0, [](Firework& f) { f.SetFuse(0.1); }, 2, true},            // reaching 0 is not below it
        {"hold and fade", 30, 0, [](Firework& f) { f.SetColor(Vec3(), 0.05, 0.05, COLOR_STEADY); }, 2, false},
    };
    FireworkWorld world;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Firework* f = Place(world, 10, Vec3(0, 0, c.z), Vec3(0, 0, c.vz), 0);
        f->SetDrag(0);
        f->SetGravityScale(0);
        c.arm(*f);
        for (int step = 0; step < (c.stepsAlive < 0 ? 20 : c.stepsAlive); ++step) {
            f->Update(world, 0.05);
            ASSERT_FALSE(f->dead) << "step " << step;
        }
        if (c.stepsAlive < 0) continue;
        f->Update(world, 0.05);
        EXPECT_TRUE(f->dead);
        EXPECT_EQ(c.bursts, f->burstDue);
    }
}

// At 20 sparks a second a first step of 50 ms makes two; a full pool counts the attempts and
// leaves a gap in the trail rather than a backlog.
TEST(Flight, TrailSparksFollowTheRateAsALinkedChainAndAFullPoolLeavesAGap) {
    FireworkWorld world;
    Firework* emitter = Place(world, 100, Vec3(0, 0, 20), Vec3(), 0);
    emitter->SetGravityScale(0);
    emitter->SetTrail(Vec3(0.5, 0.5, 0), 20.0, 0.25, 0.4);
    emitter->Update(world, 0.05);
    EXPECT_EQ(2, emitter->sparksEmitted);
    const Firework* newest = world.pool.At(emitter->newestSpark);
    ASSERT_NE(nullptr, newest);
    EXPECT_TRUE(emitter->linkSlot == emitter->newestSpark && emitter->linkId == newest->randomId);
    const Firework* older = world.pool.At(newest->linkSlot);
    ASSERT_NE(nullptr, older);
    EXPECT_TRUE(newest->linkId == older->randomId && older->linkSlot == -1);
    EXPECT_TRUE(newest->flags == FF_TRAIL && newest->drag == 0.6 && newest->holdTime == 0.25);

    FillPool(world, 0);
    emitter = world.pool.slots[POOL_SIZE - 1];
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
