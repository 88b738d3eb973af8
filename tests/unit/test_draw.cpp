#include <gtest/gtest.h>

#include "tests/unit/show_support.h"

// What the pixel comparison with per-record drawing cannot show: drawing a trail to a spark whose
// slot was emptied or reused drops the link for good, and a flickering record takes a random table
// value on every draw (steady ones none), scaling its held or fading colour.
TEST(Draw, BrokenTrailLinksAreDroppedAndFlickerTakesATableValueEachDraw) {
    FireworkWorld world;
    world.SeedRand(5);
    world.FillRandomTable();
    DrawList list;
    Firework* spark = Place(world, 30, Vec3(1, 0, 9), Vec3(), FF_TRAIL);
    Firework* f = Place(world, 31, Vec3(0, 0, 10), Vec3(), FF_TRAIL);
    const int32_t id = spark->randomId;
    f->SetTrailLink(30, id);
    f->Draw(world, list);
    EXPECT_EQ(6, list.VertexCount());
    for (bool emptied : {false, true}) {
        list.Clear();
        f->SetTrailLink(30, emptied ? id : id + 1);
        if (emptied) {
            delete world.pool.slots[30];
            world.pool.slots[30] = nullptr;
        }
        f->Draw(world, list);
        EXPECT_EQ(0, list.VertexCount());
        EXPECT_TRUE(f->linkSlot == -1 && f->linkId == 0);
    }

    for (int mode : {COLOR_STEADY, COLOR_FLICKER}) {
        f->SetFlags(FF_STAR);
        f->SetColor(Vec3(0.8, 0.4, 1.0), -1.0, 0.4, mode);
        f->fadeLeft = 0.1;
        world.randomTable.cursor = 100;
        list.Clear();
        f->Draw(world, list);
        double n = mode == COLOR_FLICKER ? world.randomTable.values[101] : 1.0;
        EXPECT_FLOAT_EQ(float(0.8 * (0.25 * n)), list.Vertices()[0].r);
        EXPECT_EQ(mode == COLOR_FLICKER ? 101 : 100, world.randomTable.cursor);
    }
}
