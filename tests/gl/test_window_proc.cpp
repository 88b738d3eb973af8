#include <GL/gl.h>
#include <gmock/gmock.h>

#include "engine/engine_state.h"
#include "engine/saver_messages.h"
#include "engine/saver_window_proc.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "render/star_field.h"
#include "settings/settings.h"
#include "tests/gl/window_fixture.h"

using ::testing::ElementsAre;

TEST_F(WindowProcTest, MouseJitterOfFivePixelsNeverClosesButADriftOfSixDoes) {
    NcCreate();
    Create(nullptr);
    EXPECT_EQ(MoveMouse(500, 400), 0);
    for (int round = 0; round < 3; ++round)
        for (int dx = -5; dx <= 5; ++dx)
            for (int dy = -5; dy <= 5; dy += 5) MoveMouse(500 + dx, 400 + dy);
    EXPECT_FALSE(CloseSent());

    // Small steps add up: the start is never moved along.
    for (int x = 501; x <= 505; ++x) MoveMouse(x, 400);
    EXPECT_FALSE(CloseSent());
    MoveMouse(506, 400);
    EXPECT_TRUE(CloseSent());
}

TEST_F(WindowProcTest, DriftUpwardsClosesAndRunsTheCloseHandlingNested) {
    NcCreate();
    g_settings.displayWidth = 800;
    g_settings.displayHeight = 600;
    g_settings.displayBits = 16;
    Create(nullptr);
    MoveMouse(300, 300);
    for (int y = 299; y >= 295; --y) MoveMouse(300, y);
    EXPECT_FALSE(CloseSent());
    g_host.calls.clear();
    EXPECT_EQ(MoveMouse(300, 294), 0);
    EXPECT_THAT(g_host.calls,
                ElementsAre("SendMessage 0x0010", "RestoreDisplayMode", "DefaultSaverProc 0x0010 0"));
}

TEST_F(WindowProcTest, FirstMoveOnlyRecordsWhereverItIs) {
    NcCreate();
    Create(nullptr);
    // Far from zero and above 32767: coordinates are unsigned 16-bit values.
    MoveMouse(60000, 3);
    EXPECT_FALSE(CloseSent());
    MoveMouse(60005, 8);
    EXPECT_FALSE(CloseSent());
    MoveMouse(60000, 9);
    EXPECT_TRUE(CloseSent());
}

TEST_F(WindowProcTest, MouseMovesNeverReachTheDefaultProcedure) {
    NcCreate();
    Create(nullptr);
    g_host.calls.clear();
    MoveMouse(10, 10);
    MoveMouse(12, 12);
    EXPECT_TRUE(CallsNamed({"DefaultSaverProc"}).empty());
}

TEST_F(WindowProcTest, PreviewIgnoresTheMouseAndNeverRestoresTheDisplayMode) {
    NcCreate();
    g_settings.displayWidth = 800;
    g_settings.displayHeight = 600;
    g_settings.displayBits = 16;
    Create(RecordingPreviewParent());
    EXPECT_EQ(g_previewParent, RecordingPreviewParent());
    g_host.calls.clear();
    for (int x = 0; x < 2000; x += 100) EXPECT_EQ(MoveMouse(x, x / 2), 0);
    EXPECT_FALSE(CloseSent());
    EXPECT_TRUE(CallsNamed({"DefaultSaverProc"}).empty());

    g_host.defaultResult = 7;
    EXPECT_EQ(Send(SAVER_WM_CLOSE), 7);
    EXPECT_TRUE(CallsNamed({"RestoreDisplayMode", "ChangeDisplayMode", "SizeWindow"}).empty());
}

TEST_F(WindowProcTest, CloseRestoresTheModeOnlyFullScreenWithAStoredMode) {
    NcCreate();
    g_settings.displayWidth = 0;
    Create(nullptr);
    Send(SAVER_WM_CLOSE);
    EXPECT_TRUE(CallsNamed({"RestoreDisplayMode"}).empty());

    g_settings.displayWidth = 640;
    g_host.calls.clear();
    Send(SAVER_WM_CLOSE);
    EXPECT_THAT(g_host.calls, ElementsAre("RestoreDisplayMode", "DefaultSaverProc 0x0010 0"));
}

TEST_F(WindowProcTest, OverlayKeysAreHeldWhenAllowed) {
    NcCreate();
    Create(nullptr);
    g_host.calls.clear();
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F1), 0);
    EXPECT_TRUE(g_showBorder);
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F1), 0);  // auto-repeat keeps it on
    EXPECT_TRUE(g_showBorder);
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F2), 0);
    EXPECT_TRUE(g_showFrameRate);
    EXPECT_EQ(Send(SAVER_WM_KEYUP, SAVER_VK_F1), 0);
    EXPECT_FALSE(g_showBorder);
    EXPECT_TRUE(g_showFrameRate);
    EXPECT_EQ(Send(SAVER_WM_KEYUP, SAVER_VK_F2), 0);
    EXPECT_FALSE(g_showFrameRate);
    EXPECT_TRUE(CallsNamed({"DefaultSaverProc"}).empty());
}

