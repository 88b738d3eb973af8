#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "settings/settings.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, OpeningBurstIsAOneColouredSprayWithNoVolley) {
    const Vec3 at(-20, 0, 38), parent(-40, 0, 0);
    for (uint32_t seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        g_settings.frequency = seed % 2 ? 30 : 60;
        DeleteAllFireworks();
        g_fireworkPool.nextSlotCursor = 0;
        RewindStreams(seed, int(seed * 29));
        double maxSpeed = 50 + 170 * NextRandom();
        Vec3 color = RandomBurstColor();
        double timeOffset = g_settings.frequency * -0.008333333333333333;
        int count = int(200 + 100 * NextRandom());
        RewindStreams(seed, int(seed * 29));
        OpeningBurst(at, parent);

        std::vector<Firework*> made = RecordsIn(OccupiedSlots());
        ASSERT_EQ(size_t(count), made.size());
        for (const Firework* f : made) {
            ASSERT_EQ(FF_ROCKET, f->flags);
            ASSERT_EQ(at.z, f->position.z);
            ASSERT_TRUE(SameColor(color, f->color));
            ASSERT_TRUE(LeavesAlongHeading(*f, parent));
            ASSERT_LE(LaunchSpeed(*f, parent), maxSpeed + 1e-9);
            ASSERT_EQ(10.0, f->turnRate);
            ASSERT_GE(f->drag, 0.15);
            ASSERT_LE(f->drag, 0.25);
            ASSERT_GE(f->holdTime, timeOffset);
            ASSERT_LE(f->holdTime, timeOffset + 1);
            ASSERT_GE(f->fadeTime, 1.0);
            ASSERT_LE(f->fadeTime, 2.0);
            ASSERT_EQ(BURST_NONE, f->burstKind);
        }
    }
}

TEST_F(SimTest, OpeningSparksWithANegativeHoldOnlyFade) {
    g_settings.frequency = 60;
    OpeningBurst(Vec3(0, 0, 40), Vec3());
    int fadingAtOnce = 0;
    for (Firework* f : RecordsIn(OccupiedSlots())) {
        ASSERT_GE(f->holdTime, -0.5);
        ASSERT_LE(f->holdTime, 0.5);
        if (f->holdTime > 0) continue;
        ++fadingAtOnce;
        double fade = f->fadeLeft;
        f->Update(0.02);
        ASSERT_EQ(-1.0, f->holdTime);
        ASSERT_DOUBLE_EQ(fade - 0.02, f->fadeLeft);
    }
    EXPECT_GT(fadingAtOnce, 50);
}
