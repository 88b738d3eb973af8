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

static void RunShow(int frames) {
    DrawList discarded;
    for (int frame = 0; frame < frames; ++frame) {
        discarded.Clear();
        SimulateShowFrame(1.0 / 60, discarded, nullptr);
    }
}

// A busy sky: the ordinary show for a while, then one burst of every kind, grown for a second.
static void BuildBusySky() {
    g_settings.frequency = 60;
    g_settings.displayTitle = 0;
    RunShow(300);
    const Vec3 up(0, 0, 2);
    const Vec3 colors[2] = {Vec3(1, 0.5, 0.2), Vec3(0.3, 0.6, 1)};
    SphericalBurst(Vec3(-25, 0, 45), up, COLOR_STEADY);
    SphericalBurst(Vec3(25, 0, 45), up, COLOR_FLICKER);
    BlastBurst(Vec3(0, 0, 50), up, false);
    WillowBurst(Vec3(-15, 0, 30), up, colors, false);
    CorkScrewBurst(Vec3(15, 0, 30), up, colors);
    ChainReactionBurst(Vec3(-30, 0, 25), up);
    WaverBurst(Vec3(30, 0, 25), up);
    RunShow(60);
}

static void StartFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
}

class BatchTest : public GLTest, public ::testing::WithParamInterface<bool> {};

TEST_P(BatchTest, BatchDrawsWhatPerRecordCallsDrawAndLeavesTheClientArraysAsTheyWere) {
    UseSize(WIDTH, HEIGHT);
    SetFixedGLState();
    SetBlendState(GetParam());
    ResizeScene(WIDTH, HEIGHT);
    BuildBusySky();
    ASSERT_GT(CountLiveFireworks(), 2000);

    // Drawing takes flicker values from the table; both renderers must see the same ones.
    int cursor = g_randomTable.cursor;
    StartFrame();
    DrawPassImmediate();
    RgbImage immediate = ReadFramebuffer(WIDTH, HEIGHT);

    g_randomTable.cursor = cursor;
    StartFrame();
    DrawList list;
    DrawPass(list);
    // A client array someone else left on is given back as it was.
    glEnableClientState(GL_NORMAL_ARRAY);
    SubmitDrawList(list);
    RgbImage batched = ReadFramebuffer(WIDTH, HEIGHT);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    long identical = 0, lit = 0, pixels = long(WIDTH) * HEIGHT;
    for (size_t i = 0; i < immediate.pixels.size(); i += 3) {
        const uint8_t *a = &immediate.pixels[i], *b = &batched.pixels[i];
        identical += a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
        lit += a[0] || a[1] || a[2];
    }
    EXPECT_GT(lit, pixels / 100) << "too little on screen for the comparison to mean much";
    EXPECT_GE(identical * 1000, pixels * 999) << (pixels - identical) << " of " << pixels << " pixels differ";
}

INSTANTIATE_TEST_SUITE_P(BlendModes, BatchTest, ::testing::Values(true, false),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "AlphaBlending" : "DepthTested";
                         });