TEST_F(WindowProcTest, OverlayKeysWithoutTheirSettingGoToTheDefaultProcedure) {
    NcCreate();
    g_settings.f1DisplaysWindowBorder = 0;
    g_settings.f2DisplaysFrameRate = 0;
    Create(nullptr);
    g_host.calls.clear();
    g_host.defaultResult = 0x55;
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F1), 0x55);
    EXPECT_EQ(Send(SAVER_WM_KEYUP, SAVER_VK_F1), 0x55);
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F2), 0x55);
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, 'A'), 0x55);
    EXPECT_FALSE(g_showBorder);
    EXPECT_FALSE(g_showFrameRate);
    EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0100 112", "DefaultSaverProc 0x0101 112",
                                          "DefaultSaverProc 0x0100 113", "DefaultSaverProc 0x0100 65"));

    // One allowed, the other not.
    g_settings.f2DisplaysFrameRate = 1;
    EXPECT_EQ(Send(SAVER_WM_KEYDOWN, SAVER_VK_F2), 0);
    EXPECT_TRUE(g_showFrameRate);
}

TEST_F(WindowProcTest, EachSizeMessageRebuildsTheStarsForTheWindow) {
    NcCreate();
    Create(RecordingPreviewParent());
    struct Case {
        int width, height, stars, twilight, expected;
    };
    const Case cases[] = {{1024, 768, 0, 1, 0},   {1024, 768, 1, 1, 204}, {1024, 768, 2, 0, 408},
                          {1024, 768, 4, 1, 816}, {59, 768, 4, 1, 0},     {1024, 59, 4, 1, 0},
                          {60, 60, 3, 0, 3},      {1920, 1080, 1, 1, 576}};
    for (const Case& c : cases) {
        g_settings.stars = uint32_t(c.stars);
        g_settings.twilightSky = uint32_t(c.twilight);
        g_host.calls.clear();
        g_host.defaultResult = 3;
        EXPECT_EQ(Send(SAVER_WM_SIZE, 0, PackedPoint(c.width, c.height)), 3);
        EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0005 0"));
        EXPECT_EQ(g_windowWidth, c.width);
        EXPECT_EQ(g_windowHeight, c.height);
        EXPECT_EQ(g_starField.count, c.expected) << c.width << "x" << c.height << " stars " << c.stars;
        EXPECT_EQ(g_starField.twilight, c.twilight != 0);
        EXPECT_EQ(g_starField.skyHeight, c.twilight ? c.height : 0);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.height);
    }
}

TEST_F(WindowProcTest, DestroyWithEverySlotOccupiedFreesEveryRecord) {
    NcCreate();
    Create(nullptr);
    Send(SAVER_WM_SIZE, 0, PackedPoint(320, 240));
    ASSERT_GT(g_starField.count, 0);
    for (Firework*& slot : g_fireworkPool.slots) slot = new Firework(Vec3(1, 0, 2), Vec3(0, 0, 1), FF_STAR);
    g_host.calls.clear();

    EXPECT_EQ(Send(SAVER_WM_DESTROY), 0);
    EXPECT_EQ(LiveRecords(), 0);
    EXPECT_EQ(g_starField.count, 0);
    EXPECT_EQ(g_starField.starArray, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_THAT(g_host.calls, ElementsAre("KillTimer 1", "MakeCurrent release", "DeleteContext", "ReleaseSurface",
                                          "PostQuitMessage 0"));
    EXPECT_TRUE(g_reportedErrors.empty());
}

TEST_F(WindowProcTest, DestroyWithoutATimerSkipsKillingIt) {
    NcCreate();
    g_host.failing = {"SetTimer"};
    Create(nullptr);
    g_host.calls.clear();
    Send(SAVER_WM_DESTROY);
    EXPECT_TRUE(CallsNamed({"KillTimer"}).empty());
    EXPECT_THAT(CallsNamed({"PostQuitMessage"}), ElementsAre("PostQuitMessage 0"));
}

TEST_F(WindowProcTest, TimerDrawsAFrameAndSwaps) {
    NcCreate();
    Create(nullptr);
    Send(SAVER_WM_SIZE, 0, PackedPoint(64, 48));
    g_host.calls.clear();
    EXPECT_EQ(Send(SAVER_WM_TIMER, 99), 0);
    EXPECT_THAT(g_host.calls, ElementsAre("SwapBuffers window"));
}

TEST_F(WindowProcTest, CreationSeedsLoadsAndPassesNcCreateOn) {
    SetSaverSeed(4242);
    g_settings.frequency = 59;  // the store's value replaces it
    g_host.defaultResult = 1;
    SaverCreateParams params = {nullptr, nullptr, nullptr, nullptr};
    EXPECT_EQ(Send(SAVER_WM_NCCREATE, 0, SaverLParam(&params)), 1);
    EXPECT_EQ(g_settings.frequency, 30u);
    int first = Rand();
    SeedRand(4242);
    EXPECT_EQ(first, Rand());
}
