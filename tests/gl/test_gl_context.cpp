#include <GL/gl.h>
#include <gmock/gmock.h>

#include <tuple>
#include <utility>

#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "render/gl_context.h"
#include "tests/gl/window_fixture.h"

using ::testing::ElementsAre;

static const std::set<std::string> PLATFORM_STEPS = {
    "FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent",
    "DesktopSize", "SizeWindow", "HideCursor", "ShowWindow", "ChangeDisplayMode", "SetTimer"};

// The window is sized before the display mode changes under it; a preview is neither sized nor
// switched. The pool is emptied without deleting (the test frees the record itself), and the
// blending setting picks the scene's state. The pixel format is completed once, from the
// settings of the first creation in the process, and then stays.
TEST_F(WindowProcTest, CreationTakesThePlatformStepsInOrderForEachKindOfWindow) {
    const struct {
        const char* what;
        bool preview;
        uint32_t width, alphaBlending;
        std::vector<std::string> afterContext;
    } cases[] = {
        {"stored mode", false, 800, 1,
         {"SizeWindow 800x600", "HideCursor", "ShowWindow", "ChangeDisplayMode 800x600x16", "SetTimer 1 1"}},
        {"desktop size", false, 0, 0,
         {"DesktopSize", "SizeWindow 1366x705", "HideCursor", "ShowWindow", "SetTimer 1 1"}},
        {"preview", true, 800, 0, {"HideCursor", "ShowWindow", "SetTimer 1 1"}},
    };
    PixelFormatRequest first = {};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        g_host.desktopWidth = 1366;
        g_host.desktopHeight = 705;
        NcCreate();
        StoreMode(c.width, c.width ? 600 : 0, c.width ? 16 : 0);
        g_settings.alphaBlending = c.alphaBlending;
        Firework leftOver(Vec3(), Vec3(), FF_STAR);
        g_fireworkPool.slots[17] = &leftOver;
        Create(c.preview ? RecordingPreviewParent() : nullptr);

        std::vector<std::string> expected = {"FocusWindow",   "GetSurface",  "ChoosePixelFormat",
                                             "SetPixelFormat", "CreateContext", "MakeCurrent"};
        expected.insert(expected.end(), c.afterContext.begin(), c.afterContext.end());
        EXPECT_EQ(CallsNamed(PLATFORM_STEPS), expected);
        EXPECT_NE(g_hdc, nullptr);
        EXPECT_NE(g_hglrc, nullptr);
        EXPECT_TRUE(g_reportedErrors.empty());
        EXPECT_EQ(g_fireworkPool.slots[17], nullptr);
        g_fireworkPool.slots[17] = nullptr;  // never hand the stack record to the pool's teardown
        EXPECT_EQ(bool(glIsEnabled(GL_BLEND)), c.alphaBlending != 0);
        EXPECT_EQ(bool(glIsEnabled(GL_DEPTH_TEST)), c.alphaBlending == 0);
        ASSERT_EQ(g_host.pixelFormatRequests.size(), 1u);
        const PixelFormatRequest& r = g_host.pixelFormatRequests[0];
        EXPECT_EQ(r.depthBits, 16);
        if (&c == cases) first = r;
        EXPECT_EQ(std::make_tuple(r.colorBits, r.alphaBits), std::make_tuple(first.colorBits, first.alphaBits));
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
        NcCreate();
        StoreMode(800, 600, 16);
        g_host.failing = {step};
        Create(nullptr);
        ASSERT_EQ(g_reportedErrors.size(), 1u);
        EXPECT_EQ(g_reportedErrors[0].caption, "Error");
        EXPECT_EQ(g_reportedErrors[0].text, message);
        EXPECT_EQ(g_reportedErrors[0].icon, 0x30u);
        std::vector<std::string> steps = CallsNamed(PLATFORM_STEPS);
        ASSERT_GE(steps.size(), 2u);
        EXPECT_EQ(steps[steps.size() - 2], step);
        EXPECT_EQ(steps.back(), "SetTimer 1 1");

        g_host.failing.clear();
        Send(SAVER_WM_SIZE, 0, PackedPoint(64, 48));
        Send(SAVER_WM_TIMER);
        Send(SAVER_WM_DESTROY);
        EXPECT_EQ(g_hglrc, nullptr);
        EXPECT_EQ(g_hdc, nullptr);
        EXPECT_EQ(g_reportedErrors.size(), 1u);
    }
}

TEST_F(WindowProcTest, ReleaseReportsEachFailedStepInOrderAndGoesOn) {
    NcCreate();
    Create(nullptr);
    g_host.calls.clear();
    g_host.failing = {"MakeCurrent", "DeleteContext", "ReleaseSurface"};
    ReleaseGLContext(RecordingWindow(), &g_hdc, &g_hglrc);
    EXPECT_THAT(g_host.calls, ElementsAre("MakeCurrent release", "DeleteContext", "ReleaseSurface"));
    ASSERT_EQ(g_reportedErrors.size(), 3u);
    EXPECT_EQ(g_reportedErrors[0].text, "Release Of DC And RC Failed.");
    EXPECT_EQ(g_reportedErrors[1].text, "Release Rendering Context Failed.");
    EXPECT_EQ(g_reportedErrors[2].text, "Release Device Context Failed.");
    for (const ReportedError& error : g_reportedErrors) {
        EXPECT_EQ(error.caption, "Shutdown Error");
        EXPECT_EQ(error.icon, 0x40u);
    }
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
}

TEST_F(WindowProcTest, AModeTheDisplayCannotSetEndsTheProcessWithCodeOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            NcCreate();
            StoreMode(1234, 567, 8);
            g_host.failing = {"ChangeDisplayMode"};
            Create(nullptr);
        },
        ::testing::ExitedWithCode(1), "vesperglow: Error: Could Not Change Display Mode");
}
