#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

struct WillowPlan {
    double maxSpeed, timeOffset;
    int count;
};

WillowPlan PlanWillow(uint32_t seed, int cursor, bool corkscrew) {
    RewindStreams(seed, cursor);
    WillowPlan plan;
    plan.maxSpeed = 10 + 20 * NextRandom();
    plan.timeOffset = 0.5 + NextRandom() - g_settings.frequency / 60.0;
    plan.count = int((NextRandom() + 1) * 30);
    if (corkscrew) {
        plan.timeOffset = NextRandom();
        plan.count = int(55 + 30 * NextRandom());
    }
    RewindStreams(seed, cursor);
    return plan;
}

void CheckWillow(bool corkscrew) {
    const Vec3 at(0, 0, 45), parent(-2, 0.75, -4);
    const Vec3 colors[2] = {Vec3(0.5, 0.1, 0.1), Vec3(0.1, 0.1, 0.5)};
    for (uint32_t seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        WillowPlan plan = PlanWillow(seed, int(seed * 211), corkscrew);
        ASSERT_GE(plan.count, corkscrew ? 55 : 30);
        ASSERT_LE(plan.count, corkscrew ? 85 : 60);
        if (corkscrew)
            CorkScrewBurst(at, parent, colors);
        else
            WillowBurst(at, parent, colors, false);

        // Each particle already has its first trail spark: 2N records, particle then spark.
        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(2 * plan.count), made.size());
        int firstColor = 0;
        double fastest = 0;
        for (int i = 0; i < plan.count; ++i) {
            const Firework& p = *made[2 * i];
            const Firework& spark = *made[2 * i + 1];
            ASSERT_EQ(FF_TRAIL | FF_ROCKET, p.flags);
            ASSERT_EQ(0.05, p.drag);
            ASSERT_EQ(1.0, p.gravityScale);
            ASSERT_EQ(10.0, p.turnRate);
            ASSERT_EQ(parent.y, p.velocity.y);
            ASSERT_TRUE(LeavesAlongHeading(p, parent));
            ASSERT_LE(LaunchSpeed(p, parent), (corkscrew ? 2 : 1) * plan.maxSpeed + 1e-9);
            fastest = std::max(fastest, LaunchSpeed(p, parent));
            ASSERT_TRUE(SameColor(colors[0], p.color) || SameColor(colors[1], p.color));
            if (SameColor(colors[0], p.color)) ++firstColor;
            double holdSpread = (corkscrew ? 0.01 : 0.02) * plan.maxSpeed;
            ASSERT_GE(p.holdTime, plan.timeOffset);
            ASSERT_LE(p.holdTime, plan.timeOffset + holdSpread + 1e-12);
            ASSERT_GE(p.fadeTime, 1.0);
            ASSERT_LE(p.fadeTime, 3.0);
            ASSERT_TRUE(SameColor(p.color, p.trailColor));
            ASSERT_EQ(6.0, p.trailRate);
            if (corkscrew) {
                ASSERT_EQ(0.2, p.sparkHoldTime);
                ASSERT_EQ(0.4, p.sparkFadeTime);
            } else {
                ASSERT_GE(p.sparkHoldTime, 2.0);
                ASSERT_LE(p.sparkHoldTime, 3.0);
                ASSERT_EQ(1.0, p.sparkFadeTime);
            }
            ASSERT_EQ(BURST_NONE, p.burstKind);

            // The trail starts at the burst point, linked from the particle.
            ASSERT_EQ(1, p.sparksEmitted);
            ASSERT_EQ(g_fireworkPool.slots[p.newestSpark], &spark);
            ASSERT_EQ(p.linkSlot, p.newestSpark);
            ASSERT_EQ(spark.randomId, p.linkId);
            ASSERT_EQ(FF_TRAIL, spark.flags);
            ASSERT_EQ(at.z, spark.position.z);
            ASSERT_EQ(0.0, spark.velocity.Length());
            ASSERT_EQ(-1, spark.linkSlot);
            ASSERT_TRUE(SameColor(p.color, spark.color));
            ASSERT_EQ(p.sparkHoldTime, spark.holdTime);
        }
        EXPECT_GT(firstColor, 0);
        EXPECT_LT(firstColor, plan.count);
        // Speeds fill [0, S], doubled in the corkscrew form: among 30 or more someone is near the top.
        EXPECT_GT(fastest, (corkscrew ? 1.4 : 0.7) * plan.maxSpeed);
    }
}

}  // namespace

TEST_F(SimTest, WillowBurstGrowsSlowTrailedParticlesInTwoColours) {
    CheckWillow(false);
}

TEST_F(SimTest, CorkScrewBurstIsTheFasterShortTrailedForm) {
    CheckWillow(true);
}

TEST_F(SimTest, CorkScrewTimingIgnoresTheLaunchRate) {
    for (uint32_t frequency : {10u, 60u}) {
        g_settings.frequency = frequency;
        for (uint32_t seed = 1; seed <= 100; ++seed) {
            WillowPlan cork = PlanWillow(seed, int(seed * 7), true);
            ASSERT_GE(cork.timeOffset, 0.0);
            ASSERT_LE(cork.timeOffset, 1.0);
            WillowPlan willow = PlanWillow(seed, int(seed * 7), false);
            ASSERT_GE(willow.timeOffset, 0.5 - frequency / 60.0);
            ASSERT_LE(willow.timeOffset, 1.5 - frequency / 60.0);
        }
    }
}

TEST_F(SimTest, WillowStillDrawsAColourChoiceWhenBothColoursAreEqual) {
    const Vec3 same[2] = {Vec3(0.3, 0.3, 0.3), Vec3(0.3, 0.3, 0.3)};
    const Vec3 differ[2] = {Vec3(0.3, 0.3, 0.3), Vec3(0.4, 0.3, 0.3)};
    RewindStreams(5, 0);
    WillowBurst(Vec3(0, 0, 40), Vec3(), same, false);
    int cursor = g_randomTable.cursor;
    int nextRand = Rand();
    DeleteAllFireworks();
    RewindStreams(5, 0);
    WillowBurst(Vec3(0, 0, 40), Vec3(), differ, false);
    EXPECT_EQ(cursor, g_randomTable.cursor);
    EXPECT_EQ(nextRand, Rand());
}

TEST_F(SimTest, WillowParticlesThatFindNoSlotForTheirSparkGoWithout) {
    FillPoolExcept(21);
    const Vec3 colors[2] = {Vec3(0.5, 0, 0), Vec3(0, 0.5, 0)};
    WillowBurst(Vec3(0, 0, 40), Vec3(), colors, false);
    int particles = 0, sparks = 0;
    for (int slot = POOL_SIZE - 21; slot < POOL_SIZE; ++slot) {
        const Firework* f = g_fireworkPool.slots[slot];
        ASSERT_NE(nullptr, f);
        if (f->flags == (FF_TRAIL | FF_ROCKET)) ++particles;
        if (f->flags == FF_TRAIL) ++sparks;
    }
    EXPECT_EQ(11, particles);
    EXPECT_EQ(10, sparks);
    EXPECT_EQ(1, g_fireworkPool.slots[POOL_SIZE - 1]->sparksEmitted);
    EXPECT_EQ(-1, g_fireworkPool.slots[POOL_SIZE - 1]->newestSpark);
}
