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

}  // namespace

TEST_F(SimTest, StarIsAFanOfSixTrianglesFromTheOctagonsFirstVertex) {
    Firework* f = Still(7, Vec3(1, 2, 3), FF_STAR, Vec3(0.5, 0.25, 1));
    f->starSize = 0.12;
    f->Draw(list);
    ASSERT_EQ(18, list.VertexCount());

    const double s = 0.12, a = 1.414 * 0.12;
    const double octagon[8][2] = {{s, s}, {a, 0}, {s, -s}, {0, -a}, {-s, -s}, {-a, 0}, {-s, s}, {0, a}};
    const DrawVertex* v = list.Vertices();
    for (int t = 0; t < 6; ++t) {
        const int corners[3] = {0, t + 1, t + 2};
        for (int k = 0; k < 3; ++k) {
            SCOPED_TRACE(testing::Message() << "triangle " << t << " vertex " << k);
            ExpectAt(v[3 * t + k], 1 + octagon[corners[k]][0], 2, 3 + octagon[corners[k]][1]);
            ExpectColor(v[3 * t + k], 0.5, 0.25, 1);
        }
    }
}

TEST_F(SimTest, StarIsDrawnAtItsSwingingPosition) {
    Firework* f = Still(7, Vec3(0, 0, 10), FF_STAR, Vec3(1, 1, 1));
    f->SetHeading(0, 0);
    f->EnableCorkscrew(1.0, 1.570795, 0.2);
    f->Draw(list);
    ASSERT_EQ(18, list.VertexCount());
    ExpectAt(list.Vertices()[0], 0.1, 0, 11.1);
}

namespace {

// The rocket quad (v0 v1 v2)(v0 v2 v3): its tail end is the last vertex written.
void ExpectRocket(const DrawList& list, int first, const Vec3& at, double heading, double tail) {
    const DrawVertex* v = list.Vertices() + first;
    double c = std::cos(heading), s = std::sin(heading);
    const double local[4][2] = {{0.1, 0.1}, {0.2, 0}, {0.1, -0.1}, {tail, 0}};
    const int order[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(testing::Message() << "rocket vertex " << i);
        const double* p = local[order[i]];
        ExpectAt(v[i], at.x + p[0] * c - p[1] * s, at.y, at.z + p[0] * s + p[1] * c);
    }
}

}  // namespace

TEST_F(SimTest, RocketTailGrowsWithSpeedUpToFourUnits) {
    const double speeds[3] = {0, 5, 50};
    const double tails[3] = {0, -1.0, -4.0};
    for (int i = 0; i < 3; ++i) {
        list.Clear();
        Firework* f = Still(20 + i, Vec3(3, 1, 10), FF_ROCKET, Vec3(1, 0.5, 0));
        f->velocity = Vec3(0.6 * speeds[i], 0, 0.8 * speeds[i]);
        f->SetHeading(0, 0);
        f->Draw(list);
        ASSERT_EQ(6, list.VertexCount());
        ExpectRocket(list, 0, Vec3(3, 1, 10), 0, tails[i]);
        const DrawVertex* v = list.Vertices();
        ExpectColor(v[5], 0, 0, 0);  // the streak fades to black at its end
        ExpectColor(v[0], 1, 0.5, 0);
        ExpectColor(v[1], 1, 0.5, 0);
        ExpectColor(v[4], 1, 0.5, 0);
    }
}

TEST_F(SimTest, RocketWithAQuarterTurnHeadingPointsStraightUp) {
    Firework* f = Still(20, Vec3(-4, 0, 12), FF_ROCKET, Vec3(1, 1, 1));
    f->velocity = Vec3(0, 0, 10);
    f->SetHeading(1.570795, 0);
    f->Draw(list);
    ASSERT_EQ(6, list.VertexCount());
    const DrawVertex* v = list.Vertices();
    ExpectAt(v[1], -4, 0, 12.2);  // the nose
    ExpectAt(v[5], -4, 0, 10.0);  // the tail, 0.2 per unit of speed, straight below
    ExpectRocket(list, 0, Vec3(-4, 0, 12), 1.570795, -2.0);
}

