#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

// The once-per-burst values of SphericalBurst, taken from the same streams it will use.
struct SphericalPlan {
    double maxSpeed, timeOffset, drag;
    bool twoColors;
    Vec3 first, second;
    int count;
};

SphericalPlan PlanSpherical(uint32_t seed, int cursor) {
    RewindStreams(seed, cursor);
    SphericalPlan plan;
    plan.maxSpeed = 40 + 50 * NextRandom();
    plan.timeOffset = 1 + NextRandom() - g_settings.frequency / 60.0;
    plan.drag = 0.13 + 0.1 * NextRandom();
    plan.twoColors = Rand() % 2 == 1;
    plan.first = RandomBurstColor();
    plan.second = RandomBurstColor();
    plan.count = int(300 + 100 * NextRandom());
    RewindStreams(seed, cursor);
    return plan;
}

void CheckSphericalBurst(int colorMode, uint32_t frequency) {
    g_settings.frequency = frequency;
    const Vec3 at(3, 0, 40), parent(2, 0.5, -1);
    int volleys = 0, twoColored = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        SphericalPlan plan = PlanSpherical(seed, int(seed * 97));
        ASSERT_GE(plan.count, 300);
        ASSERT_LE(plan.count, 400);
        SphericalBurst(at, parent, colorMode);
        int randAfter = Rand();

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_TRUE(made.size() == size_t(plan.count) || made.size() == size_t(plan.count + 10)) << made.size();
        // rand() calls: the two-colour choice and two colour families, two for each record's id, a colour
        // choice per star only in a two-coloured burst, and the volley's chance.
        int randCalls = 3 + 2 * int(made.size()) + (plan.twoColors ? plan.count : 0) + 1;
        RewindStreams(seed, 0);
        for (int i = 0; i < randCalls; ++i) Rand();
        ASSERT_EQ(Rand(), randAfter);
        bool usedSecond = false;
        for (int i = 0; i < plan.count; ++i) {
            const Firework& star = *made[i];
            ASSERT_EQ(FF_STAR, star.flags);
            ASSERT_EQ(at.z, star.position.z);
            ASSERT_EQ(parent.y, star.velocity.y);
            ASSERT_LE(LaunchSpeed(star, parent), plan.maxSpeed + 1e-9);
            ASSERT_EQ(0.7, star.gravityScale);
            ASSERT_EQ(plan.drag, star.drag);
            ASSERT_EQ(colorMode, star.colorMode);
            ASSERT_GE(star.holdTime, plan.timeOffset);
            ASSERT_LE(star.holdTime, plan.timeOffset + 0.02 * plan.maxSpeed + 1e-12);
            ASSERT_GE(star.fadeTime, 1.0);
            ASSERT_LE(star.fadeTime, 3.0);
            ASSERT_GE(star.starSize, 0.08);
            ASSERT_LE(star.starSize, 0.12);
            ASSERT_EQ(0.0, star.turnRate);
            ASSERT_EQ(0.0, star.trailRate);
            ASSERT_EQ(BURST_NONE, star.burstKind);
            bool second = SameColor(star.color, plan.second) && !SameColor(star.color, plan.first);
            ASSERT_TRUE(SameColor(star.color, plan.first) || (plan.twoColors && second));
            usedSecond = usedSecond || second;
        }
        if (plan.twoColors) {
            EXPECT_TRUE(usedSecond);
            ++twoColored;
        }
        if (made.size() == size_t(plan.count + 10)) {
            ++volleys;
            for (size_t i = plan.count; i < made.size(); ++i) {
                const Firework& spark = *made[i];
                ASSERT_EQ(FF_ROCKET, spark.flags);
                ASSERT_EQ(0.15, spark.drag);
                ASSERT_EQ(1.0, spark.gravityScale);
                ASSERT_EQ(COLOR_STEADY, spark.colorMode);  // the volley does not flicker
                ASSERT_TRUE(SameColor(plan.first, spark.color));
                ASSERT_EQ(10.0, spark.turnRate);
                ASSERT_TRUE(LeavesAlongHeading(spark, parent));
                ASSERT_LE(LaunchSpeed(spark, parent), plan.maxSpeed + 1e-9);
                ASSERT_GE(spark.holdTime, plan.timeOffset);
                ASSERT_LE(spark.holdTime, plan.timeOffset + 0.02 * plan.maxSpeed + 1e-12);
            }
        }
    }
    // One chance in two each: thirty bursts give both outcomes.
    EXPECT_GT(volleys, 4);
    EXPECT_LT(volleys, 26);
    EXPECT_GT(twoColored, 4);
    EXPECT_LT(twoColored, 26);
}

}  // namespace

TEST_F(SimTest, SphericalBurstMakesADiscOfSteadyStarsAndMaybeAVolley) {
    CheckSphericalBurst(COLOR_STEADY, 30);
}

TEST_F(SimTest, SparklingBurstFlickersButItsVolleyDoesNot) {
    CheckSphericalBurst(COLOR_FLICKER, 60);
}

TEST_F(SimTest, SphericalTimeOffsetFollowsTheLaunchRate) {
    for (uint32_t frequency : {10u, 60u}) {
        g_settings.frequency = frequency;
        double lowest = 1e9, highest = -1e9;
        for (uint32_t seed = 1; seed <= 200; ++seed) {
            SphericalPlan plan = PlanSpherical(seed, int(seed * 41));
            lowest = std::min(lowest, plan.timeOffset);
            highest = std::max(highest, plan.timeOffset);
        }
        double base = 1 - frequency / 60.0;
        EXPECT_GE(lowest, base);
        EXPECT_LE(highest, base + 1);
        EXPECT_LT(lowest, base + 0.1);
        EXPECT_GT(highest, base + 0.9);
    }
}

TEST_F(SimTest, SphericalBurstStopsWhereThePoolRunsFullAndSkipsItsVolley) {
    FillPoolExcept(120);
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        for (int slot = POOL_SIZE - 120; slot < POOL_SIZE; ++slot) {
            delete g_fireworkPool.slots[slot];
            g_fireworkPool.slots[slot] = nullptr;
        }
        RewindStreams(seed, 0);
        SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_STEADY);
        ASSERT_EQ(POOL_SIZE, LiveRecords());
        for (int slot = POOL_SIZE - 120; slot < POOL_SIZE; ++slot)
            ASSERT_EQ(FF_STAR, g_fireworkPool.slots[slot]->flags);
    }
}
