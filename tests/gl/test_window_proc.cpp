#include <GL/gl.h>
#include <gmock/gmock.h>

#include "engine/saver_window_proc.h"
#include "tests/support/fake_platform.h"
#include "tests/support/recording_host.h"

using ::testing::ElementsAre;

namespace {

const std::set<std::string> PLATFORM_STEPS = {"FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat",
                                              "CreateContext", "MakeCurrent", "DesktopSize", "SizeWindow",
                                              "HideCursor", "ShowWindow", "ChangeDisplayMode", "SetTimer"};

SaverLParam Packed(int low, int high) {
    return SaverLParam((uint32_t(high) & 0xFFFF) << 16 | (uint32_t(low) & 0xFFFF));
}

// The saver window procedure on the recording host, created afresh by each test with the stored
// display mode, blending and overlay keys it asks for.
class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void TearDown() override {
        if (g_show.gl.context) Send(SAVER_WM_DESTROY);
        ResetRecordingHost();
    }
    void Restart() {
        if (g_show.gl.context) Send(SAVER_WM_DESTROY);
        ResetRecordingHost();
        g_reportedErrors.clear();
    }
    SaverResult Send(uint32_t message, SaverWParam wParam = 0, SaverLParam lParam = 0) {
        return SaverWindowProc(RecordingWindow(), message, wParam, lParam);
    }
    // WM_NCCREATE loads the stored settings; the test's choices replace them before WM_CREATE.
    void Create(SaverWindow parent, uint32_t modeWidth = 0, uint32_t alphaBlending = 1, uint32_t overlayKeys = 1) {
        SaverCreateParams params = {nullptr, nullptr, nullptr, parent};
        Send(SAVER_WM_NCCREATE, 0, SaverLParam(&params));
        g_settings.displayWidth = modeWidth;
        g_settings.displayHeight = modeWidth ? 600 : 0;
        g_settings.displayBits = modeWidth ? 16 : 0;
        g_settings.alphaBlending = alphaBlending;
        g_settings.f1DisplaysWindowBorder = g_settings.f2DisplaysFrameRate = overlayKeys;
        ASSERT_EQ(0, Send(SAVER_WM_CREATE, 0, SaverLParam(&params)));
    }
    bool CloseSent() const {
        return std::count(g_host.calls.begin(), g_host.calls.end(), "SendMessage 0x0010") > 0;
    }
};

}  // namespace

