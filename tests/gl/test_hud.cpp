#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "engine/engine_state.h"
#include "engine/hud_layout.h"
#include "engine/saver_window_proc.h"
#include "engine/show.h"
#include "fireworks/pool.h"
#include "host/headless/headless_host.h"
#include "host/headless/stepped_clock.h"
#include "render/bitmap_font.h"
#include "render/star_field.h"
#include "seam/platform.h"
#include "tests/gl/gl_fixture.h"

// Where one drawn glyph's inked texels land, in window pixels from the bottom-left.
struct GlyphBox {
    double x0, y0, x1, y1;
    bool Contains(double x, double y, double margin) const {
        return x >= x0 - margin && x <= x1 + margin && y >= y0 - margin && y <= y1 + margin;
    }
};

// The inked texels of a glyph's cell as {x0, y0, x1, y1} in its square's own units (-1..1).
// Rows are bottom-up, so the cell's row 0 is the bottom of the square. False for an empty cell.
static bool CellInk(const GlyphPlacement& glyph, double ink[4]) {
    HostBitmap sheet;
    LoadGlyphSheet(glyph.sheet, &sheet);
    int column0 = int(glyph.s0 * sheet.width), row0 = int(glyph.t0 * sheet.height), cell = sheet.width / 4;
    int minX = cell, minY = cell, maxX = -1, maxY = -1;
    for (int y = 0; y < cell; ++y) {
        for (int x = 0; x < cell; ++x) {
            if (sheet.pixels[(row0 + y) * sheet.width + column0 + x] == 0) continue;
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
    }
    HostFreeBitmap(&sheet);
    const double corners[4] = {double(minX), double(minY), maxX + 1.0, maxY + 1.0};
    for (int i = 0; i < 4; ++i) ink[i] = -1 + 2.0 * corners[i] / cell;
    return maxX >= 0;
}

// The inked glyphs of a string as DrawString lays it out, taken from the string's own
// coordinates to the window by `toWindow`.
static void AddExpectedInk(const char* text, double scale, int alignment,
                           const std::function<HudPoint(double, double)>& toWindow, std::vector<GlyphBox>* glyphs) {
    GlyphCursor cursor(g_font, text, scale, alignment);
    GlyphPlacement glyph;
    double ink[4];
    while (cursor.Next(&glyph)) {
        if (!CellInk(glyph, ink)) continue;
        GlyphBox box = {1e9, 1e9, -1e9, -1e9};
        for (double u : {ink[0], ink[2]}) {
            for (double v : {ink[1], ink[3]}) {
                HudPoint p = toWindow(glyph.penX + u * glyph.halfSize, v * glyph.halfSize);
                box.x0 = std::min(box.x0, p.x), box.x1 = std::max(box.x1, p.x);
                box.y0 = std::min(box.y0, p.y), box.y1 = std::max(box.y1, p.y);
            }
        }
        glyphs->push_back(box);
    }
}

// A pixel counts as ink when any channel passes 12; the background is cleared to black.
static bool IsInk(const uint8_t* rgb) {
    return std::max(rgb[0], std::max(rgb[1], rgb[2])) > 12;
}

// Every inked pixel lies within 2 pixels of some expected glyph, and every expected glyph holds
// ink over at least a tenth of its box.
static void ExpectInkOnlyInGlyphs(const RgbImage& image, const std::vector<GlyphBox>& glyphs) {
    ASSERT_FALSE(glyphs.empty());
    std::vector<int> inkIn(glyphs.size(), 0);
    int stray = 0;
    for (int row = 0; row < image.height; ++row) {
        for (int x = 0; x < image.width; ++x) {
            if (!IsInk(image.At(x, row))) continue;
            double cx = x + 0.5, cy = image.height - 1 - row + 0.5;
            bool near = false;
            for (size_t i = 0; i < glyphs.size(); ++i) {
                if (glyphs[i].Contains(cx, cy, 0)) ++inkIn[i];
                near = near || glyphs[i].Contains(cx, cy, 2.0);
            }
            if (!near && ++stray <= 5) ADD_FAILURE() << "ink far from every glyph at (" << cx << ", " << cy << ")";
        }
    }
    EXPECT_EQ(stray, 0);
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const GlyphBox& b = glyphs[i];
        EXPECT_GE(inkIn[i], 0.1 * (b.x1 - b.x0) * (b.y1 - b.y0))
            << "glyph " << i << " in [" << b.x0 << ", " << b.x1 << "] x [" << b.y0 << ", " << b.y1 << "]";
    }
}

// Ink drawn in colour c is c scaled by the glyph's grey, so every bright pixel keeps c's proportions.
static int ExpectTint(const RgbImage& image, const double c[3]) {
    int lead = int(std::max_element(c, c + 3) - c), checked = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 3) {
        const uint8_t* p = &image.pixels[i];
        if (p[lead] < 120) continue;
        for (int k = 0; k < 3; ++k) EXPECT_NEAR(p[k], p[lead] * c[k] / c[lead], 3) << "channel " << k;
        ++checked;
    }
    return checked;
}

