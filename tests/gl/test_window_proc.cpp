#include <GL/gl.h>
#include <gmock/gmock.h>

#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "render/star_field.h"
#include "tests/gl/window_fixture.h"

using ::testing::ElementsAre;

// The first move only records where the mouse is, even far from zero and above 32767
// (coordinates are unsigned 16-bit values).
TEST_F(WindowProcTest, JitterOfFivePixelsNeverClosesButADriftOfSixInAnyDirectionDoes) {
    NcCreate();
    Create(nullptr);
    g_host.calls.clear();
    EXPECT_EQ(MoveMouse(60000, 400), 0);
    for (int round = 0; round < 3; ++round)
        for (int dx = -5; dx <= 5; ++dx)
            for (int dy = -5; dy <= 5; dy += 5) MoveMouse(60000 + dx, 400 + dy);
    EXPECT_FALSE(CloseSent());
    EXPECT_TRUE(CallsNamed({"DefaultSaverProc"}).empty());

    // Small steps add up: the start is never moved along.
    const int directions[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& d : directions) {
        SCOPED_TRACE(testing::Message() << d[0] << ", " << d[1]);
        g_awaitingFirstMouseMove = true;
        g_host.calls.clear();
        for (int step = 0; step <= 5; ++step) MoveMouse(300 + step * d[0], 300 + step * d[1]);
        EXPECT_FALSE(CloseSent());
        EXPECT_EQ(MoveMouse(300 + 6 * d[0], 300 + 6 * d[1]), 0);
        EXPECT_TRUE(CloseSent());
    }
}

// The close runs nested inside the mouse move, as a sent message does on Windows. A preview
// ignores the mouse and passes its close on, never restoring the display mode.
TEST_F(WindowProcTest, CloseRestoresTheDisplayModeOnlyForAFullScreenSaverWithAStoredMode) {
    const struct {
        const char* what;
        bool preview;
        uint32_t width;
        std::vector<std::string> calls;
    } cases[] = {
        {"stored mode", false, 800, {"SendMessage 0x0010", "RestoreDisplayMode", "DefaultSaverProc 0x0010 0"}},
        {"desktop mode", false, 0, {"SendMessage 0x0010", "DefaultSaverProc 0x0010 0"}},
        {"preview", true, 800, {"DefaultSaverProc 0x0010 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        NcCreate();
        StoreMode(c.width, 600, 16);
        Create(c.preview ? RecordingPreviewParent() : nullptr);
        g_host.calls.clear();
        g_host.defaultResult = 7;
        EXPECT_EQ(MoveMouse(300, 300), 0);
        EXPECT_EQ(MoveMouse(300, 294), 0);
        if (c.preview) {
            EXPECT_EQ(Send(SAVER_WM_CLOSE), 7);
        }
        EXPECT_EQ(g_host.calls, c.calls);
    }
}

// A key whose setting is off, and every other key, goes to the default procedure (which closes).
TEST_F(WindowProcTest, F1AndF2ShowTheirOverlaysWhileHeldWhenTheirSettingsAllow) {
    NcCreate();
    Create(nullptr);
    g_host.defaultResult = 0x55;
    for (uint32_t f1 : {0u, 1u}) {
        for (uint32_t f2 : {0u, 1u}) {
            SCOPED_TRACE(testing::Message() << "F1 " << f1 << ", F2 " << f2);
            g_settings.f1DisplaysWindowBorder = f1;
            g_settings.f2DisplaysFrameRate = f2;
            g_host.calls.clear();
            EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F1), f1 ? 0 : 0x55);
            EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F2), f2 ? 0 : 0x55);
            Send(SAVER_WM_KEYDOWN, SAVER_VK_F1);  // auto-repeat keeps it on
            EXPECT_TRUE(g_showBorder == (f1 != 0) && g_showFrameRate == (f2 != 0));
            Send(SAVER_WM_KEYUP, SAVER_VK_F1);
            EXPECT_TRUE(!g_showBorder && g_showFrameRate == (f2 != 0));
            Send(SAVER_WM_KEYUP, SAVER_VK_F2);
            EXPECT_FALSE(g_showFrameRate);
            EXPECT_EQ(CallsNamed({"DefaultSaverProc"}).size(), size_t(3 * (1 - f1) + 2 * (1 - f2)));
        }
    }
    g_host.calls.clear();
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, 'A'), 0x55);
    EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0100 65"));
}

TEST_F(WindowProcTest, EachSizeMessageSizesTheSceneAndRebuildsTheStarsForTheWindow) {
    NcCreate();
    Create(RecordingPreviewParent());
    g_host.defaultResult = 3;
    const struct {
        int width, height, stars, twilight, expected;
    } cases[] = {{1024, 768, 2, 0, 408}, {1920, 1080, 1, 1, 576}, {59, 768, 4, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        g_settings.stars = uint32_t(c.stars);
        g_settings.twilightSky = uint32_t(c.twilight);
        g_host.calls.clear();
        EXPECT_EQ(Send(SAVER_WM_SIZE, 0, PackedPoint(c.width, c.height)), 3);
        EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0005 0"));
        EXPECT_EQ(g_windowWidth, c.width);
        EXPECT_EQ(g_windowHeight, c.height);
        EXPECT_EQ(g_starField.count, c.expected);
        EXPECT_EQ(g_starField.skyHeight, c.twilight ? c.height : 0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.height);
    }
}

// Run under AddressSanitizer, this also shows that no record leaks.
TEST_F(WindowProcTest, TimerDrawsAndSwapsAndDestroyWithEverySlotOccupiedFreesEveryRecord) {
    NcCreate();
    Create(nullptr);
    Send(SAVER_WM_SIZE, 0, PackedPoint(320, 240));
    ASSERT_GT(g_starField.count, 0);
    g_host.calls.clear();
    EXPECT_EQ(Send(SAVER_WM_TIMER, 99), 0);
    EXPECT_THAT(g_host.calls, ElementsAre("SwapBuffers window"));

    for (Firework*& slot : g_fireworkPool.slots) slot = new Firework(Vec3(1, 0, 2), Vec3(0, 0, 1), FF_STAR);
    g_host.calls.clear();

    EXPECT_EQ(Send(SAVER_WM_DESTROY), 0);
    EXPECT_EQ(CountLiveFireworks(), 0);
    EXPECT_EQ(g_starField.starArray, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_THAT(g_host.calls, ElementsAre("KillTimer 1", "MakeCurrent release", "DeleteContext", "ReleaseSurface",
                                          "PostQuitMessage 0"));
    EXPECT_TRUE(g_reportedErrors.empty());
}

TEST_F(WindowProcTest, NcCreateSeedsTheGeneratorLoadsTheSettingsAndPassesOn) {
    SetSaverSeed(4242);
    g_settings.frequency = 59;  // the store's value replaces it
    g_host.defaultResult = 1;
    EXPECT_EQ(NcCreate(), 1);
    EXPECT_EQ(g_settings.frequency, 30u);
    int first = Rand();
    SeedRand(4242);
    EXPECT_EQ(first, Rand());
}
