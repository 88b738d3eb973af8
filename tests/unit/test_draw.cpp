#include <cmath>

#include <gtest/gtest.h>

#include "engine/show.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "tests/unit/sim_fixture.h"

namespace {

void ExpectAt(const DrawVertex& v, double x, double y, double z) {
    EXPECT_NEAR(x, v.x, 1e-5);
    EXPECT_NEAR(y, v.y, 1e-5);
    EXPECT_NEAR(z, v.z, 1e-5);
}

void ExpectColor(const DrawVertex& v, double r, double g, double b) {
    EXPECT_FLOAT_EQ(float(r), v.r);
    EXPECT_FLOAT_EQ(float(g), v.g);
    EXPECT_FLOAT_EQ(float(b), v.b);
}

// A still record that is drawn and never moves or fades unless a test says so.
Firework* Still(int slot, const Vec3& position, int flags, const Vec3& color) {
    Firework* f = PlaceRecord(slot, position, Vec3(), flags);
    f->SetColor(color, 5.0, 2.0, COLOR_STEADY);
    return f;
}

// The quad (v0 v1 v2)(v0 v2 v3), as GL splits it.
void ExpectQuad(const DrawVertex* v, const double (&corners)[4][3]) {
    const int order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "quad vertex " << i);
        ExpectAt(v[i], corners[order[i]][0], corners[order[i]][1], corners[order[i]][2]);
    }
}

}  // namespace

TEST_F(SimTest, StarIsAFanOfSixTrianglesFromTheOctagonsFirstVertexAtItsSwingingPosition) {
    Firework* f = Still(7, Vec3(1, 2, 3), FF_STAR, Vec3(0.5, 0.25, 1));
    f->starSize = 0.12;
    f->SetHeading(0, 0);
    f->EnableCorkscrew(1.0, 1.570795, 0.2);  // heading along +x: swung one unit along +z
    f->Draw(list);
    ASSERT_EQ(18, list.VertexCount());

    const double s = 0.12, a = 1.414 * 0.12;
    const double octagon[8][2] = {{s, s}, {a, 0}, {s, -s}, {0, -a}, {-s, -s}, {-a, 0}, {-s, s}, {0, a}};
    const DrawVertex* v = list.Vertices();
    for (int t = 0; t < 6; ++t) {
        const int corners[3] = {0, t + 1, t + 2};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "triangle " << t << " vertex " << k);
            ExpectAt(v[3 * t + k], 1 + octagon[corners[k]][0], 2, 4 + octagon[corners[k]][1]);
            ExpectColor(v[3 * t + k], 0.5, 0.25, 1);
        }
    }
}

TEST_F(SimTest, RocketTailGrowsWithSpeedUpToFourUnitsAndFadesToBlack) {
    struct Case {
        double speed, heading, tail;
    };
    const Case cases[] = {{0, 0, 0}, {5, 0, -1.0}, {50, 0, -4.0}, {10, 1.570795, -2.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " heading " << c.heading);
        list.Clear();
        Firework* f = Still(20, Vec3(3, 1, 10), FF_ROCKET, Vec3(1, 0.5, 0));
        f->velocity = Vec3(0.6 * c.speed, 0, 0.8 * c.speed);
        f->SetHeading(c.heading, 0);
        f->Draw(list);
        ASSERT_EQ(6, list.VertexCount());
        double cs = std::cos(c.heading), sn = std::sin(c.heading);
        const double local[4][2] = {{0.1, 0.1}, {0.2, 0}, {0.1, -0.1}, {c.tail, 0}};
        double corners[4][3];
        for (int i = 0; i < 4; ++i) {
            corners[i][0] = 3 + local[i][0] * cs - local[i][1] * sn;
            corners[i][1] = 1;
            corners[i][2] = 10 + local[i][0] * sn + local[i][1] * cs;
        }
        ExpectQuad(list.Vertices(), corners);
        const DrawVertex* v = list.Vertices();
        for (int i : {0, 1, 2, 3, 4}) ExpectColor(v[i], 1, 0.5, 0);
        ExpectColor(v[5], 0, 0, 0);
    }
    // A quarter turn points the nose straight up.
    ExpectAt(list.Vertices()[1], 3, 1, 10.2);
}

