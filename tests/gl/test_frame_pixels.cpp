#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/saver_window.h"
#include "engine/saver_window_proc.h"
#include "fireworks/burst.h"
#include "host/headless/headless_host.h"
#include "host/headless/png_image.h"
#include "render/draw_list_gl.h"
#include "render/gl_state.h"

namespace {

const int WIDTH = 640;
const int HEIGHT = 480;

void StartScene() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
}

// What the batch replaces: each record's shapes in their own glBegin/glEnd, under the matrix calls
// of the drawing rules, with GL's own split of polygons and quads.
void DrawImmediate(FireworkWorld& world, Firework& f) {
    auto colour = [](const Firework& r, double n) {
        double fade = r.fadeTime > 0.00001 ? r.fadeLeft / r.fadeTime : 0.0;
        Vec3 c = r.holdTime > 0 ? r.color * n : r.color * (fade * n);
        glColor3d(c.x, c.y, c.z);
    };
    colour(f, f.colorMode == COLOR_FLICKER ? world.NextRandom() : 1.0);
    Vec3 at = f.GetDrawPosition();
    double s = f.starSize, a = 1.414 * s;
    if (f.flags & FF_STAR) {
        glBegin(GL_POLYGON);
        for (const Vec3& o : {Vec3(s, 0, s), Vec3(a, 0, 0), Vec3(s, 0, -s), Vec3(0, 0, -a), Vec3(-s, 0, -s),
                              Vec3(-a, 0, 0), Vec3(-s, 0, s), Vec3(0, 0, a)})
            glVertex3d(at.x + o.x, at.y, at.z + o.z);
        glEnd();
    }
    const Firework* linked = (f.flags & FF_TRAIL) ? world.pool.At(f.linkSlot) : nullptr;
    if (linked && linked->randomId == f.linkId) {
        Vec3 b = linked->GetDrawPosition();
        double v = at.x < b.x ? -0.1 : 0.1, u = f.flipTrailOffset == 1 ? -0.1 : 0.1;
        glBegin(GL_QUADS);
        glVertex3d(at.x + v, at.y, at.z + u);
        glVertex3d(at.x - v, at.y, at.z - u);
        colour(*linked, 1.0);
        glVertex3d(b.x - v, b.y, b.z - u);
        glVertex3d(b.x + v, b.y, b.z + u);
        glEnd();
    }
    if (f.flags & FF_ROCKET) {
        glPushMatrix();
        glTranslated(at.x, at.y, at.z);
        glRotated(f.heading * 57.29582790879778, 0, -1, 0);
        glBegin(GL_QUADS);
        glVertex3d(0.1, 0, 0.1);
        glVertex3d(0.2, 0, 0);
        glVertex3d(0.1, 0, -0.1);
        glColor3d(0, 0, 0);
        glVertex3d(-0.2 * std::min(f.velocity.Length(), 20.0), 0, 0);
        glEnd();
        glPopMatrix();
    }
}

}  // namespace

