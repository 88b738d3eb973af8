#include <cmath>

#include <gtest/gtest.h>

#include "tests/unit/show_support.h"

namespace {

void ExpectVertex(const DrawVertex& v, const Vec3& at, const Vec3& color) {
    EXPECT_NEAR(at.x, v.x, 1e-5);
    EXPECT_NEAR(at.y, v.y, 1e-5);
    EXPECT_NEAR(at.z, v.z, 1e-5);
    EXPECT_FLOAT_EQ(float(color.x), v.r);
    EXPECT_FLOAT_EQ(float(color.y), v.g);
    EXPECT_FLOAT_EQ(float(color.z), v.b);
}

// A polygon as GL splits it: a fan of triangles from its first corner.
void ExpectFan(const DrawList& list, int first, const std::vector<Vec3>& corners, const std::vector<Vec3>& colors) {
    ASSERT_GE(list.VertexCount(), first + 3 * int(corners.size() - 2));
    const DrawVertex* v = list.Vertices() + first;
    for (size_t t = 1; t + 1 < corners.size(); ++t) {
        for (size_t k : {size_t(0), t, t + 1}) {
            SCOPED_TRACE(testing::Message() << "triangle " << t << " corner " << k);
            ExpectVertex(*v++, corners[k], colors[k]);
        }
    }
}

class DrawTest : public ::testing::Test {
protected:
    Firework* Still(int slot, const Vec3& at, int flags, const Vec3& color) {
        Firework* f = Place(world, slot, at, Vec3(), flags);
        f->SetColor(color, 5.0, 2.0, COLOR_STEADY);
        return f;
    }
    FireworkWorld world;
    DrawList list;
};

}  // namespace

TEST_F(DrawTest, StarIsAnOctagonAtItsSwingingPosition) {
    const Vec3 blue(0.5, 0.25, 1);
    Firework* f = Still(7, Vec3(1, 2, 3), FF_STAR, blue);
    f->starSize = 0.12;
    f->EnableCorkscrew(1.0, 1.570795, 0.2);  // heading along +x: swung one unit along +z
    f->Draw(world, list);
    ASSERT_EQ(18, list.VertexCount());
    const double s = 0.12, a = 1.414 * 0.12;
    const double octagon[8][2] = {{s, s}, {a, 0}, {s, -s}, {0, -a}, {-s, -s}, {-a, 0}, {-s, s}, {0, a}};
    std::vector<Vec3> corners;
    for (const auto& o : octagon) corners.push_back(Vec3(1 + o[0], 2, 4 + o[1]));
    ExpectFan(list, 0, corners, std::vector<Vec3>(8, blue));
}

// The tail grows with the speed up to four units behind the nose and fades to black.
TEST_F(DrawTest, RocketPointsAlongItsHeadingWithATailOfItsSpeed) {
    const Vec3 orange(1, 0.5, 0), black;
    const struct {
        double speed, heading, tail;
    } cases[] = {{0, 0, 0}, {5, 0, -1.0}, {50, 0, -4.0}, {10, 1.570795, -2.0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.speed << " heading " << c.heading);
        list.Clear();
        Firework* f = Still(20, Vec3(3, 1, 10), FF_ROCKET, orange);
        f->velocity = Vec3(0.6 * c.speed, 0, 0.8 * c.speed);
        f->SetHeading(c.heading, 0);
        f->Draw(world, list);
        ASSERT_EQ(6, list.VertexCount());
        double cs = std::cos(c.heading), sn = std::sin(c.heading);
        std::vector<Vec3> corners;
        for (const auto& p : {Vec3(0.1, 0, 0.1), Vec3(0.2, 0, 0), Vec3(0.1, 0, -0.1), Vec3(c.tail, 0, 0)})
            corners.push_back(Vec3(3 + p.x * cs - p.z * sn, 1, 10 + p.x * sn + p.z * cs));
        ExpectFan(list, 0, corners, {orange, orange, orange, black});
    }
}

// The quad runs to the linked spark, shading to its fading colour, which the rocket nose then takes.
// A link to an emptied or reused slot is dropped and draws nothing.
TEST_F(DrawTest, TrailQuadRunsToTheLinkedSparkAndABrokenLinkIsDropped) {
    const Vec3 red(1, 0, 0), green(0, 1, 0), halfGreen(0, 0.5, 0), black;
    Firework* spark = Still(30, Vec3(1, 0, 9), FF_TRAIL, green);
    spark->SetColor(green, -1.0, 0.4, COLOR_STEADY);
    spark->fadeLeft = 0.2;
    Firework* f = Still(31, Vec3(0, 0, 10), FF_TRAIL | FF_ROCKET, red);
    f->flipTrailOffset = 1;  // a.x < b.x and the flip give offsets of -0.1 across and along
    f->SetTrailLink(30, spark->randomId);
    f->Draw(world, list);
    ASSERT_EQ(12, list.VertexCount());
    ExpectFan(list, 0, {Vec3(-0.1, 0, 9.9), Vec3(0.1, 0, 10.1), Vec3(1.1, 0, 9.1), Vec3(0.9, 0, 8.9)},
              {red, red, halfGreen, halfGreen});
    ExpectFan(list, 6, {Vec3(0.1, 0, 10.1), Vec3(0.2, 0, 10), Vec3(0.1, 0, 9.9), Vec3(0, 0, 10)},
              {halfGreen, halfGreen, halfGreen, black});

    const int32_t id = spark->randomId;
    for (bool emptied : {false, true}) {
        list.Clear();
        f->SetTrailLink(30, emptied ? id : id + 1);
        if (emptied) {
            delete world.pool.slots[30];
            world.pool.slots[30] = nullptr;
        }
        f->Draw(world, list);
        EXPECT_EQ(6, list.VertexCount());
        EXPECT_EQ(-1, f->linkSlot);
        EXPECT_FLOAT_EQ(1.0f, list.Vertices()[0].r);
    }
}

// A flickering record takes a table value on every draw; steady ones take none. Both hold their
// colour, then follow the fade, black at or below 0.00001 of fade time.
TEST_F(DrawTest, ColoursHoldThenFollowTheFadeAndFlickerDrawsATableValue) {
    world.SeedRand(5);
    world.FillRandomTable();
    for (int mode : {COLOR_STEADY, COLOR_FLICKER}) {
        SCOPED_TRACE(testing::Message() << "mode " << mode);
        Firework* f = Still(5, Vec3(), FF_STAR, Vec3(0.8, 0.4, 1.0));
        f->SetColor(Vec3(0.8, 0.4, 1.0), 0.5, 0.4, mode);
        f->fadeLeft = 0.1;
        const double holds[4] = {0.5, -1.0, -1.0, -1.0};
        const double fadeTimes[4] = {0.4, 0.4, 0.00001, 0.000005};
        const double scales[4] = {1, 0.25, 0, 0};
        world.randomTable.cursor = 100;
        for (int i = 0; i < 4; ++i) {
            list.Clear();
            f->holdTime = holds[i];
            f->fadeTime = fadeTimes[i];
            double n = mode == COLOR_FLICKER ? world.randomTable.values[101 + i] : 1.0;
            f->Draw(world, list);
            EXPECT_FLOAT_EQ(float(0.8 * scales[i] * n), list.Vertices()[0].r) << i;
        }
        EXPECT_EQ(mode == COLOR_FLICKER ? 104 : 100, world.randomTable.cursor);
    }
}
