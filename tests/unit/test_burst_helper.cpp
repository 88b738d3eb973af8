#include <gtest/gtest.h>

#include "fireworks/burst.h"
#include "tests/unit/burst_support.h"
#include "tests/unit/sim_fixture.h"

namespace {

// The family a colour belongs to, or -1 when it fits none of the seven.
int ColorFamily(const Vec3& c) {
    auto in = [](double v, double low, double width) { return v >= low && v <= low + width; };
    if (in(c.x, 0.8, 0.2) && in(c.y, 0.8, 0.2) && c.z == 0.2) return 0;
    if (c.x == 0.2 && in(c.y, 0.8, 0.2) && in(c.z, 0.8, 0.2)) return 1;
    if (in(c.x, 0.8, 0.2) && c.y == 0.2 && in(c.z, 0.8, 0.2)) return 2;
    if (in(c.x, 0.9, 0.1) && in(c.y, 0.3, 0.15) && in(c.z, 0.3, 0.15)) return 3;
    if (in(c.x, 0.3, 0.2) && in(c.y, 0.8, 0.2) && in(c.z, 0.3, 0.2)) return 4;
    if (in(c.x, 0.3, 0.2) && in(c.y, 0.3, 0.2) && in(c.z, 0.8, 0.2)) return 5;
    if (in(c.x, 0.9, 0.1) && in(c.y, 0.45, 0.1) && in(c.z, 0.15, 0.1)) return 6;
    return -1;
}

}  // namespace

TEST_F(SimTest, BurstColoursComeFromSevenFamiliesPickedByRandModSeven) {
    int seen[7] = {};
    for (int i = 0; i < 7000; ++i) {
        RewindStreams(uint32_t(i), i % 9000);
        int k = Rand() % 7;
        RewindStreams(uint32_t(i), i % 9000);
        Vec3 c = RandomBurstColor();
        ASSERT_EQ(k, ColorFamily(c)) << c.x << " " << c.y << " " << c.z;
        for (double component : {c.x, c.y, c.z}) {
            ASSERT_GE(component, 0.15);
            ASSERT_LE(component, 1.0);
        }
        ++seen[k];
    }
    for (int k = 0; k < 7; ++k) EXPECT_GT(seen[k], 800) << "family " << k;
}

TEST_F(SimTest, BurstColourDrawsItsVaryingComponentsRedFirst) {
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
            if (range[1] == 0) {
                EXPECT_EQ(range[0], components[i]) << family << " " << i;
            } else {
                EXPECT_EQ(range[0] + range[1] * g_randomTable.values[entry++], components[i]) << family << " " << i;
            }
        }
        EXPECT_EQ(entry - 1, g_randomTable.cursor) << family;
    }
}

TEST_F(SimTest, SpawnedParticleAddsAPolarOffsetToTheParentVelocity) {
    Firework* p = SpawnBurstParticle(Vec3(1, 2, 3), Vec3(4, -7, 6), 0.5, 10, FF_STAR);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(p, g_fireworkPool.slots[1]);
    EXPECT_EQ(4 + 10 * std::cos(0.5), p->velocity.x);
    EXPECT_EQ(-7.0, p->velocity.y);
    EXPECT_EQ(6 + 10 * std::sin(0.5), p->velocity.z);
    EXPECT_EQ(2.0, p->position.y);
    EXPECT_EQ(FF_STAR, p->flags);
    EXPECT_EQ(0.01, p->drag);

    FillPoolExcept(0);
    EXPECT_EQ(nullptr, SpawnBurstParticle(Vec3(), Vec3(), 0, 1, FF_STAR));
}

TEST_F(SimTest, EvenAnglesStepRoundTheCircleWithAForwardJitter) {
    for (int count : {2, 5, 40, 60}) {
        double start = 6.0;
        double phi = start;
        for (int i = 1; i <= count; ++i) {
            int cursor = g_randomTable.cursor;
            double angle = NextEvenAngle(phi, count);
            double even = start + i * (6.28318 / count);
            while (even > 6.28318) even -= 6.28318;
            EXPECT_NEAR(even, phi, 1e-9);
            EXPECT_DOUBLE_EQ(phi + 5 * g_randomTable.values[cursor + 1] / count, angle);
            EXPECT_GE(AheadOf(angle, phi), 0.0);
            EXPECT_LE(AheadOf(angle, phi), 5.0 / count + 1e-12);
        }
    }
}

TEST_F(SimTest, EveryBurstOnAFullPoolMakesNothing) {
    FillPoolExcept(0);
    const Vec3 colors[2] = {Vec3(1, 0, 0), Vec3(0, 1, 0)};
    SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_STEADY);
    SphericalBurst(Vec3(0, 0, 40), Vec3(), COLOR_FLICKER);
    BlastBurst(Vec3(0, 0, 40), Vec3(), false);
    BlastBurst(Vec3(0, 0, 40), Vec3(), true);
    WillowBurst(Vec3(0, 0, 40), Vec3(), colors, false);
    CorkScrewBurst(Vec3(0, 0, 40), Vec3(), colors);
    ChainReactionBurst(Vec3(0, 0, 40), Vec3());
    WaverBurst(Vec3(0, 0, 40), Vec3());
    OpeningBurst(Vec3(0, 0, 40), Vec3());
    EXPECT_EQ(POOL_SIZE, LiveRecords());
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