// The saver in its window on the offscreen host, the frame rate kept on and F1 held: the 0.6 grey
// border runs round the outermost pixels, the frame rate sits at the top left, and the overlays hand
// the scene its matrices and blend state back. Then a busy sky of every burst kind, drawn as the batch
// and as per-record calls from the same random table position: at most one pixel in a thousand may
// differ, and the client arrays are handed back as they were. The close button ends it all cleanly.
TEST(SaverFrame, OverlaysOnTopAndTheBatchDrawsWhatPerRecordCallsDraw) {
    const Settings defaults;
    SaverShowRequest request = {&defaults, true, 77, true, 0};
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, WIDTH, HEIGHT, HeadlessDesktopWindow(), request);
    SaverWindowState* saverWindow = SaverWindowStateOf(window);
    ASSERT_TRUE(saverWindow && saverWindow->gl.context);
    Show& show = *saverWindow->shows[0].show;
    show.clock = FrameClock();
    show.stars.Destroy();  // a black sky, so that only the overlays leave ink
    SaverWindowProc(window, SAVER_WM_KEYDOWN, SAVER_VK_F1, 0);
    auto frames = [&](int count) {
        for (int frame = 0; frame < count; ++frame) {
            show.clock.Step(1.0 / 60);
            ASSERT_TRUE(HeadlessPump(window));
        }
    };
    frames(30);
    RgbImage image = ReadFramebuffer(WIDTH, HEIGHT);
    for (int x = 1; x < WIDTH - 1; ++x) ASSERT_EQ(153, image.At(x, HEIGHT - 1)[1]) << x;
    for (int y = 1; y < HEIGHT - 1; ++y) ASSERT_EQ(153, image.At(WIDTH - 1, y)[0]) << y;
    int rateInk = 0;
    for (int y = 1; y < HEIGHT / 8; ++y)
        for (int x = 1; x < WIDTH / 4; ++x) rateInk += image.At(x, y)[2] > 40;
    EXPECT_GT(rateInk, 100);
    GLint state[3] = {};
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &state[0]);
    glGetIntegerv(GL_BLEND_SRC, &state[1]);
    glGetIntegerv(GL_BLEND_DST, &state[2]);
    EXPECT_TRUE(state[0] == 1 && state[1] == GL_ONE && state[2] == GL_DST_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));

    frames(420);
    const Vec3 up(0, 0, 2), colors[2] = {Vec3(1, 0.5, 0.2), Vec3(0.3, 0.6, 1)};
    FireworkWorld& world = show.world;
    SphericalBurst(world, Vec3(25, 0, 45), up, COLOR_FLICKER);
    BlastBurst(world, Vec3(0, 0, 50), up, false);
    WillowBurst(world, Vec3(-15, 0, 30), up, colors, false);
    CorkScrewBurst(world, Vec3(15, 0, 30), up, colors);
    ChainReactionBurst(world, Vec3(-30, 0, 25), up);
    WaverBurst(world, Vec3(30, 0, 25), up);
    frames(60);
    ASSERT_GT(world.pool.CountLive(), 2000);
    for (bool blending : {true, false}) {
        SCOPED_TRACE(blending ? "alpha blending" : "depth tested");
        SetFixedGLState();
        SetBlendState(blending);
        int cursor = world.randomTable.cursor;
        StartScene();
        for (Firework* f : world.pool.slots)
            if (f) DrawImmediate(world, *f);
        RgbImage immediate = ReadFramebuffer(WIDTH, HEIGHT);
        world.randomTable.cursor = cursor;
        show.drawList.Clear();
        show.DrawPass();
        StartScene();
        glEnableClientState(GL_NORMAL_ARRAY);
        SubmitDrawList(show.drawList);
        RgbImage batched = ReadFramebuffer(WIDTH, HEIGHT);
        EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY) || glIsEnabled(GL_COLOR_ARRAY));
        EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
        glDisableClientState(GL_NORMAL_ARRAY);
        long differing = 0, lit = 0, pixels = long(WIDTH) * HEIGHT;
        for (size_t i = 0; i < immediate.pixels.size(); i += 3) {
            differing += !std::equal(&immediate.pixels[i], &immediate.pixels[i + 3], &batched.pixels[i]);
            lit += immediate.pixels[i] || immediate.pixels[i + 1] || immediate.pixels[i + 2];
        }
        EXPECT_GT(lit, pixels / 100) << "too little on screen for the comparison to mean much";
        EXPECT_LE(differing * 1000, pixels) << differing << " of " << pixels << " pixels differ";
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    HeadlessClose(window);
    int exitCode = -1;
    EXPECT_TRUE(window->destroyed && HeadlessQuitPosted(&exitCode) && exitCode == 0);
    EXPECT_EQ(nullptr, SaverWindowStateOf(window));
    HeadlessFreeWindow(window);
}

// Two monitors side by side under one full-screen window: each half shows its own sky (same size,
// other seed, so other stars) and its own F1 border, and a monitor that goes takes only its show.
TEST(SaverFrame, EachMonitorDrawsItsOwnShowAndALayoutChangeKeepsTheSurvivors) {
    const int half = WIDTH / 2;
    const SaverMonitor sideBySide[2] = {{0, 0, half, HEIGHT, 1}, {half, 0, half, HEIGHT, 2}};
    HeadlessSetMonitors(sideBySide, 2);
    const Settings defaults;
    SaverShowRequest request = {&defaults, true, 77, false, 0};
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, WIDTH, HEIGHT, nullptr, request);
    SaverWindowState* saverWindow = SaverWindowStateOf(window);
    ASSERT_TRUE(saverWindow && saverWindow->gl.context && saverWindow->shows.size() == 2);
    SaverWindowProc(window, SAVER_WM_KEYDOWN, SAVER_VK_F1, 0);
    ASSERT_TRUE(HeadlessPump(window));
    RgbImage image = ReadFramebuffer(WIDTH, HEIGHT);
    long differing = 0;
    for (int y = 1; y < HEIGHT - 1; ++y) {
        for (int x = 1; x < half - 1; ++x) differing += !std::equal(image.At(x, y), image.At(x, y) + 3, image.At(x + half, y));
        for (int edge : {0, half - 1, half, WIDTH - 1}) ASSERT_EQ(153, image.At(edge, y)[1]) << edge << "," << y;
    }
    EXPECT_GT(differing, 20) << "both monitors show the same stars";

    Show* kept = saverWindow->shows[0].show.get();
    const SaverMonitor replugged[2] = {{0, 0, half, HEIGHT, 1}, {half, 0, half, HEIGHT / 2, 3}};
    HeadlessSetMonitors(replugged, 2);
    SaverWindowProc(window, SAVER_WM_DISPLAYCHANGE, 0, 0);
    ASSERT_EQ(2u, saverWindow->shows.size());
    EXPECT_EQ(kept, saverWindow->shows[0].show.get());
    EXPECT_EQ(HEIGHT / 2, saverWindow->shows[1].show->height);
    HeadlessSetMonitors(nullptr, 0);
    HeadlessClose(window);
    HeadlessFreeWindow(window);
}
