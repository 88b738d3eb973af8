#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "engine/engine_state.h"
#include "engine/hud.h"
#include "engine/hud_layout.h"
#include "engine/overlay.h"
#include "engine/saver_messages.h"
#include "engine/saver_window_proc.h"
#include "engine/show.h"
#include "fireworks/pool.h"
#include "host/headless/headless_host.h"
#include "host/headless/stepped_clock.h"
#include "render/bitmap_font.h"
#include "render/gl_context.h"
#include "render/gl_state.h"
#include "render/star_field.h"
#include "tests/gl/gl_fixture.h"
#include "tests/gl/gl_state_snapshot.h"

// A pixel counts as ink when any channel passes this; the background is cleared to black.
const int INK_THRESHOLD = 12;

// A box in window pixels, origin at the bottom-left.
struct PixelBox {
    double x0, y0, x1, y1;
    bool Contains(double x, double y, double margin) const {
        return x >= x0 - margin && x <= x1 + margin && y >= y0 - margin && y <= y1 + margin;
    }
};

// Where one drawn glyph's inked texels land on the window.
struct ExpectedGlyph {
    char code;
    PixelBox box;
};

// The inked texels of a character's cell, as a box in its glyph square's own units (-1..1).
struct CellInk {
    bool inked = false;
    double x0, y0, x1, y1;
};

static CellInk FindCellInk(const GlyphPlacement& glyph) {
    HostBitmap sheet;
    LoadGlyphSheet(glyph.sheet, &sheet);
    int column0 = int(glyph.s0 * sheet.width), row0 = int(glyph.t0 * sheet.height);
    int cell = sheet.width / 4;
    int minX = cell, minY = cell, maxX = -1, maxY = -1;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            if (sheet.pixels[(row0 + y) * sheet.width + column0 + x] == 0) continue;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    HostFreeBitmap(&sheet);
    CellInk ink;
    if (maxX < 0) return ink;
    // Rows are bottom-up, so the cell's row 0 is the bottom of the glyph square.
    ink.inked = true;
    ink.x0 = -1 + 2.0 * minX / cell;
    ink.x1 = -1 + 2.0 * (maxX + 1) / cell;
    ink.y0 = -1 + 2.0 * minY / cell;
    ink.y1 = -1 + 2.0 * (maxY + 1) / cell;
    return ink;
}

// The inked glyphs of a string as DrawString lays it out, each ink box's corners taken from the
// string's own coordinates to the window by `toWindow`.
static std::vector<ExpectedGlyph> ExpectedInk(const char* text, double scale, int alignment,
                                              const std::function<HudPoint(double, double)>& toWindow) {
    std::vector<ExpectedGlyph> glyphs;
    GlyphCursor cursor(g_font, text, scale, alignment);
    GlyphPlacement glyph;
    const char* code = text;
    while (cursor.Next(&glyph)) {
        CellInk ink = FindCellInk(glyph);
        char drawn = *code++;
        if (!ink.inked) continue;
        PixelBox box = {1e9, 1e9, -1e9, -1e9};
        for (double u : {ink.x0, ink.x1}) {
            for (double v : {ink.y0, ink.y1}) {
                HudPoint p = toWindow(glyph.penX + u * glyph.halfSize, v * glyph.halfSize);
                box.x0 = std::min(box.x0, p.x), box.x1 = std::max(box.x1, p.x);
                box.y0 = std::min(box.y0, p.y), box.y1 = std::max(box.y1, p.y);
            }
        }
        glyphs.push_back({drawn, box});
    }
    return glyphs;
}

static bool IsInk(const uint8_t* rgb) {
    return std::max(rgb[0], std::max(rgb[1], rgb[2])) > INK_THRESHOLD;
}

