#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "tests/unit/burst_support.h"

TEST_F(SimTest, BurstColourPicksAFamilyByRandModSevenAndDrawsItsComponentsRedFirst) {
    // Per family: base and width of red, green, blue; a width of 0 is a fixed component (no draw).
    const double families[7][3][2] = {
        {{0.8, 0.2}, {0.8, 0.2}, {0.2, 0}},   {{0.2, 0}, {0.8, 0.2}, {0.8, 0.2}},
        {{0.8, 0.2}, {0.2, 0}, {0.8, 0.2}},   {{0.9, 0.1}, {0.3, 0.15}, {0.3, 0.15}},
        {{0.3, 0.2}, {0.8, 0.2}, {0.3, 0.2}}, {{0.3, 0.2}, {0.3, 0.2}, {0.8, 0.2}},
        {{0.9, 0.1}, {0.45, 0.1}, {0.15, 0.1}}};
    for (int family = 0; family < 7; ++family) {
        uint32_t seed = 0;
        for (;; ++seed) {
            RewindStreams(seed, 40);
            if (Rand() % 7 == family) break;
        }
        RewindStreams(seed, 40);
        Vec3 c = RandomBurstColor();
        const double components[3] = {c.x, c.y, c.z};
        int entry = 41;
        for (int i = 0; i < 3; ++i) {
            const double* range = families[family][i];
            double expected = range[1] == 0 ? range[0] : range[0] + range[1] * g_randomTable.values[entry++];
            EXPECT_EQ(expected, components[i]) << "family " << family << " component " << i;
        }
        EXPECT_EQ(entry - 1, g_randomTable.cursor) << family;
    }
}

TEST_F(SimTest, EveryBurstOnAFullPoolMakesNothing) {
    FillPoolExcept(0);
    const Vec3 colors[2] = {Vec3(1, 0, 0), Vec3(0, 1, 0)};
    SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_STEADY);
    BlastBurst(Vec3(0, 0, 40), Vec3(), false);
    BlastBurst(Vec3(0, 0, 40), Vec3(), true);
    WillowBurst(Vec3(0, 0, 40), Vec3(), colors, false);
    CorkScrewBurst(Vec3(0, 0, 40), Vec3(), colors);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    WaverBurst(Vec3(0, 0, 40), Vec3());
    OpeningBurst(Vec3(0, 0, 40), Vec3());
    for (Firework* f : g_fireworkPool.slots) ASSERT_EQ(0, f->flags);
}

TEST_F(SimTest, DrawsBeforeAFailedSpawnAreStillTaken) {
    // Spherical on a full pool: S, T, D, the two-colour rand(), both colours, N, then the first star's
    // angle and speed; the failed spawn ends it, so the closing volley's rand() is never drawn.
    FillPoolExcept(0);
    RewindStreams(77, 500);
    for (int i = 0; i < 3; ++i) NextRandom();
    Rand();
    RandomBurstColor();
    RandomBurstColor();
    for (int i = 0; i < 3; ++i) NextRandom();
    int cursor = g_randomTable.cursor;
    int nextRand = Rand();

    RewindStreams(77, 500);
    SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_STEADY);
    EXPECT_EQ(cursor, g_randomTable.cursor);
    EXPECT_EQ(nextRand, Rand());
}