TEST_F(SimTest, TrailQuadRunsToTheLinkedSparkWithDiagonalOffsets) {
    Firework* spark = Still(30, Vec3(1, 0, 9), FF_TRAIL, Vec3(0, 1, 0));
    spark->SetColor(Vec3(0, 1, 0), -1.0, 0.4, COLOR_STEADY);
    spark->fadeLeft = 0.2;
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
    f->SetTrailLink(30, spark->randomId);
    f->Draw(list);
    ASSERT_EQ(6, list.VertexCount());
    const DrawVertex* v = list.Vertices();
    // a.x < b.x: V = -0.1; no flip: U = 0.1.
    ExpectAt(v[0], -0.1, 0, 10.1);
    ExpectAt(v[1], 0.1, 0, 9.9);
    ExpectAt(v[2], 1.1, 0, 8.9);
    ExpectAt(v[3], -0.1, 0, 10.1);
    ExpectAt(v[4], 1.1, 0, 8.9);
    ExpectAt(v[5], 0.9, 0, 9.1);
    ExpectColor(v[0], 1, 0, 0);
    ExpectColor(v[1], 1, 0, 0);
    ExpectColor(v[2], 0, 0.5, 0);  // the spark's own fading colour
    ExpectColor(v[5], 0, 0.5, 0);
    EXPECT_EQ(30, f->linkSlot);
}

TEST_F(SimTest, FlippedTrailTakesTheOtherDiagonal) {
    Firework* spark = Still(30, Vec3(-1, 0, 9), FF_TRAIL, Vec3(0, 1, 0));
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
    f->flipTrailOffset = 1;
    f->SetTrailLink(30, spark->randomId);
    f->Draw(list);
    ASSERT_EQ(6, list.VertexCount());
    const DrawVertex* v = list.Vertices();
    // a.x >= b.x: V = 0.1; flipped: U = -0.1.
    ExpectAt(v[0], 0.1, 0, 9.9);
    ExpectAt(v[1], -0.1, 0, 10.1);
    ExpectAt(v[2], -1.1, 0, 9.1);
    ExpectAt(v[5], -0.9, 0, 8.9);
}

TEST_F(SimTest, BrokenTrailLinkIsDroppedAndDrawsNothing) {
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
    f->SetTrailLink(30, 12345);  // empty slot
    f->Draw(list);
    EXPECT_EQ(0, list.VertexCount());
    EXPECT_EQ(-1, f->linkSlot);
    EXPECT_EQ(0, f->linkId);

    Firework* reused = Still(40, Vec3(1, 0, 9), FF_TRAIL, Vec3(0, 1, 0));
    f->SetTrailLink(40, reused->randomId + 1);  // the slot now holds another record
    f->Draw(list);
    EXPECT_EQ(0, list.VertexCount());
    EXPECT_EQ(-1, f->linkSlot);
    EXPECT_EQ(0, f->linkId);
}

TEST_F(SimTest, TrailLinkBrokenBySlotReuseIsNoticedThroughTheFramePasses) {
    Firework* emitter = Still(100, Vec3(0, 0, 20), FF_TRAIL, Vec3(1, 1, 1));
    emitter->SetGravityScale(0);
    emitter->SetTrail(Vec3(1, 1, 1), 20.0, 0.0, 0.5);
    emitter->Update(0.05);
    int oldest = FireworkAt(emitter->newestSpark)->linkSlot;
    int newest = emitter->newestSpark;
    ASSERT_NE(-1, oldest);

    // The oldest spark dies, and another record takes its slot.
    delete g_fireworkPool.slots[oldest];
    g_fireworkPool.slots[oldest] = nullptr;
    g_fireworkPool.nextSlotCursor = oldest - 1;
    Firework* stranger = PlaceRecord(FindFreeSlot(), Vec3(5, 0, 5), Vec3(), 0);
    ASSERT_EQ(stranger, g_fireworkPool.slots[oldest]);

    DrawPass(list);
    EXPECT_EQ(-1, FireworkAt(newest)->linkSlot);
    EXPECT_EQ(newest, emitter->linkSlot);  // the emitter's own link still holds
}

