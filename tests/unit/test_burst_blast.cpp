#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

struct BlastPlan {
    double maxSpeed, timeOffset;
    bool twoColors;
    Vec3 first, second;
    int count;
};

BlastPlan PlanBlast(uint32_t seed, int cursor, bool small) {
    RewindStreams(seed, cursor);
    BlastPlan plan;
    plan.maxSpeed = 50 + 170 * NextRandom();
    if (small) plan.maxSpeed = 0.5 * plan.maxSpeed;
    plan.timeOffset = 0.5 + NextRandom() - g_settings.frequency / 60.0;
    if (small) plan.timeOffset = plan.timeOffset * 0.6666666666666666;
    plan.twoColors = Rand() % 2 == 1;
    plan.first = RandomBurstColor();
    plan.second = RandomBurstColor();
    plan.count = int(300 + 100 * NextRandom());
    if (small) plan.count = plan.count / 4;
    RewindStreams(seed, cursor);
    return plan;
}

void CheckBlast(bool small) {
    const Vec3 at(-5, 0, 35), parent(1, -0.25, 3);
    int volleys = 0;
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        BlastPlan plan = PlanBlast(seed, int(seed * 131), small);
        ASSERT_GE(plan.count, small ? 75 : 300);
        ASSERT_LE(plan.count, small ? 100 : 400);
        ASSERT_GE(plan.maxSpeed, small ? 25 : 50);
        ASSERT_LE(plan.maxSpeed, small ? 110 : 220);
        BlastBurst(at, parent, small);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_TRUE(made.size() == size_t(plan.count) || made.size() == size_t(plan.count + 10)) << made.size();
        if (made.size() > size_t(plan.count)) ++volleys;
        for (size_t i = 0; i < made.size(); ++i) {
            const Firework& spark = *made[i];
            bool volley = i >= size_t(plan.count);
            ASSERT_EQ(FF_ROCKET, spark.flags);
            ASSERT_EQ(at.x, spark.position.x);
            ASSERT_EQ(parent.y, spark.velocity.y);
            ASSERT_LE(LaunchSpeed(spark, parent), plan.maxSpeed + 1e-9);
            ASSERT_TRUE(LeavesAlongHeading(spark, parent));
            ASSERT_EQ(10.0, spark.turnRate);
            ASSERT_EQ(1.0, spark.gravityScale);
            if (volley) {
                ASSERT_EQ(0.15, spark.drag);
                ASSERT_TRUE(SameColor(plan.first, spark.color));
            } else {
                ASSERT_GE(spark.drag, 0.15);
                ASSERT_LE(spark.drag, 0.25);
                ASSERT_TRUE(SameColor(plan.first, spark.color) ||
                            (plan.twoColors && SameColor(plan.second, spark.color)));
            }
            ASSERT_GE(spark.holdTime, plan.timeOffset);
            ASSERT_LE(spark.holdTime, plan.timeOffset + 0.02 * plan.maxSpeed + 1e-12);
            ASSERT_GE(spark.fadeTime, 1.0);
            ASSERT_LE(spark.fadeTime, 3.0);
            ASSERT_EQ(0.0, spark.trailRate);
            ASSERT_EQ(BURST_NONE, spark.burstKind);
        }
    }
    EXPECT_GT(volleys, 4);
    EXPECT_LT(volleys, 26);
}

}  // namespace

TEST_F(SimTest, BlastBurstThrowsRocketSparksAlongTheirHeadings) {
    CheckBlast(false);
}

TEST_F(SimTest, SmallBlastIsAQuarterOfTheSparksAtHalfTheSpeed) {
    g_settings.frequency = 60;
    CheckBlast(true);
}

TEST_F(SimTest, BlastTimeOffsetsFollowTheLaunchRate) {
    struct Case {
        uint32_t frequency;
        bool small;
        double low, high;
    };
    const Case cases[] = {{30, false, 0, 1}, {30, true, 0, 0.6667}, {60, false, -0.5, 0.5}, {60, true, -0.3334, 0.3334}};
    for (const Case& c : cases) {
        g_settings.frequency = c.frequency;
        for (uint32_t seed = 1; seed <= 100; ++seed) {
            BlastPlan plan = PlanBlast(seed, int(seed * 53), c.small);
            ASSERT_GE(plan.timeOffset, c.low - 1e-12);
            ASSERT_LE(plan.timeOffset, c.high + 1e-12);
        }
    }
}

TEST_F(SimTest, SlowBlastSparksAtTheHighestRateStartFading) {
    g_settings.frequency = 60;
    bool sawNegative = false;
    for (uint32_t seed = 1; seed <= 20 && !sawNegative; ++seed) {
        DeleteAllFireworks();
        RewindStreams(seed, int(seed * 300));
        BlastBurst(Vec3(0, 0, 40), Vec3(), false);
        for (Firework* f : RecordsIn(OccupiedSlots())) {
            if (f->holdTime > 0) continue;
            sawNegative = true;
            Vec3 full = f->color;
            f->Update(0.01);
            EXPECT_EQ(-1.0, f->holdTime);
            EXPECT_LT(f->fadeLeft, f->fadeTime);
            list.Clear();
            f->Draw(list);
            EXPECT_LT(list.Vertices()[0].r, float(full.x));  // already dimmer than its colour
            break;
        }
    }
    EXPECT_TRUE(sawNegative);
}