// Every inked pixel lies within `margin` of some expected glyph, and every expected glyph holds
// ink over at least a tenth of its box.
static void ExpectInkOnlyInGlyphs(const RgbImage& image, const std::vector<ExpectedGlyph>& glyphs, double margin) {
    ASSERT_FALSE(glyphs.empty());
    std::vector<int> inkIn(glyphs.size(), 0);
    int stray = 0;
    for (int row = 0; row < image.height; ++row) {
        for (int x = 0; x < image.width; ++x) {
            if (!IsInk(image.At(x, row))) continue;
            double cx = x + 0.5, cy = image.height - 1 - row + 0.5;
            bool near = false;
            for (size_t i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i].box.Contains(cx, cy, 0)) ++inkIn[i];
                near = near || glyphs[i].box.Contains(cx, cy, margin);
            }
            if (!near && ++stray <= 5) ADD_FAILURE() << "ink far from every glyph at (" << cx << ", " << cy << ")";
        }
    }
    EXPECT_EQ(stray, 0);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const PixelBox& b = glyphs[i].box;
        double area = (b.x1 - b.x0) * (b.y1 - b.y0);
        EXPECT_GE(inkIn[i], 0.1 * area) << "'" << glyphs[i].code << "' in [" << b.x0 << ", " << b.x1 << "] x ["
                                        << b.y0 << ", " << b.y1 << "]";
    }
}

static std::vector<ExpectedGlyph> FrameRateInk(const char* text, int width, int height) {
    FrameRatePlacement placement = PlaceFrameRate(width, height);
    return ExpectedInk(text, placement.scale, 0, [&](double x, double y) {
        return HudPoint{placement.origin.x + x, placement.origin.y + y};
    });
}

// A string drawn under the scene camera, moved to `at` and turned `degrees` about x first.
static std::vector<ExpectedGlyph> SceneTextInk(const char* text, double scale, int alignment, int width,
                                               int height, const double at[3], double degrees) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
    glTranslated(at[0], at[1], at[2]);
    glRotated(degrees, 1, 0, 0);
    GLdouble modelView[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glPopMatrix();
    GLint viewport[4] = {0, 0, width, height};
    return ExpectedInk(text, scale, alignment, [&](double x, double y) {
        GLdouble wx = 0, wy = 0, wz = 0;
        gluProject(x, y, 0, modelView, projection, viewport, &wx, &wy, &wz);
        return HudPoint{wx, wy};
    });
}

// The title and version line as the opening show places them at show time T.
static std::vector<ExpectedGlyph> TitleInk(double showTime, int width, int height) {
    const double titleAt[3] = {0, 0, 40};
    const double versionAt[3] = {38, 0, 2};
    std::vector<ExpectedGlyph> glyphs =
        SceneTextInk("Vesperglow", 7 + 0.2 * showTime, 1, width, height, titleAt, 90);
    std::vector<ExpectedGlyph> version = SceneTextInk("Version 1.2.0", 2, 2, width, height, versionAt, 85);
    glyphs.insert(glyphs.end(), version.begin(), version.end());
    return glyphs;
}

static void ClearToBlack() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

class HudGLTest : public GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        g_font.LoadTextures();
    }
    void TearDown() override {
        g_showBorder = false;
        g_showFrameRate = false;
        g_frameRateAlwaysShown = false;
        GLTest::TearDown();
    }
};

TEST_F(HudGLTest, EmptyStringChangesNoGLState) {
    glMatrixMode(GL_MODELVIEW);
    glTranslated(3, 4, 5);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor3d(0.25, 0.5, 0.75);
    GLStateSnapshot before = ReadGLState();

    g_font.DrawString("", 40, 1);
    g_font.DrawString("\t\n\x80", 40, 2);  // nothing printable: nothing drawn either

    ExpectSameGLState(before, ReadGLState());
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    EXPECT_EQ(texture, 0);
    GLfloat color[4];
    glGetFloatv(GL_CURRENT_COLOR, color);
    EXPECT_FLOAT_EQ(color[2], 0.75f);
    ClearToBlack();
    RgbImage image = ReadPixels();
    g_font.DrawString("", 40, 0);
    EXPECT_EQ(image.pixels, ReadPixels().pixels);
}

