#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "engine/hud.h"
#include "engine/overlay.h"
#include "engine/saver_window_proc.h"
#include "fireworks/burst.h"
#include "host/headless/headless_host.h"
#include "host/headless/png_image.h"
#include "render/draw_list_gl.h"
#include "render/gl_state.h"

namespace {

const int WIDTH = 640;
const int HEIGHT = 480;

// A current context on an offscreen pbuffer for one test.
class GLTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(OffscreenDisplay(), EGL_NO_DISPLAY) << "Mesa's surfaceless EGL platform is missing";
        ASSERT_TRUE(OffscreenSetConfig(&surface_, OffscreenChooseConfig({0, 1, 16})));
        context_ = OffscreenCreateContext(surface_);
        ASSERT_TRUE(OffscreenMakeCurrent(&surface_, context_));
    }
    void TearDown() override {
        OffscreenMakeCurrent(nullptr, EGL_NO_CONTEXT);
        OffscreenDestroyContext(context_);
        OffscreenDestroySurface(&surface_);
    }
    OffscreenSurface surface_{WIDTH, HEIGHT};
    EGLContext context_ = EGL_NO_CONTEXT;
};

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

// A busy sky of every burst kind, drawn both ways from the same random table position: at most one
// pixel in a thousand may differ, and the client arrays are handed back as they were.
TEST_F(GLTest, BatchDrawsWhatPerRecordCallsDraw) {
    for (bool blending : {true, false}) {
        SCOPED_TRACE(blending ? "alpha blending" : "depth tested");
        SetFixedGLState();
        SetBlendState(blending);
        ResizeScene(WIDTH, HEIGHT);
        Show show;
        Settings settings;
        settings.displayTitle = 0;
        settings.frequency = 60;
        show.Init(2024, settings);
        const Vec3 up(0, 0, 2), colors[2] = {Vec3(1, 0.5, 0.2), Vec3(0.3, 0.6, 1)};
        for (int frame = 0; frame < 360; ++frame) {
            if (frame == 300) {
                SphericalBurst(show.world, Vec3(25, 0, 45), up, COLOR_FLICKER);
                BlastBurst(show.world, Vec3(0, 0, 50), up, false);
                WillowBurst(show.world, Vec3(-15, 0, 30), up, colors, false);
                CorkScrewBurst(show.world, Vec3(15, 0, 30), up, colors);
                ChainReactionBurst(show.world, Vec3(-30, 0, 25), up);
                WaverBurst(show.world, Vec3(30, 0, 25), up);
            }
            show.clock.Step(1.0 / 60);
            show.Step();
        }
        ASSERT_GT(show.world.pool.CountLive(), 2000);

        int cursor = show.world.randomTable.cursor;
        StartScene();
        for (Firework* f : show.world.pool.slots)
            if (f) DrawImmediate(show.world, *f);
        RgbImage immediate = ReadFramebuffer(WIDTH, HEIGHT);
        show.world.randomTable.cursor = cursor;
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
}

// Whatever the scene left on, the overlay draws flat in window pixels and hands every enable bit,
// the blend function, the matrices and the viewport back.
TEST_F(GLTest, OverlayGivesBackTheScenesState) {
    BitmapFont font;
    font.LoadTextures();
    const GLenum capabilities[] = {GL_BLEND, GL_CULL_FACE, GL_DEPTH_TEST, GL_LIGHTING, GL_TEXTURE_2D, GL_FOG};
    for (bool on : {true, false}) {
        ResizeScene(WIDTH, HEIGHT);
        for (GLenum cap : capabilities) on ? glEnable(cap) : glDisable(cap);
        glBlendFunc(on ? GL_ONE : GL_ZERO, on ? GL_DST_ALPHA : GL_SRC_COLOR);
        GLfloat before[40], after[40];
        glGetFloatv(GL_PROJECTION_MATRIX, before);
        glGetFloatv(GL_MODELVIEW_MATRIX, before + 16);
        glGetFloatv(GL_VIEWPORT, before + 32);
        glGetFloatv(GL_BLEND_SRC, before + 36);
        glGetFloatv(GL_BLEND_DST, before + 37);

        SavedBlend blend = BeginOverlay(WIDTH, HEIGHT);
        EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST) || glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_CULL_FACE));
        DrawWindowBorder(WIDTH, HEIGHT);
        DrawFrameRate(font, 1.0 / 60, WIDTH, HEIGHT);
        glViewport(0, 0, 10, 10);
        EndOverlay(blend);

        glGetFloatv(GL_PROJECTION_MATRIX, after);
        glGetFloatv(GL_MODELVIEW_MATRIX, after + 16);
        glGetFloatv(GL_VIEWPORT, after + 32);
        glGetFloatv(GL_BLEND_SRC, after + 36);
        glGetFloatv(GL_BLEND_DST, after + 37);
        EXPECT_TRUE(std::equal(before, before + 38, after)) << (on ? "all on" : "all off");
        for (GLenum cap : capabilities) EXPECT_EQ(on, bool(glIsEnabled(cap))) << cap;
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

