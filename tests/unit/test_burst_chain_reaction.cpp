#include <gtest/gtest.h>

#include "engine/show.h"
#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

struct ChainPlan {
    double startAngle;
    Vec3 color;
    int count;
    int centreRecords;
};

// Runs the centre blast on an empty pool to learn its draws, then takes the chain's own.
ChainPlan PlanChain(uint32_t seed, int cursor, const Vec3& at, const Vec3& parent) {
    RewindStreams(seed, cursor);
    BlastBurst(at, parent, true);
    ChainPlan plan;
    plan.centreRecords = LiveRecords();
    plan.startAngle = 6.28318 * NextRandom();
    plan.color = RandomBurstColor();
    plan.count = int(2 + 4 * NextRandom());
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    RewindStreams(seed, cursor);
    return plan;
}

bool IsChild(const Firework& f) {
    return f.flags == (FF_TRAIL | FF_ROCKET) && f.fuseLit;
}

}  // namespace

TEST_F(SimTest, ChainReactionPopsASmallBlastAndThrowsEvenlySpacedChildren) {
    const Vec3 at(4, 0, 42), parent(0, 0.5, 2);
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        g_settings.frequency = seed % 2 ? 10 : 60;
        ChainPlan plan = PlanChain(seed, int(seed * 113), at, parent);
        ASSERT_GE(plan.count, 2);
        ASSERT_LE(plan.count, 5);
        ChainReactionBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(plan.centreRecords + plan.count), made.size());
        for (int i = 0; i < plan.centreRecords; ++i) ASSERT_EQ(FF_ROCKET, made[i]->flags);

        double even = plan.startAngle;
        for (int i = 0; i < plan.count; ++i) {
            const Firework& child = *made[plan.centreRecords + i];
            ASSERT_TRUE(IsChild(child));
            even += 6.28318 / plan.count;
            if (even > 6.28318) even -= 6.28318;
            ASSERT_LE(AheadOf(child.heading, even), 5.0 / plan.count + 1e-9);
            ASSERT_TRUE(LeavesAlongHeading(child, parent));
            ASSERT_GE(LaunchSpeed(child, parent), 40 - 1e-9);
            ASSERT_LE(LaunchSpeed(child, parent), 60 + 1e-9);
            ASSERT_EQ(parent.y, child.velocity.y);
            ASSERT_EQ(0.02, child.drag);
            ASSERT_TRUE(SameColor(plan.color, child.color));
            ASSERT_TRUE(SameColor(plan.color, child.trailColor));
            ASSERT_EQ(10.0 - g_settings.frequency * 0.03333333333333333, child.holdTime);
            ASSERT_EQ(2.0, child.fadeTime);
            ASSERT_EQ(20.0, child.trailRate);
            ASSERT_EQ(0.0, child.sparkHoldTime);
            ASSERT_EQ(0.5, child.sparkFadeTime);
            ASSERT_GE(child.fuseTime, 0.25);
            ASSERT_LE(child.fuseTime, 0.55);
            ASSERT_GT(child.holdTime, child.fuseTime);  // at full brightness until it pops
            ASSERT_EQ(BURST_SMALL_BLAST, child.burstKind);
        }
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
    }
}

TEST_F(SimTest, ChainReactionHasExactlyTwoLevels) {
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    int children = 0;
    for (Firework* f : RecordsIn(OccupiedSlots())) children += IsChild(*f);
    ASSERT_GE(children, 2);

    BurstTally tally = {};
    for (int frame = 0; frame < 120; ++frame) {
        BurstPass(&tally);
        UpdatePass(1.0 / 60);
        for (Firework* f : RecordsIn(OccupiedSlots())) {
            // Nothing the chain makes carries a burst of its own except the first children.
            if (f->burstKind != BURST_NONE) {
                ASSERT_TRUE(IsChild(*f) && f->burstKind == BURST_SMALL_BLAST);
            }
        }
    }
    EXPECT_EQ(children, tally.byKind[BURST_SMALL_BLAST]);
    for (int kind = 0; kind < BURST_KIND_COUNT; ++kind) {
        if (kind != BURST_SMALL_BLAST) {
            EXPECT_EQ(0, tally.byKind[kind]) << kind;
        }
    }
}

TEST_F(SimTest, ChildPopsOnTheFirstUpdateAfterItsFuseRunsOut) {
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    Firework* child = nullptr;
    for (Firework* f : RecordsIn(OccupiedSlots()))
        if (IsChild(*f)) child = f;
    ASSERT_NE(nullptr, child);
    double fuse = child->fuseTime;
    double flown = 0;
    while (!child->dead) {
        ASSERT_LE(flown, fuse);
        child->Update(0.01);
        flown += 0.01;
    }
    EXPECT_TRUE(child->burstDue);
    EXPECT_GT(flown, fuse - 1e-9);
    EXPECT_LT(flown, fuse + 0.01 + 1e-9);
}

TEST_F(SimTest, CentreBlastFillingThePoolLeavesNoChildrenButTakesTheirDraws) {
    FillPoolExcept(50);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    EXPECT_EQ(POOL_SIZE, LiveRecords());
    for (int slot = POOL_SIZE - 50; slot < POOL_SIZE; ++slot) ASSERT_EQ(FF_ROCKET, g_fireworkPool.slots[slot]->flags);

    // On a full pool: the centre blast's draws, then the chain's own, then the first child's angle and speed.
    FillPoolExcept(0);
    RewindStreams(9, 3000);
    BlastBurst(Vec3(0, 0, 40), Vec3(), true);
    NextRandom();
    RandomBurstColor();
    NextRandom();
    NextRandom();
    NextRandom();
    int cursor = g_randomTable.cursor;
    int nextRand = Rand();
    RewindStreams(9, 3000);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    EXPECT_EQ(cursor, g_randomTable.cursor);
    EXPECT_EQ(nextRand, Rand());
}

TEST_F(SimTest, ChildWithNoRoomToBurstMakesAnEmptySmallBlast) {
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    std::vector<int> children;
    for (int slot : OccupiedSlots())
        if (IsChild(*g_fireworkPool.slots[slot])) children.push_back(slot);
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        if (g_fireworkPool.slots[slot]) continue;
        Firework* filler = PlaceRecord(slot, Vec3(0, 0, 50), Vec3(), 0);
        filler->SetGravityScale(0);
    }
    Firework* child = g_fireworkPool.slots[children[0]];
    child->dead = child->burstDue = true;
    BurstTally tally = {};
    BurstPass(&tally);
    EXPECT_EQ(1, tally.byKind[BURST_SMALL_BLAST]);
    EXPECT_EQ(POOL_SIZE - 1, LiveRecords());
}