// Every capability on, then every one off: drawing the border and the frame rate inside the
// overlay mode hands back exactly the state the scene had.
TEST_F(HudGLTest, OverlaysGiveBackEveryEnableBitTheBlendFunctionAndBothMatrices) {
    g_windowWidth = 320;
    g_windowHeight = 240;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "all enabled" : "all disabled");
        ResizeScene(320, 240);
        gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
        for (const GLCapability& c : GLStateCapabilities()) on ? glEnable(c.cap) : glDisable(c.cap);
        glBlendFunc(on ? GL_ONE : GL_ZERO, on ? GL_DST_ALPHA : GL_SRC_COLOR);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        GLStateSnapshot before = ReadGLState();

        BeginOverlay(g_windowWidth, g_windowHeight);
        DrawWindowBorder();
        DrawFrameRate(1.0 / 60);
        EndOverlay();

        ExpectSameGLState(before, ReadGLState());
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(HudGLTest, FrameRateInksOnlyItsGlyphCellsInItsColour) {
    UseSize(1024, 768);
    glViewport(0, 0, 1024, 768);
    g_windowWidth = 1024;
    g_windowHeight = 768;
    ClearToBlack();
    BeginOverlay(1024, 768);
    DrawFrameRate(1.0 / 60);
    EndOverlay();
    RgbImage image = ReadPixels();
    ExpectInkOnlyInGlyphs(image, FrameRateInk("FPS: 60", 1024, 768), 2.0);
    // (0.2, 0.4, 0.6) scaled by the glyph's grey: blue leads, red trails.
    int checked = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 3) {
        const uint8_t* p = &image.pixels[i];
        if (p[2] < 120) continue;
        EXPECT_NEAR(p[1], p[2] * 2 / 3.0, 3);
        EXPECT_NEAR(p[0], p[2] / 3.0, 3);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

TEST_F(HudGLTest, TitleInksOnlyItsGlyphCellsUnderTheCamera) {
    UseSize(640, 480);
    ResizeScene(640, 480);
    SetFixedGLState();
    ClearToBlack();
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
    GLStateSnapshot before = ReadGLState();
    DrawTitle(3.0);
    ExpectSameGLState(before, ReadGLState());
    RgbImage image = ReadPixels();
    ExpectInkOnlyInGlyphs(image, TitleInk(3.0, 640, 480), 2.0);
    // Full strength at T = 3: (0.8, 0.8, 0.2) scaled by the glyph's grey.
    int checked = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 3) {
        const uint8_t* p = &image.pixels[i];
        if (p[0] < 120) continue;
        EXPECT_NEAR(p[1], p[0], 2);
        EXPECT_NEAR(p[2], p[0] / 4.0, 3);
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

// The whole frame on the offscreen host, keys and all.
class HudFrameTest : public SimTest {
protected:
    const int WIDTH = 640;
    const int HEIGHT = 480;

    void SetUp() override {
        SimTest::SetUp();
        UseSteppedFrameClock();
        SetSaverSeed(77);
        window_ = HeadlessCreateWindow(SaverWindowProc, WIDTH, HEIGHT, HeadlessDesktopWindow());
        ASSERT_NE(g_hglrc, nullptr);
        // A black sky, so that only the overlays and fireworks leave ink.
        g_starField.Destroy();
    }
    void TearDown() override {
        if (window_) {
            HeadlessClose(window_);
            HeadlessFreeWindow(window_);
        }
        g_showBorder = false;
        g_showFrameRate = false;
        g_frameRateAlwaysShown = false;
        SimTest::TearDown();
    }

    void Frame() {
        AdvanceSteppedClock(1.0 / 60);
        ASSERT_TRUE(HeadlessPump(window_));
    }
    // Frames until the show time passes `seconds`, the last one with an empty pool.
    void RunOpeningTo(double seconds) {
        while (g_showTime + 1.0 / 60 < seconds) Frame();
        DeleteAllFireworks();
        Frame();
    }
    void Key(uint32_t message, uint32_t key) { SaverWindowProc(window_, message, key, 0); }
    RgbImage Pixels() const { return ReadFramebuffer(WIDTH, HEIGHT); }

    HeadlessWindow* window_ = nullptr;
};

TEST_F(HudFrameTest, OpeningShowDrawsTheTitleAndF2TheFrameRate) {
    Key(SAVER_WM_KEYDOWN, SAVER_VK_F2);
    RunOpeningTo(3.0);
    ASSERT_LT(g_introStage, 5);
    std::vector<ExpectedGlyph> glyphs = TitleInk(g_showTime, WIDTH, HEIGHT);
    std::vector<ExpectedGlyph> rate = FrameRateInk("FPS: 60", WIDTH, HEIGHT);
    glyphs.insert(glyphs.end(), rate.begin(), rate.end());
    ExpectInkOnlyInGlyphs(Pixels(), glyphs, 2.0);

    // Released, the frame rate goes and the title stays.
    Key(SAVER_WM_KEYUP, SAVER_VK_F2);
    DeleteAllFireworks();
    Frame();
    ExpectInkOnlyInGlyphs(Pixels(), TitleInk(g_showTime, WIDTH, HEIGHT), 2.0);
}

TEST_F(HudFrameTest, TitleFadesWithShowTimeAndIsGoneOnceTheMainShowRuns) {
    RunOpeningTo(1.5);
    int early = 0;
    RgbImage dim = Pixels();
    for (size_t i = 0; i < dim.pixels.size(); i += 3) early = std::max(early, int(dim.pixels[i]));
    RunOpeningTo(3.0);
    int full = 0;
    RgbImage bright = Pixels();
    for (size_t i = 0; i < bright.pixels.size(); i += 3) full = std::max(full, int(bright.pixels[i]));
    // Half strength at T = 1.5 against full strength at T = 3.
    EXPECT_NEAR(early, full / 2.0, 6);

    while (g_introStage != SHOW_MAIN_STAGE) Frame();
    DeleteAllFireworks();
    Frame();
    RgbImage after = Pixels();
    // Shells launched in this frame start on the ground, below the title's place.
    for (int row = 0; row < HEIGHT / 2; ++row)
        for (int x = 0; x < WIDTH; ++x) ASSERT_FALSE(IsInk(after.At(x, row))) << x << ", " << row;
}

TEST_F(HudFrameTest, KeptOnFrameRateOutlastsF2AndF1DrawsTheBorder) {
    g_frameRateAlwaysShown = true;
    RunOpeningTo(0.5);  // before the title
    ExpectInkOnlyInGlyphs(Pixels(), FrameRateInk("FPS: 60", WIDTH, HEIGHT), 2.0);
    Key(SAVER_WM_KEYDOWN, SAVER_VK_F2);
    Key(SAVER_WM_KEYUP, SAVER_VK_F2);
    DeleteAllFireworks();
    Frame();
    ExpectInkOnlyInGlyphs(Pixels(), FrameRateInk("FPS: 60", WIDTH, HEIGHT), 2.0);

    g_frameRateAlwaysShown = false;
    Key(SAVER_WM_KEYDOWN, SAVER_VK_F1);
    DeleteAllFireworks();
    Frame();
    RgbImage image = Pixels();
    // The 0.6 grey loop round the outermost pixels, and nothing inside it. Where a corner pixel
    // falls between two sides is up to the rasterizer.
    for (int x = 1; x < WIDTH - 1; ++x) {
        EXPECT_EQ(image.At(x, 0)[0], 153) << x;
        EXPECT_EQ(image.At(x, HEIGHT - 1)[1], 153) << x;
    }
    for (int y = 1; y < HEIGHT - 1; ++y) {
        EXPECT_EQ(image.At(0, y)[2], 153) << y;
        EXPECT_EQ(image.At(WIDTH - 1, y)[0], 153) << y;
    }
    for (int y = 1; y < HEIGHT - 1; ++y)
        for (int x = 1; x < WIDTH - 1; ++x) ASSERT_FALSE(IsInk(image.At(x, y))) << x << ", " << y;
}
