#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/show.h"
#include "fireworks/burst.h"
#include "fireworks/draw_list.h"
#include "fireworks/random_table.h"
#include "render/draw_list_gl.h"
#include "render/gl_context.h"
#include "render/gl_state.h"
#include "settings/settings.h"
#include "tests/gl/gl_fixture.h"
#include "tests/support/immediate_draw.h"

static const int WIDTH = 640;
static const int HEIGHT = 480;

// A busy sky: the ordinary show for a while, then one burst of every kind, grown for a second.
static void BuildBusySky() {
    g_settings.frequency = 60;
    g_settings.displayTitle = 0;
    DrawList discarded;
    for (int frame = 0; frame < 300; ++frame) {
        discarded.Clear();
        SimulateShowFrame(1.0 / 60, discarded, nullptr);
    }
    const Vec3 up(0, 0, 2);
    const Vec3 colors[2] = {Vec3(1, 0.5, 0.2), Vec3(0.3, 0.6, 1)};
    SphericalBurst(Vec3(-25, 0, 45), up, COLOR_STEADY);
    SphericalBurst(Vec3(25, 0, 45), up, COLOR_FLICKER);
    BlastBurst(Vec3(0, 0, 50), up, false);
    WillowBurst(Vec3(-15, 0, 30), up, colors, false);
    CorkScrewBurst(Vec3(15, 0, 30), up, colors);
    ChainReactionBurst(Vec3(-30, 0, 25), up);
    WaverBurst(Vec3(30, 0, 25), up);
    for (int frame = 0; frame < 60; ++frame) {
        discarded.Clear();
        SimulateShowFrame(1.0 / 60, discarded, nullptr);
    }
}

static void StartFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
}

struct Comparison {
    long identical = 0;
    long lit = 0;
};

static Comparison Compare(const RgbImage& a, const RgbImage& b) {
    Comparison result;
    for (size_t i = 0; i < a.pixels.size(); i += 3) {
        bool same = a.pixels[i] == b.pixels[i] && a.pixels[i + 1] == b.pixels[i + 1] && a.pixels[i + 2] == b.pixels[i + 2];
        if (same) ++result.identical;
        if (a.pixels[i] || a.pixels[i + 1] || a.pixels[i + 2]) ++result.lit;
    }
    return result;
}

class BatchTest : public GLTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BatchTest, BatchDrawsWhatPerRecordCallsDraw) {
    UseSize(WIDTH, HEIGHT);
    SetFixedGLState();
    SetBlendState(GetParam());
    ResizeScene(WIDTH, HEIGHT);
    BuildBusySky();
    ASSERT_GT(LiveRecords(), 2000);

    // Drawing takes flicker values from the table; both renderers must see the same ones.
    int cursor = g_randomTable.cursor;
    StartFrame();
    DrawPassImmediate();
    RgbImage immediate = ReadFramebuffer(WIDTH, HEIGHT);

    g_randomTable.cursor = cursor;
    StartFrame();
    DrawList list;
    DrawPass(list);
    SubmitDrawList(list);
    RgbImage batched = ReadFramebuffer(WIDTH, HEIGHT);

    Comparison comparison = Compare(immediate, batched);
    long pixels = long(WIDTH) * HEIGHT;
    EXPECT_GT(comparison.lit, pixels / 100) << "too little on screen for the comparison to mean much";
    EXPECT_GE(comparison.identical * 1000, pixels * 999)
        << (pixels - comparison.identical) << " of " << pixels << " pixels differ, " << comparison.lit << " lit";
}

INSTANTIATE_TEST_SUITE_P(BlendModes, BatchTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "AlphaBlending" : "DepthTested";
                         });

TEST_F(GLTest, SubmittingLeavesTheClientArraysAsTheyWere) {
    DrawList list;
    DrawVertex* v = list.Append(3);
    v[0] = {0, 0, 0, 1, 0, 0};
    v[1] = {1, 0, 0, 0, 1, 0};
    v[2] = {0, 1, 0, 0, 0, 1};
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // Left on with no pointer, the normal array would be read for every vertex.
    glEnableClientState(GL_NORMAL_ARRAY);
    SubmitDrawList(list);
    RgbImage image = ReadPixels();
    const uint8_t* inside = image.At(320 * 6 / 10, 240 * 4 / 10);
    EXPECT_GT(inside[0] + inside[1] + inside[2], 200);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    GLvoid* pointer = nullptr;
    glGetPointerv(GL_VERTEX_ARRAY_POINTER, &pointer);
    EXPECT_EQ(pointer, nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