// The saver in its window on the offscreen host, the frame rate kept on and F1 held: the 0.6 grey
// border runs round the outermost pixels, the frame rate sits at the top left, every frame hands the
// matrix stacks back, and the close button ends the show with every record freed.
TEST(SaverFrame, OverlaysOnTheWholeFrameAndACleanClose) {
    SaverShowRequest request = {true, 77, true};
    g_show.clock = FrameClock();
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, WIDTH, HEIGHT, HeadlessDesktopWindow(), &request);
    ASSERT_NE(nullptr, g_show.gl.context);
    g_show.stars.Destroy();  // a black sky, so that only the overlays leave ink
    SaverWindowProc(window, SAVER_WM_KEYDOWN, SAVER_VK_F1, 0);
    for (int frame = 0; frame < 30; ++frame) {
        g_show.clock.Step(1.0 / 60);
        ASSERT_TRUE(HeadlessPump(window));
    }
    RgbImage image = ReadFramebuffer(WIDTH, HEIGHT);
    for (int x = 1; x < WIDTH - 1; ++x) ASSERT_EQ(153, image.At(x, HEIGHT - 1)[1]) << x;
    for (int y = 1; y < HEIGHT - 1; ++y) ASSERT_EQ(153, image.At(WIDTH - 1, y)[0]) << y;
    int rateInk = 0;
    for (int y = 1; y < HEIGHT / 8; ++y)
        for (int x = 1; x < WIDTH / 4; ++x) rateInk += image.At(x, y)[2] > 40;
    EXPECT_GT(rateInk, 100);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(1, depth);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    HeadlessClose(window);
    int exitCode = -1;
    EXPECT_TRUE(window->destroyed && HeadlessQuitPosted(&exitCode) && exitCode == 0);
    EXPECT_EQ(nullptr, g_show.gl.context);
    EXPECT_EQ(0, g_show.world.pool.CountLive());
    HeadlessFreeWindow(window);
}

// A zero height (a minimised window) keeps a finite projection, as if one pixel high.
TEST_F(GLTest, ResizeSceneSetsTheViewportAndA45DegreePerspectiveOfTheWindowsAspect) {
    const double cotangent = 1 / std::tan(22.5 * 3.14159265358979323846 / 180);
    for (const auto& c : {std::make_pair(640, 480), std::make_pair(640, 0)}) {
        ResizeScene(c.first, c.second);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_TRUE(viewport[2] == c.first && viewport[3] == c.second);
        GLfloat m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        EXPECT_FLOAT_EQ(float(cotangent * std::max(c.second, 1) / c.first), m[0]);
        EXPECT_FLOAT_EQ(float(cotangent), m[5]);
        EXPECT_FLOAT_EQ(float(-2 * 0.1 * 200 / (200 - 0.1)), m[14]);
    }
}
