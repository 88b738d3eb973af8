// Spherical, Sparkling, Blast, Small Blast and the opening burst: particles thrown at random angles
// and speeds up to the burst's S, each burst checked against its own once-per-burst draws.
#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "tests/unit/burst_support.h"

TEST_F(SimTest, SphericalAndSparklingMakeADiscOfStarsAndMaybeASteadyVolley) {
    const Vec3 at(3, 0, 40), parent(2, 0.5, -1);
    int volleys = 0, twoColored = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        int mode = seed % 2 ? COLOR_STEADY : COLOR_FLICKER;
        int cursor = StartBurstCase(seed);
        double maxSpeed = 40 + 50 * NextRandom();
        double timeOffset = 1 + NextRandom() - g_settings.frequency / 60.0;
        double drag = 0.13 + 0.1 * NextRandom();
        bool twoColors = Rand() % 2 == 1;
        Vec3 first = RandomBurstColor();
        Vec3 second = RandomBurstColor();
        int count = int(300 + 100 * NextRandom());
        RewindStreams(seed, cursor);
        SphericalBurst(at, parent, mode);
        int randAfter = Rand();

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        bool volley = made.size() == size_t(count + 10);
        ASSERT_TRUE(made.size() == size_t(count) || volley) << made.size();
        // rand() calls: the two-colour choice and two colour families, two for each record's id, a colour
        // choice per star only in a two-coloured burst, and the volley's chance.
        SeedRand(seed);
        for (int i = 3 + 2 * int(made.size()) + (twoColors ? count : 0) + 1; i > 0; --i) Rand();
        ASSERT_EQ(Rand(), randAfter);
        bool usedSecond = false;
        for (size_t i = 0; i < made.size(); ++i) {
            const Firework& f = *made[i];
            ASSERT_TRUE(AllWithin({{"z", f.position.z, at.z},
                                   {"vy", f.velocity.y, parent.y},
                                   {"speed", LaunchSpeed(f, parent), 0, maxSpeed},
                                   {"hold", f.holdTime, timeOffset, timeOffset + 0.02 * maxSpeed},
                                   {"fade", f.fadeTime, 1, 3}}));
            if (i >= size_t(count)) {
                // The volley: steady rocket sparks in the first colour, even in a Sparkling burst.
                ASSERT_TRUE(f.flags == FF_ROCKET && f.colorMode == COLOR_STEADY && SameColor(first, f.color));
                ASSERT_TRUE(AllWithin({{"drag", f.drag, 0.15}, {"turn rate", f.turnRate, 10}}));
                ASSERT_TRUE(LeavesAlongHeading(f, parent));
                continue;
            }
            ASSERT_TRUE(f.flags == FF_STAR && f.colorMode == mode);
            ASSERT_TRUE(AllWithin(
                {{"gravity", f.gravityScale, 0.7}, {"drag", f.drag, drag}, {"size", f.starSize, 0.08, 0.12}}));
            bool isSecond = SameColor(f.color, second) && !SameColor(f.color, first);
            ASSERT_TRUE(SameColor(f.color, first) || (twoColors && isSecond));
            usedSecond = usedSecond || isSecond;
        }
        EXPECT_EQ(twoColors, usedSecond);
        volleys += volley;
        twoColored += twoColors;
    }
    // One chance in two each: forty bursts give both outcomes.
    EXPECT_GT(volleys, 5);
    EXPECT_LT(volleys, 35);
    EXPECT_GT(twoColored, 5);
    EXPECT_LT(twoColored, 35);
}

TEST_F(SimTest, BlastThrowsRocketSparksAlongTheirHeadingsAndSmallBlastAQuarterAsManyAtHalfTheSpeed) {
    const Vec3 at(-5, 0, 35), parent(1, -0.25, 3);
    int volleys = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        bool small = seed % 4 < 2;  // both forms at every launch rate
        int cursor = StartBurstCase(seed);
        double maxSpeed = (small ? 0.5 : 1.0) * (50 + 170 * NextRandom());
        double timeOffset = 0.5 + NextRandom() - g_settings.frequency / 60.0;
        if (small) timeOffset = timeOffset * 0.6666666666666666;
        bool twoColors = Rand() % 2 == 1;
        Vec3 first = RandomBurstColor();
        Vec3 second = RandomBurstColor();
        int count = int(300 + 100 * NextRandom());
        if (small) count = count / 4;
        RewindStreams(seed, cursor);
        BlastBurst(at, parent, small);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_TRUE(made.size() == size_t(count) || made.size() == size_t(count + 10)) << made.size();
        volleys += made.size() > size_t(count);
        for (size_t i = 0; i < made.size(); ++i) {
            const Firework& f = *made[i];
            bool inVolley = i >= size_t(count);
            ASSERT_EQ(FF_ROCKET, f.flags);
            ASSERT_TRUE(LeavesAlongHeading(f, parent));
            ASSERT_TRUE(AllWithin({{"x", f.position.x, at.x},
                                   {"vy", f.velocity.y, parent.y},
                                   {"speed", LaunchSpeed(f, parent), 0, maxSpeed},
                                   {"turn rate", f.turnRate, 10},
                                   {"hold", f.holdTime, timeOffset, timeOffset + 0.02 * maxSpeed},
                                   {"fade", f.fadeTime, 1, 3},
                                   {"drag", f.drag, 0.15, inVolley ? 0.15 : 0.25}}));
            ASSERT_TRUE(SameColor(first, f.color) || (!inVolley && twoColors && SameColor(second, f.color)));
        }
    }
    EXPECT_GT(volleys, 5);
    EXPECT_LT(volleys, 35);
}

TEST_F(SimTest, OpeningBurstIsAOneColouredSprayWithNoVolley) {
    const Vec3 at(-20, 0, 38), parent(-40, 0, 0);
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        int cursor = StartBurstCase(seed);
        double maxSpeed = 50 + 170 * NextRandom();
        Vec3 color = RandomBurstColor();
        double timeOffset = g_settings.frequency * -0.008333333333333333;
        int count = int(200 + 100 * NextRandom());
        RewindStreams(seed, cursor);
        OpeningBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(count), made.size());
        for (const Firework* f : made) {
            ASSERT_TRUE(f->flags == FF_ROCKET && SameColor(color, f->color) && LeavesAlongHeading(*f, parent));
            ASSERT_TRUE(AllWithin({{"z", f->position.z, at.z},
                                   {"speed", LaunchSpeed(*f, parent), 0, maxSpeed},
                                   {"turn rate", f->turnRate, 10},
                                   {"drag", f->drag, 0.15, 0.25},
                                   {"hold", f->holdTime, timeOffset, timeOffset + 1},
                                   {"fade", f->fadeTime, 1, 2}}));
        }
    }
}

TEST_F(SimTest, SphericalBurstStopsWhereThePoolRunsFullAndSkipsItsVolley) {
    for (uint32_t seed = 1; seed <= 10; ++seed) {
        DeleteAllFireworks();
        FillPoolExcept(120);
        RewindStreams(seed, 0);
        SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_STEADY);
        for (int slot = POOL_SIZE - 120; slot < POOL_SIZE; ++slot)
            ASSERT_EQ(FF_STAR, g_fireworkPool.slots[slot]->flags) << "seed " << seed;
    }
}
