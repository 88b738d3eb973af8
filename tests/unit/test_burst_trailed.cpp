// Weeping Willow, Cork Screw, Waver and Chain Reaction: bursts whose particles leave trails, each burst
// checked against its own once-per-burst draws.
#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "tests/unit/burst_support.h"

TEST_F(SimTest, WillowGrowsSlowTrailedParticlesInTwoColoursAndCorkScrewIsItsFasterShortTrailedForm) {
    const Vec3 at(0, 0, 45), parent(-2, 0.75, -4);
    const Vec3 colors[2] = {Vec3(0.5, 0.1, 0.1), Vec3(0.1, 0.1, 0.5)};
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        bool corkscrew = seed % 4 < 2;
        int cursor = StartBurstCase(seed);
        double maxSpeed = 10 + 20 * NextRandom();
        double timeOffset = 0.5 + NextRandom() - g_settings.frequency / 60.0;
        int count = int((NextRandom() + 1) * 30);
        if (corkscrew) {
            timeOffset = NextRandom();  // the corkscrew form ignores the launch rate
            count = int(55 + 30 * NextRandom());
        }
        RewindStreams(seed, cursor);
        if (corkscrew)
            CorkScrewBurst(at, parent, colors);
        else
            WillowBurst(at, parent, colors, false);

        // Each particle already has its first trail spark: 2N records, particle then spark.
        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(2 * count), made.size());
        int firstColor = 0;
        double fastest = 0;
        for (int i = 0; i < count; ++i) {
            const Firework& p = *made[2 * i];
            const Firework& spark = *made[2 * i + 1];
            ASSERT_EQ(FF_TRAIL | FF_ROCKET, p.flags);
            ASSERT_TRUE(LeavesAlongHeading(p, parent));
            ASSERT_TRUE(SameColor(colors[0], p.color) || SameColor(colors[1], p.color));
            ASSERT_TRUE(SameColor(p.color, p.trailColor));
            ASSERT_TRUE(AllWithin({{"drag", p.drag, 0.05},
                                   {"turn rate", p.turnRate, 10},
                                   {"vy", p.velocity.y, parent.y},
                                   {"speed", LaunchSpeed(p, parent), 0, (corkscrew ? 2 : 1) * maxSpeed},
                                   {"hold", p.holdTime, timeOffset, timeOffset + (corkscrew ? 0.01 : 0.02) * maxSpeed},
                                   {"fade", p.fadeTime, 1, 3},
                                   {"trail rate", p.trailRate, 6},
                                   {"spark hold", p.sparkHoldTime, corkscrew ? 0.2 : 2, corkscrew ? 0.2 : 3},
                                   {"spark fade", p.sparkFadeTime, corkscrew ? 0.4 : 1}}));
            firstColor += SameColor(colors[0], p.color);
            fastest = std::max(fastest, LaunchSpeed(p, parent));

            // The trail starts at the burst point, linked from the particle.
            ASSERT_EQ(1, p.sparksEmitted);
            ASSERT_EQ(g_fireworkPool.slots[p.newestSpark], &spark);
            ASSERT_TRUE(p.linkSlot == p.newestSpark && p.linkId == spark.randomId);
            ASSERT_TRUE(spark.flags == FF_TRAIL && spark.position.z == at.z && SameColor(p.color, spark.color));
            ASSERT_EQ(p.sparkHoldTime, spark.holdTime);
        }
        EXPECT_GT(firstColor, 0);
        EXPECT_LT(firstColor, count);
        // Speeds fill [0, S], doubled in the corkscrew form: among 30 or more someone is near the top.
        EXPECT_GT(fastest, (corkscrew ? 1.4 : 0.7) * maxSpeed);
    }
}

TEST_F(SimTest, WillowParticlesThatFindNoSlotForTheirSparkGoWithout) {
    const Vec3 colors[2] = {Vec3(0.3, 0.3, 0.3), Vec3(0.4, 0.3, 0.3)};
    // 21 free slots: ten particles with their sparks, and an eleventh that found no slot for its spark.
    FillPoolExcept(21);
    WillowBurst(Vec3(0, 0, 40), Vec3(), colors, false);
    int particles = 0, sparks = 0;
    for (int slot = POOL_SIZE - 21; slot < POOL_SIZE; ++slot) {
        particles += g_fireworkPool.slots[slot]->flags == (FF_TRAIL | FF_ROCKET);
        sparks += g_fireworkPool.slots[slot]->flags == FF_TRAIL;
    }
    EXPECT_EQ(11, particles);
    EXPECT_EQ(10, sparks);
    EXPECT_EQ(1, g_fireworkPool.slots[POOL_SIZE - 1]->sparksEmitted);
    EXPECT_EQ(-1, g_fireworkPool.slots[POOL_SIZE - 1]->newestSpark);
}