TEST_F(SimTest, OutOfRangeLinkDrawsNoTrail) {
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL, Vec3(1, 0, 0));
    f->Draw(list);
    f->SetTrailLink(POOL_SIZE, 0);
    f->Draw(list);
    EXPECT_EQ(0, list.VertexCount());
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
    ExpectColor(rocket[0], 0, 0.75, 0);
    ExpectColor(rocket[1], 0, 0.75, 0);
    ExpectColor(rocket[4], 0, 0.75, 0);
    ExpectColor(rocket[5], 0, 0, 0);

    // With the link broken, the nose keeps the record's own colour.
    list.Clear();
    delete g_fireworkPool.slots[30];
    g_fireworkPool.slots[30] = nullptr;
    f->Draw(list);
    ASSERT_EQ(6, list.VertexCount());
    ExpectColor(list.Vertices()[0], 1, 0, 0);
}

TEST_F(SimTest, SteadyColourHoldsThenFollowsTheFade) {
    Firework* f = Still(5, Vec3(), FF_STAR, Vec3(0.8, 0.4, 1.0));
    f->SetColor(Vec3(0.8, 0.4, 1.0), 0.5, 0.4, COLOR_STEADY);
    f->fadeLeft = 0.1;  // still holding: the fade does not count yet
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0.8, 0.4, 1.0);

    list.Clear();
    f->holdTime = -1.0;
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0.2, 0.1, 0.25);

    list.Clear();
    f->holdTime = 0.0;  // a hold of exactly zero is over
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0.2, 0.1, 0.25);

    for (double fadeTime : {0.000005, 0.00001}) {
        list.Clear();
        f->fadeTime = fadeTime;
        f->fadeLeft = fadeTime / 2;
        f->Draw(list);
        ExpectColor(list.Vertices()[0], 0, 0, 0);
    }
}

TEST_F(SimTest, FlickerScalesByANewTableValueOnEveryDraw) {
    Firework* f = Still(5, Vec3(), FF_STAR, Vec3(0.8, 0.4, 1.0));
    f->SetColor(Vec3(0.8, 0.4, 1.0), 0.5, 0.4, COLOR_FLICKER);
    g_randomTable.cursor = 100;
    double n1 = g_randomTable.values[101];
    double n2 = g_randomTable.values[102];
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0.8 * n1, 0.4 * n1, 1.0 * n1);

    list.Clear();
    f->holdTime = -1.0;
    f->fadeLeft = 0.1;
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0.8 * 0.25 * n2, 0.4 * 0.25 * n2, 0.25 * n2);

    // Black once the fade time is too short, yet the value is still drawn.
    list.Clear();
    f->fadeTime = 0.00001;
    f->Draw(list);
    ExpectColor(list.Vertices()[0], 0, 0, 0);
    EXPECT_EQ(103, g_randomTable.cursor);
}

TEST_F(SimTest, DrawPassDrawsEveryRecordInSlotOrderDeadOnesToo) {
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
}

TEST_F(SimTest, DrawListKeepsItsStorageFromFrameToFrame) {
    for (int slot = 1; slot <= 500; ++slot) Still(slot, Vec3(slot * 0.1, 0, 10), FF_STAR | FF_ROCKET, Vec3(1, 1, 1));
    DrawPass(list);
    ASSERT_EQ(500 * 24, list.VertexCount());
    const DrawVertex* storage = list.Vertices();
    for (int frame = 0; frame < 3; ++frame) {
        list.Clear();
        EXPECT_EQ(0, list.VertexCount());
        DrawPass(list);
        EXPECT_EQ(storage, list.Vertices());
    }
    EXPECT_EQ(500 * 24, list.VertexCount());
}
