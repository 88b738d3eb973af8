#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, WaverSpreadsSwingingTrailedStarsEvenly) {
    const Vec3 at(-6, 0, 38), parent(1, 0.25, 0);
    const uint32_t frequencies[3] = {10, 30, 60};
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        g_settings.frequency = frequencies[seed % 3];
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        RewindStreams(seed, int(seed * 17));
        double phi = 6.28318 * NextRandom();
        Vec3 first = RandomBurstColor();
        Vec3 second = RandomBurstColor();
        double timeOffset = 0.5 - g_settings.frequency * 0.008333333333333333;
        int count = int(40 + 20 * NextRandom());
        RewindStreams(seed, int(seed * 17));
        WaverBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(count), made.size());  // no trail spark yet: the first comes from the star's update
        int flipped = 0, firstColor = 0;
        for (const Firework* f : made) {
            const Firework& star = *f;
            phi += 6.28318 / count;
            if (phi > 6.28318) phi -= 6.28318;
            ASSERT_EQ(FF_STAR | FF_TRAIL, star.flags);
            ASSERT_LE(AheadOf(star.heading, phi), 5.0 / count + 1e-9);
            ASSERT_TRUE(LeavesAlongHeading(star, parent));
            ASSERT_GE(LaunchSpeed(star, parent), 5 - 1e-9);
            ASSERT_LE(LaunchSpeed(star, parent), 55 + 1e-9);
            ASSERT_TRUE(star.corkscrew);
            ASSERT_EQ(1.0, star.corkscrewRadius);
            ASSERT_TRUE(star.corkscrewPhase == 0.0 || star.corkscrewPhase == 3.14159);
            flipped += star.corkscrewPhase != 0.0;
            ASSERT_GE(star.corkscrewRate, 0.2);
            ASSERT_LE(star.corkscrewRate, 0.5);
            ASSERT_EQ(10.0, star.turnRate);
            ASSERT_EQ(0.15, star.drag);
            ASSERT_EQ(0.1, star.starSize);
            ASSERT_TRUE(SameColor(first, star.color) || SameColor(second, star.color));
            firstColor += SameColor(first, star.color);
            ASSERT_GE(star.holdTime, timeOffset);
            ASSERT_LE(star.holdTime, timeOffset + 2);
            ASSERT_EQ(2.0, star.fadeTime);
            ASSERT_TRUE(SameColor(star.color, star.trailColor));
            ASSERT_EQ(15.0, star.trailRate);
            ASSERT_EQ(0.0, star.sparkHoldTime);
            ASSERT_EQ(0.5, star.sparkFadeTime);
            ASSERT_EQ(0, star.sparksEmitted);
            ASSERT_EQ(BURST_NONE, star.burstKind);
            // Every star starts on its true position.
            Vec3 drawn = star.GetDrawPosition();
            ASSERT_NEAR(at.x, drawn.x, 1e-5);
            ASSERT_NEAR(at.z, drawn.z, 1e-5);
        }
        EXPECT_GT(flipped, 0);
        EXPECT_LT(flipped, count);
        EXPECT_GT(firstColor, 0);
        EXPECT_LT(firstColor, count);
    }
}

TEST_F(SimTest, WaverTimeOffsetShrinksWithTheLaunchRate) {
    const uint32_t frequencies[3] = {10, 30, 60};
    const double offsets[3] = {0.4166666666666667, 0.25, 0.0};
    for (int i = 0; i < 3; ++i) {
        g_settings.frequency = frequencies[i];
        DeleteAllFireworks();
        WaverBurst(Vec3(0, 0, 40), Vec3());
        double lowest = 1e9, highest = -1e9;
        for (Firework* f : RecordsIn(OccupiedSlots())) {
            lowest = std::min(lowest, f->holdTime);
            highest = std::max(highest, f->holdTime);
        }
        EXPECT_GE(lowest, offsets[i] - 1e-12);
        EXPECT_LE(highest, offsets[i] + 2 + 1e-12);
        EXPECT_LT(lowest, offsets[i] + 0.3);
    }
}