TEST_F(SimTest, WaverSpreadsSwingingTrailedStarsEvenly) {
    const Vec3 at(-6, 0, 38), parent(1, 0.25, 0);
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        int cursor = StartBurstCase(seed);
        double phi = 6.28318 * NextRandom();
        Vec3 first = RandomBurstColor();
        Vec3 second = RandomBurstColor();
        double timeOffset = 0.5 - g_settings.frequency * 0.008333333333333333;
        int count = int(40 + 20 * NextRandom());
        RewindStreams(seed, cursor);
        WaverBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(count), made.size());  // no trail spark yet: the first comes from the star's update
        // rand() per star: two for its id, then its side of the swing and its colour, each the first on 0.
        SeedRand(seed);
        Rand();
        Rand();
        for (const Firework* f : made) {
            Rand();
            Rand();
            ASSERT_EQ(Rand() % 2 == 0 ? 0.0 : 3.14159, f->corkscrewPhase);
            ASSERT_TRUE(SameColor(Rand() % 2 == 0 ? first : second, f->color));
            phi += 6.28318 / count;
            if (phi > 6.28318) phi -= 6.28318;
            ASSERT_TRUE(f->flags == (FF_STAR | FF_TRAIL) && f->corkscrew);
            ASSERT_LE(AheadOf(f->heading, phi), 5.0 / count + 1e-9);
            ASSERT_TRUE(LeavesAlongHeading(*f, parent));
            ASSERT_TRUE(SameColor(f->color, f->trailColor));
            // Every star starts on its true position.
            Vec3 drawn = f->GetDrawPosition();
            ASSERT_TRUE(AllWithin({{"speed", LaunchSpeed(*f, parent), 5, 55},
                                   {"radius", f->corkscrewRadius, 1},
                                   {"rate", f->corkscrewRate, 0.2, 0.5},
                                   {"turn rate", f->turnRate, 10},
                                   {"drag", f->drag, 0.15},
                                   {"hold", f->holdTime, timeOffset, timeOffset + 2},
                                   {"fade", f->fadeTime, 2},
                                   {"trail rate", f->trailRate, 15},
                                   {"spark hold", f->sparkHoldTime, 0},
                                   {"spark fade", f->sparkFadeTime, 0.5},
                                   {"drawn x", drawn.x, at.x - 1e-5, at.x + 1e-5},
                                   {"drawn z", drawn.z, at.z - 1e-5, at.z + 1e-5}}));
        }
    }
}

TEST_F(SimTest, ChainReactionPopsASmallBlastAndThrowsEvenlySpacedChildren) {
    const Vec3 at(4, 0, 42), parent(0, 0.5, 2);
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        // The centre blast on an empty pool gives its size and takes its draws; then the chain's own.
        int cursor = StartBurstCase(seed);
        BlastBurst(at, parent, true);
        int centre = CountLiveFireworks();
        double even = 6.28318 * NextRandom();
        Vec3 color = RandomBurstColor();
        int count = int(2 + 4 * NextRandom());
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        RewindStreams(seed, cursor);
        ChainReactionBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(centre + count), made.size());
        for (int i = 0; i < centre; ++i) ASSERT_EQ(FF_ROCKET, made[i]->flags);
        for (int i = 0; i < count; ++i) {
            const Firework& child = *made[centre + i];
            even += 6.28318 / count;
            if (even > 6.28318) even -= 6.28318;
            ASSERT_TRUE(child.flags == (FF_TRAIL | FF_ROCKET) && child.fuseLit);
            ASSERT_EQ(BURST_SMALL_BLAST, child.burstKind);
            ASSERT_LE(AheadOf(child.heading, even), 5.0 / count + 1e-9);
            ASSERT_TRUE(LeavesAlongHeading(child, parent));
            ASSERT_TRUE(SameColor(color, child.color) && SameColor(color, child.trailColor));
            ASSERT_TRUE(AllWithin({{"speed", LaunchSpeed(child, parent), 40, 60},
                                   {"vy", child.velocity.y, parent.y},
                                   {"drag", child.drag, 0.02},
                                   {"hold", child.holdTime, 10.0 - g_settings.frequency * 0.03333333333333333},
                                   {"fade", child.fadeTime, 2},
                                   {"trail rate", child.trailRate, 20},
                                   {"spark hold", child.sparkHoldTime, 0},
                                   {"spark fade", child.sparkFadeTime, 0.5},
                                   {"fuse", child.fuseTime, 0.25, 0.55}}));
        }
    }
}

TEST_F(SimTest, CentreBlastFillingThePoolLeavesNoChildrenButTakesTheirDraws) {
    FillPoolExcept(50);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    for (int slot = POOL_SIZE - 50; slot < POOL_SIZE; ++slot) ASSERT_EQ(FF_ROCKET, g_fireworkPool.slots[slot]->flags);

    // On a full pool: the centre blast's draws, then the chain's own, then the first child's angle and speed.
    FillPoolExcept(0);
    RewindStreams(9, 3000);
    BlastBurst(Vec3(0, 0, 40), Vec3(), true);
    NextRandom();
    RandomBurstColor();
    for (int i = 0; i < 3; ++i) NextRandom();
    int cursor = g_randomTable.cursor;
    int nextRand = Rand();
    RewindStreams(9, 3000);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    EXPECT_EQ(cursor, g_randomTable.cursor);
    EXPECT_EQ(nextRand, Rand());
}
