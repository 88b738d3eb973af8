#include <GL/gl.h>

#include <algorithm>

#include "engine/engine_state.h"
#include "engine/saver_messages.h"
#include "engine/saver_window_proc.h"
#include "engine/show.h"
#include "fireworks/pool.h"
#include "host/headless/headless_host.h"
#include "host/headless/png_image.h"
#include "host/headless/stepped_clock.h"
#include "render/star_field.h"
#include "tests/unit/sim_fixture.h"

// The whole saver on the offscreen host, as the snapshot program runs it.
class HeadlessShowTest : public SimTest {
protected:
    void SetUp() override {
        SimTest::SetUp();
        UseSteppedFrameClock();
        SetSaverSeed(2024);
    }

    // Frames until the opening show is over, then this many seconds of the main show.
    void RunShow(HeadlessWindow* window, double seconds) {
        for (int frame = 0; frame < 60 * 20 && g_introStage != SHOW_MAIN_STAGE; ++frame) {
            AdvanceSteppedClock(1.0 / 60);
            ASSERT_TRUE(HeadlessPump(window));
        }
        ASSERT_EQ(g_introStage, SHOW_MAIN_STAGE);
        for (int frame = 0; frame < int(seconds * 60); ++frame) {
            AdvanceSteppedClock(1.0 / 60);
            ASSERT_TRUE(HeadlessPump(window));
        }
    }
};

// Firework colours are saturated; the sky is a dim violet and the stars are near grey.
static int FireworkPixels(const RgbImage& image) {
    int count = 0;
    for (size_t i = 0; i < image.pixels.size(); i += 3) {
        int r = image.pixels[i], g = image.pixels[i + 1], b = image.pixels[i + 2];
        int high = std::max(r, std::max(g, b)), low = std::min(r, std::min(g, b));
        if (high > 90 && high - low > 60) ++count;
    }
    return count;
}

TEST_F(HeadlessShowTest, WindowModeShowsFireworksAndClosesCleanly) {
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, 480, 360, HeadlessDesktopWindow());
    ASSERT_NE(g_hglrc, nullptr);
    EXPECT_TRUE(window->visible);
    EXPECT_EQ(g_windowWidth, 480);
    EXPECT_EQ(g_windowHeight, 360);
    RunShow(window, 8.0);

    EXPECT_GT(FireworkPixels(ReadFramebuffer(480, 360)), 30);
    EXPECT_GT(LiveRecords(), 0);

    HeadlessClose(window);
    EXPECT_TRUE(window->destroyed);
    int exitCode = -1;
    EXPECT_TRUE(HeadlessQuitPosted(&exitCode));
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
    EXPECT_EQ(LiveRecords(), 0);
    EXPECT_FALSE(HeadlessPump(window));
    HeadlessFreeWindow(window);
}

TEST_F(HeadlessShowTest, FullScreenWindowTakesTheDesktopSizeAndAKeyClosesIt) {
    HeadlessSetDesktopSize(400, 300);
    HeadlessWindow* window = HeadlessCreateWindow(SaverWindowProc, 200, 150, nullptr);
    ASSERT_NE(g_hglrc, nullptr);
    EXPECT_EQ(g_windowWidth, 400);
    EXPECT_EQ(g_windowHeight, 300);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 400);
    EXPECT_EQ(viewport[3], 300);
    RunShow(window, 3.0);
    EXPECT_GT(FireworkPixels(ReadFramebuffer(400, 300)), 10);

    SaverWindowProc(window, SAVER_WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(HeadlessPump(window));
    EXPECT_TRUE(window->destroyed);
    EXPECT_EQ(g_hglrc, nullptr);
    HeadlessFreeWindow(window);
}