TEST_F(SimTest, TrailQuadRunsToTheLinkedSparkWithDiagonalOffsets) {
    struct Case {
        double sparkX;
        int flip;
        double corners[4][3];
    };
    // a.x < b.x gives V = -0.1, else 0.1; a flip gives U = -0.1, else 0.1.
    const Case cases[] = {
        {1, 0, {{-0.1, 0, 10.1}, {0.1, 0, 9.9}, {1.1, 0, 8.9}, {0.9, 0, 9.1}}},
        {-1, 1, {{0.1, 0, 9.9}, {-0.1, 0, 10.1}, {-1.1, 0, 9.1}, {-0.9, 0, 8.9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "flip " << c.flip);
        list.Clear();
        Firework* spark = Still(30, Vec3(c.sparkX, 0, 9), FF_TRAIL, Vec3(0, 1, 0));
        spark->SetColor(Vec3(0, 1, 0), -1.0, 0.4, COLOR_STEADY);
        spark->fadeLeft = 0.2;
        Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
        f->flipTrailOffset = c.flip;
        f->SetTrailLink(30, spark->randomId);
        f->Draw(list);
        ASSERT_EQ(6, list.VertexCount());
        ExpectQuad(list.Vertices(), c.corners);
        const DrawVertex* v = list.Vertices();
        ExpectColor(v[0], 1, 0, 0);
        ExpectColor(v[1], 1, 0, 0);
        ExpectColor(v[2], 0, 0.5, 0);  // the spark's own fading colour
        ExpectColor(v[5], 0, 0.5, 0);
        EXPECT_EQ(30, f->linkSlot);
    }
}

TEST_F(SimTest, BrokenTrailLinkIsDroppedAndDrawsNothing) {
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
    Firework* reused = Still(40, Vec3(1, 0, 9), FF_TRAIL, Vec3(0, 1, 0));
    // An empty slot, a slot that now holds another record, and slots outside the pool.
    const int links[4][2] = {{30, 12345}, {40, reused->randomId + 1}, {POOL_SIZE, 0}, {-1, 0}};
    for (const auto& link : links) {
        f->SetTrailLink(link[0], link[1]);
        f->Draw(list);
        EXPECT_EQ(0, list.VertexCount()) << link[0];
        if (link[0] >= 0 && link[0] < POOL_SIZE) {
            EXPECT_EQ(-1, f->linkSlot);
            EXPECT_EQ(0, f->linkId);
        }
    }
}

TEST_F(SimTest, RocketNoseTakesTheColourTheTrailQuadLeftCurrent) {
    Firework* spark = Still(30, Vec3(0, 0, 9), FF_TRAIL, Vec3(0, 0.75, 0));
    spark->colorMode = COLOR_FLICKER;  // the linked end is coloured by the steady rule all the same
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL | FF_ROCKET, Vec3(1, 0, 0));
    f->SetTrailLink(30, spark->randomId);
    int cursor = g_randomTable.cursor;
    f->Draw(list);
    EXPECT_EQ(cursor, g_randomTable.cursor);
    ASSERT_EQ(12, list.VertexCount());
    const DrawVertex* rocket = list.Vertices() + 6;
    for (int i : {0, 1, 4}) ExpectColor(rocket[i], 0, 0.75, 0);
    ExpectColor(rocket[5], 0, 0, 0);

    // With the link broken, the nose keeps the record's own colour.
    list.Clear();
    delete g_fireworkPool.slots[30];
    g_fireworkPool.slots[30] = nullptr;
    f->Draw(list);
    ASSERT_EQ(6, list.VertexCount());
    ExpectColor(list.Vertices()[0], 1, 0, 0);
}

TEST_F(SimTest, SteadyAndFlickeringColoursHoldThenFollowTheFade) {
    const double r = 0.8, g = 0.4, b = 1.0;
    for (int mode : {COLOR_STEADY, COLOR_FLICKER}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        Firework* f = Still(5, Vec3(), FF_STAR, Vec3(r, g, b));
        f->SetColor(Vec3(r, g, b), 0.5, 0.4, mode);
        f->fadeLeft = 0.1;
        // Still holding: the fade does not count yet. Then a hold of zero is over, and fadeTime 0.4
        // with 0.1 left is a quarter. At or below 0.00001 of fade time it is black.
        const double holds[5] = {0.5, -1.0, 0.0, -1.0, -1.0};
        const double fadeTimes[5] = {0.4, 0.4, 0.4, 0.00001, 0.000005};
        const double scales[5] = {1, 0.25, 0.25, 0, 0};
        g_randomTable.cursor = 100;
        for (int i = 0; i < 5; ++i) {
            list.Clear();
            f->holdTime = holds[i];
            f->fadeTime = fadeTimes[i];
            double n = mode == COLOR_FLICKER ? g_randomTable.values[101 + i] : 1.0;
            f->Draw(list);
            ExpectColor(list.Vertices()[0], r * scales[i] * n, g * scales[i] * n, b * scales[i] * n);
        }
        // A flickering record takes a new table value on every draw, black or not.
        EXPECT_EQ(mode == COLOR_FLICKER ? 105 : 100, g_randomTable.cursor);
    }
}

TEST_F(SimTest, DrawPassDrawsEveryRecordInSlotOrderDeadOnesTooIntoStorageKeptFromFrameToFrame) {
    Firework* rocket = Still(3, Vec3(0, 0, 10), FF_ROCKET, Vec3(1, 0, 0));
    rocket->velocity = Vec3(10, 0, 0);
    Firework* star = Still(9, Vec3(5, 0, 10), FF_STAR, Vec3(0, 0, 1));
    star->dead = true;
    Still(6, Vec3(-5, 0, 10), 0, Vec3(1, 1, 1));  // no shape at all
    DrawPass(list);
    ASSERT_EQ(6 + 18, list.VertexCount());
    const DrawVertex* v = list.Vertices();
    EXPECT_NEAR(0.1, v[0].x, 1e-6);
    // The rocket's black streak end does not leak into the next record.
    ExpectColor(v[6], 0, 0, 1);
    EXPECT_NEAR(5.1, v[6].x, 1e-6);

    for (int slot = 100; slot < 600; ++slot) Still(slot, Vec3(slot * 0.1, 0, 10), FF_STAR | FF_ROCKET, Vec3(1, 1, 1));
    list.Clear();
    DrawPass(list);
    ASSERT_EQ(24 + 500 * 24, list.VertexCount());
    const DrawVertex* storage = list.Vertices();
    for (int frame = 0; frame < 3; ++frame) {
        list.Clear();
        EXPECT_EQ(0, list.VertexCount());
        DrawPass(list);
        EXPECT_EQ(storage, list.Vertices());
    }
}