// "FPS: 60" where the frame rate goes in the current window.
static std::vector<GlyphBox> FrameRateInk() {
    FrameRatePlacement placement = PlaceFrameRate(g_windowWidth, g_windowHeight);
    std::vector<GlyphBox> glyphs;
    AddExpectedInk("FPS: 60", placement.scale, 0, [&](double x, double y) {
        return HudPoint{placement.origin.x + x, placement.origin.y + y};
    }, &glyphs);
    return glyphs;
}

// The title and version line as the opening show places them at show time T under the scene's
// camera and projection: each string moved to its place and turned about x.
static std::vector<GlyphBox> TitleInk(double showTime) {
    const struct {
        const char* text;
        double scale;
        int alignment;
        double at[3], degrees;
    } lines[] = {{"Vesperglow", 7 + 0.2 * showTime, 1, {0, 0, 40}, 90}, {"Version 1.2.0", 2, 2, {38, 0, 2}, 85}};
    std::vector<GlyphBox> glyphs;
    for (const auto& line : lines) {
        glPushMatrix();
        glLoadIdentity();
        gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
        glTranslated(line.at[0], line.at[1], line.at[2]);
        glRotated(line.degrees, 1, 0, 0);
        GLdouble modelView[16], projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        glPopMatrix();
        AddExpectedInk(line.text, line.scale, line.alignment, [&](double x, double y) {
            GLdouble wx = 0, wy = 0, wz = 0;
            gluProject(x, y, 0, modelView, projection, viewport, &wx, &wy, &wz);
            return HudPoint{wx, wy};
        }, &glyphs);
    }
    return glyphs;
}

// The whole frame on the offscreen host.
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
        HeadlessClose(window_);
        HeadlessFreeWindow(window_);
        g_showBorder = false;
        g_showFrameRate = false;
        g_frameRateAlwaysShown = false;
        SimTest::TearDown();
    }

    // One frame, by default with an empty pool so that no firework leaves ink.
    void Frame(bool emptyPool = true) {
        if (emptyPool) DeleteAllFireworks();
        AdvanceSteppedClock(1.0 / 60);
        ASSERT_TRUE(HeadlessPump(window_));
    }
    void RunOpeningTo(double seconds) {
        while (g_showTime + 1.0 / 60 < seconds) Frame();
        Frame();
    }
    RgbImage Pixels() const { return ReadFramebuffer(WIDTH, HEIGHT); }
    int MaxRed() const {
        RgbImage image = Pixels();
        int red = 0;
        for (size_t i = 0; i < image.pixels.size(); i += 3) red = std::max(red, int(image.pixels[i]));
        return red;
    }

    HeadlessWindow* window_ = nullptr;
};

// The title's frames hand the scene its state back: a matrix or attribute left pushed would
// overflow its stack within these frames. Once the main show runs, the title is gone and the
// fireworks come; the close button then ends the saver cleanly.
TEST_F(HudFrameTest, TitleFadesInOverTheOpeningShowThenFireworksTakeTheSky) {
    RunOpeningTo(1.5);
    int early = MaxRed();
    RunOpeningTo(3.0);
    RgbImage full = Pixels();
    ExpectInkOnlyInGlyphs(full, TitleInk(g_showTime));
    const double yellow[3] = {0.8, 0.8, 0.2};
    EXPECT_GT(ExpectTint(full, yellow), 100);
    // Half strength at T = 1.5 against full strength at T = 3.
    EXPECT_NEAR(early, MaxRed() / 2.0, 6);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);

    while (g_introStage != SHOW_MAIN_STAGE) Frame();
    Frame();
    // Shells launched in this frame start on the ground, below the title's place.
    RgbImage after = Pixels();
    for (int row = 0; row < HEIGHT / 2; ++row)
        for (int x = 0; x < WIDTH; ++x) ASSERT_FALSE(IsInk(after.At(x, row))) << x << ", " << row;
    for (int frame = 0; frame < 8 * 60; ++frame) Frame(false);
    RgbImage sky = Pixels();
    int inked = 0;
    for (size_t i = 0; i < sky.pixels.size(); i += 3) inked += IsInk(&sky.pixels[i]);
    EXPECT_GT(inked, 30);

    HeadlessClose(window_);
    EXPECT_TRUE(window_->destroyed);
    int exitCode = -1;
    EXPECT_TRUE(HeadlessQuitPosted(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_EQ(CountLiveFireworks(), 0);
}

TEST_F(HudFrameTest, KeptOnFrameRateAndF1sBorder) {
    g_frameRateAlwaysShown = true;
    RunOpeningTo(0.5);  // before the title
    ExpectInkOnlyInGlyphs(Pixels(), FrameRateInk());
    const double rateColour[3] = {0.2, 0.4, 0.6};
    EXPECT_GT(ExpectTint(Pixels(), rateColour), 20);

    g_frameRateAlwaysShown = false;
    SaverWindowProc(window_, SAVER_WM_KEYDOWN, SAVER_VK_F1, 0);
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