// The window is sized before the display mode changes under it; a preview is neither sized nor
// switched. The blending setting picks the scene's state.
TEST_F(WindowProcTest, CreationTakesThePlatformStepsInOrderForEachKindOfWindow) {
    const struct {
        const char* what;
        bool preview;
        uint32_t width, alphaBlending;
        std::vector<std::string> afterContext;
    } cases[] = {
        {"stored mode", false, 800, 1,
         {"SizeWindow 800x600", "HideCursor", "ShowWindow", "ChangeDisplayMode 800x600x16", "SetTimer 1 1"}},
        {"desktop size", false, 0, 0, {"DesktopSize", "SizeWindow 1280x1024", "HideCursor", "ShowWindow", "SetTimer 1 1"}},
        {"preview", true, 800, 0, {"HideCursor", "ShowWindow", "SetTimer 1 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        Create(c.preview ? RecordingPreviewParent() : nullptr, c.width, c.alphaBlending);
        std::vector<std::string> expected = {"FocusWindow",    "GetSurface",    "ChoosePixelFormat",
                                             "SetPixelFormat", "CreateContext", "MakeCurrent"};
        expected.insert(expected.end(), c.afterContext.begin(), c.afterContext.end());
        EXPECT_EQ(expected, CallsNamed(PLATFORM_STEPS));
        EXPECT_TRUE(g_reportedErrors.empty());
        EXPECT_EQ(c.alphaBlending != 0, bool(glIsEnabled(GL_BLEND)));
        EXPECT_EQ(c.alphaBlending == 0, bool(glIsEnabled(GL_DEPTH_TEST)));
        ASSERT_EQ(1u, g_host.pixelFormatRequests.size());
        const PixelFormatRequest& r = g_host.pixelFormatRequests[0];
        EXPECT_TRUE(r.colorBits == (c.width ? 16 : 0) && r.alphaBits == c.alphaBlending && r.depthBits == 16);
    }
}

// The show goes on without a working context, and the window still closes without a second report.
TEST_F(WindowProcTest, AFailedSetUpStepIsReportedOnceAndTheRestOfTheSetUpIsSkipped) {
    const std::pair<const char*, const char*> failures[] = {
        {"GetSurface", "Can't Create A GL Device Context."},
        {"ChoosePixelFormat", "Can't Find A Suitable PixelFormat."},
        {"SetPixelFormat", "Can't Set The PixelFormat."},
        {"CreateContext", "Can't Create A GL Rendering Context."},
        {"MakeCurrent", "Can't Activate The GL Rendering Context."}};
    for (const auto& [step, message] : failures) {
        SCOPED_TRACE(step);
        Restart();
        g_host.failing = {step};
        Create(nullptr, 800);
        ASSERT_EQ(1u, g_reportedErrors.size());
        EXPECT_TRUE(g_reportedErrors[0].caption == "Error" && g_reportedErrors[0].text == message &&
                    g_reportedErrors[0].icon == 0x30u);
        std::vector<std::string> steps = CallsNamed(PLATFORM_STEPS);
        EXPECT_EQ(step, steps[steps.size() - 2]);
        EXPECT_EQ("SetTimer 1 1", steps.back());
        g_host.failing.clear();
        Send(SAVER_WM_SIZE, 0, Packed(64, 48));
        Send(SAVER_WM_TIMER);
        Send(SAVER_WM_DESTROY);
        EXPECT_EQ(nullptr, g_show.gl.context);
        EXPECT_EQ(1u, g_reportedErrors.size());
    }
}

// Timer: one frame and the swap. Destroy: every record freed (under ASan, none leaks), then the
// timer, the context and the surface, each release failure reported and passed.
TEST_F(WindowProcTest, TimerDrawsAndSwapsAndDestroyFreesEverythingReportingEachFailedRelease) {
    Create(nullptr);
    Send(SAVER_WM_SIZE, 0, Packed(320, 240));
    g_host.calls.clear();
    EXPECT_EQ(0, Send(SAVER_WM_TIMER, 99));
    EXPECT_THAT(g_host.calls, ElementsAre("SwapBuffers window"));
    for (int slot = 0; slot < POOL_SIZE; ++slot) g_show.world.Create(slot, Vec3(), Vec3(), FF_STAR);
    g_host.calls.clear();
    g_host.failing = {"MakeCurrent", "DeleteContext", "ReleaseSurface"};
    EXPECT_EQ(0, Send(SAVER_WM_DESTROY));
    EXPECT_EQ(0, g_show.world.pool.CountLive());
    EXPECT_EQ(nullptr, g_show.stars.starArray);
    EXPECT_TRUE(g_show.gl.context == nullptr && g_show.gl.surface == nullptr);
    EXPECT_THAT(g_host.calls, ElementsAre("KillTimer 1", "MakeCurrent release", "DeleteContext", "ReleaseSurface",
                                          "PostQuitMessage 0"));
    ASSERT_EQ(3u, g_reportedErrors.size());
    EXPECT_EQ("Release Of DC And RC Failed.", g_reportedErrors[0].text);
    EXPECT_EQ("Release Rendering Context Failed.", g_reportedErrors[1].text);
    EXPECT_EQ("Release Device Context Failed.", g_reportedErrors[2].text);
    for (const ReportedError& error : g_reportedErrors)
        EXPECT_TRUE(error.caption == "Shutdown Error" && error.icon == 0x40u);
}

TEST_F(WindowProcTest, AModeTheDisplayCannotSetEndsTheProcessWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    g_host.failing = {"ChangeDisplayMode"};
    EXPECT_EXIT(Create(nullptr, 1234), ::testing::ExitedWithCode(1), "vesperglow: Error: Could Not Change Display Mode");
}

// Jitter of five pixels round the first position never closes; a drift of six in any direction does,
// however slowly, since the start is never moved along. The close runs nested inside the move and
// restores a stored display mode. A preview ignores the mouse and never restores the mode.
TEST_F(WindowProcTest, MouseDriftClosesAFullScreenSaverAndTheCloseRestoresItsMode) {
    Create(nullptr, 800);
    g_host.calls.clear();
    EXPECT_EQ(0, Send(SAVER_WM_MOUSEMOVE, 0, Packed(60000, 400)));
    for (int dx = -5; dx <= 5; ++dx)
        for (int dy = -5; dy <= 5; dy += 5) Send(SAVER_WM_MOUSEMOVE, 0, Packed(60000 + dx, 400 + dy));
    EXPECT_TRUE(g_host.calls.empty());
    const int directions[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (const auto& d : directions) {
        g_show.awaitingFirstMouseMove = true;
        g_host.calls.clear();
        for (int step = 0; step <= 6; ++step) Send(SAVER_WM_MOUSEMOVE, 0, Packed(300 + step * d[0], 300 + step * d[1]));
        EXPECT_THAT(g_host.calls, ElementsAre("SendMessage 0x0010", "RestoreDisplayMode", "DefaultSaverProc 0x0010 0"));
    }

    Restart();
    Create(RecordingPreviewParent(), 800);
    g_host.calls.clear();
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(300, 300));
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(300, 200));
    g_host.defaultResult = 7;
    EXPECT_EQ(7, Send(SAVER_WM_CLOSE));
    EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0010 0"));
}

// F1 and F2 are consumed while their settings allow them; any other key, and F1 or F2 with their
// setting off, goes to the default procedure, which ends the saver.
TEST_F(WindowProcTest, F1AndF2ShowTheirOverlaysWhileHeldWhenTheirSettingsAllow) {
    for (uint32_t allowed : {1u, 0u}) {
        Restart();
        Create(nullptr, 0, 1, allowed);
        g_host.defaultResult = 0x55;
        g_host.calls.clear();
        EXPECT_EQ(allowed ? 0 : 0x55, Send(SAVER_WM_KEYDOWN, SAVER_VK_F1));
        EXPECT_EQ(allowed ? 0 : 0x55, Send(SAVER_WM_KEYDOWN, SAVER_VK_F2));
        EXPECT_TRUE(g_show.showBorder == bool(allowed) && g_show.showFrameRate == bool(allowed));
        Send(SAVER_WM_KEYUP, SAVER_VK_F1);
        EXPECT_TRUE(!g_show.showBorder && g_show.showFrameRate == bool(allowed));
        EXPECT_EQ(allowed ? 0u : 3u, g_host.calls.size());
    }
    g_host.calls.clear();
    EXPECT_EQ(0x55, Send(SAVER_WM_KEYDOWN, 'A'));
    EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0100 65"));
}

// Each size passes on, sets the viewport and builds the stars for the window.
TEST_F(WindowProcTest, EachSizeMessageSizesTheSceneAndTheStarsAndPassesOn) {
    Create(RecordingPreviewParent());
    g_host.defaultResult = 3;
    g_host.calls.clear();
    EXPECT_EQ(3, Send(SAVER_WM_SIZE, 0, Packed(1920, 1080)));
    EXPECT_THAT(g_host.calls, ElementsAre("DefaultSaverProc 0x0005 0"));
    EXPECT_EQ(18 * 32, g_show.stars.count);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_TRUE(viewport[2] == 1920 && viewport[3] == 1080);
}
