#include <GL/gl.h>
#include <gmock/gmock.h>

#include <cstdlib>
#include <ostream>

#include "engine/engine_state.h"
#include "engine/saver_messages.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "render/gl_context.h"
#include "settings/settings.h"
#include "tests/gl/window_fixture.h"

using ::testing::ElementsAre;

static const std::set<std::string> PLATFORM_STEPS = {
    "FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat", "CreateContext", "MakeCurrent",
    "DesktopSize", "SizeWindow", "HideCursor", "ShowWindow", "ChangeDisplayMode", "SetTimer"};

static void StoreMode(uint32_t width, uint32_t height, uint32_t bits) {
    g_settings.displayWidth = width;
    g_settings.displayHeight = height;
    g_settings.displayBits = bits;
}

TEST_F(WindowProcTest, FullScreenWithAStoredModeSizesTheWindowBeforeSwitching) {
    NcCreate();
    StoreMode(800, 600, 16);
    Create(nullptr);
    EXPECT_THAT(CallsNamed(PLATFORM_STEPS),
                ElementsAre("FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat", "CreateContext",
                            "MakeCurrent", "SizeWindow 800x600", "HideCursor", "ShowWindow",
                            "ChangeDisplayMode 800x600x16", "SetTimer 1 1"));
    EXPECT_NE(g_hdc, nullptr);
    EXPECT_NE(g_hglrc, nullptr);
    EXPECT_TRUE(g_reportedErrors.empty());
}

TEST_F(WindowProcTest, FullScreenWithoutAStoredModeTakesTheDesktopSize) {
    NcCreate();
    StoreMode(0, 0, 0);
    g_host.desktopWidth = 1366;
    g_host.desktopHeight = 705;
    Create(nullptr);
    EXPECT_THAT(CallsNamed(PLATFORM_STEPS),
                ElementsAre("FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat", "CreateContext",
                            "MakeCurrent", "DesktopSize", "SizeWindow 1366x705", "HideCursor", "ShowWindow",
                            "SetTimer 1 1"));
}

TEST_F(WindowProcTest, PreviewNeitherSizesNorSwitchesButHidesTheCursor) {
    NcCreate();
    StoreMode(800, 600, 16);
    Create(RecordingPreviewParent());
    EXPECT_THAT(CallsNamed(PLATFORM_STEPS),
                ElementsAre("FocusWindow", "GetSurface", "ChoosePixelFormat", "SetPixelFormat", "CreateContext",
                            "MakeCurrent", "HideCursor", "ShowWindow", "SetTimer 1 1"));
}

TEST_F(WindowProcTest, CreationEmptiesThePoolWithoutDeleting) {
    NcCreate();
    Firework* leftOver = new Firework(Vec3(), Vec3(), FF_STAR);
    g_fireworkPool.slots[17] = leftOver;
    Create(nullptr);
    EXPECT_EQ(g_fireworkPool.slots[17], nullptr);
    delete leftOver;
}

TEST_F(WindowProcTest, AlphaBlendingOnSetsAdditiveBlendingWithoutDepthTest) {
    NcCreate();
    g_settings.alphaBlending = 1;
    Create(nullptr);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint source = 0, destination = 0, shading = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_DST_ALPHA);
    EXPECT_EQ(shading, GL_SMOOTH);
}

TEST_F(WindowProcTest, AlphaBlendingOffKeepsTheDepthTest) {
    NcCreate();
    g_settings.alphaBlending = 0;
    Create(nullptr);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthFunction = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunction);
    EXPECT_EQ(depthFunction, GL_LEQUAL);
}

// The pixel format is completed from the settings of the first creation in the process, so
// this runs in a process of its own.
TEST_F(WindowProcTest, PixelFormatComesFromTheFirstSettingsAndStays) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            NcCreate();
            StoreMode(800, 600, 16);
            g_settings.alphaBlending = 0;
            Create(nullptr);
            g_settings.displayBits = 32;
            g_settings.alphaBlending = 1;
            Create(nullptr);
            const std::vector<PixelFormatRequest>& r = g_host.pixelFormatRequests;
            bool ok = r.size() == 2 && r[0].colorBits == 16 && r[0].alphaBits == 0 && r[0].depthBits == 16 &&
                      r[1].colorBits == 16 && r[1].alphaBits == 0 && r[1].depthBits == 16;
            std::exit(ok ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

struct SetUpFailure {
    const char* step;
    const char* message;
    const char* lastCall;
};

static void PrintTo(const SetUpFailure& failure, std::ostream* out) {
    *out << failure.step;
}

class CreateFailureTest : public WindowProcTest, public ::testing::WithParamInterface<SetUpFailure> {};

TEST_P(CreateFailureTest, ReportsOnceStopsTheSetUpAndTheTimerStillStarts) {
    NcCreate();
    StoreMode(800, 600, 16);
    g_host.failing = {GetParam().step};
    Create(nullptr);
    ASSERT_EQ(g_reportedErrors.size(), 1u);
    EXPECT_EQ(g_reportedErrors[0].caption, "Error");
    EXPECT_EQ(g_reportedErrors[0].text, GetParam().message);
    EXPECT_EQ(g_reportedErrors[0].icon, 0x30u);
    std::vector<std::string> steps = CallsNamed(PLATFORM_STEPS);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_EQ(steps[steps.size() - 2], GetParam().lastCall);
    EXPECT_EQ(steps.back(), "SetTimer 1 1");
    EXPECT_TRUE(CallsNamed({"SizeWindow", "ShowWindow", "ChangeDisplayMode", "HideCursor"}).empty());

    // The show goes on without a working context, and the window still closes cleanly.
    Send(SAVER_WM_SIZE, 0, PackedPoint(64, 48));
    Send(SAVER_WM_TIMER);
    Send(SAVER_WM_DESTROY);
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, CreateFailureTest,
    ::testing::Values(SetUpFailure{"GetSurface", "Can't Create A GL Device Context.", "GetSurface"},
                      SetUpFailure{"ChoosePixelFormat", "Can't Find A Suitable PixelFormat.", "ChoosePixelFormat"},
                      SetUpFailure{"SetPixelFormat", "Can't Set The PixelFormat.", "SetPixelFormat"},
                      SetUpFailure{"CreateContext", "Can't Create A GL Rendering Context.", "CreateContext"},
                      SetUpFailure{"MakeCurrent", "Can't Activate The GL Rendering Context.", "MakeCurrent"}),
    [](const ::testing::TestParamInfo<SetUpFailure>& info) { return std::string(info.param.step); });

TEST_F(WindowProcTest, ReleaseReportsEachFailureAndGoesOn) {
    const char* const steps[] = {"MakeCurrent", "DeleteContext", "ReleaseSurface"};
    const char* const messages[] = {"Release Of DC And RC Failed.", "Release Rendering Context Failed.",
                                    "Release Device Context Failed."};
    for (int failing = 0; failing < 3; ++failing) {
        SCOPED_TRACE(steps[failing]);
        ResetRecordingHost();
        g_reportedErrors.clear();
        NcCreate();
        Create(nullptr);
        ASSERT_NE(g_hglrc, nullptr);
        g_host.calls.clear();
        g_host.failing = {steps[failing]};
        ReleaseGLContext(RecordingWindow(), &g_hdc, &g_hglrc);
        EXPECT_THAT(g_host.calls, ElementsAre("MakeCurrent release", "DeleteContext", "ReleaseSurface"));
        ASSERT_EQ(g_reportedErrors.size(), 1u);
        EXPECT_EQ(g_reportedErrors[0].caption, "Shutdown Error");
        EXPECT_EQ(g_reportedErrors[0].text, messages[failing]);
        EXPECT_EQ(g_reportedErrors[0].icon, 0x40u);
        EXPECT_EQ(g_hglrc, nullptr);
        EXPECT_EQ(g_hdc, nullptr);
    }
}

TEST_F(WindowProcTest, ReleaseWithEverythingFailingReportsAllThreeInOrder) {
    NcCreate();
    Create(nullptr);
    g_host.failing = {"MakeCurrent", "DeleteContext", "ReleaseSurface"};
    ReleaseGLContext(RecordingWindow(), &g_hdc, &g_hglrc);
    ASSERT_EQ(g_reportedErrors.size(), 3u);
    EXPECT_EQ(g_reportedErrors[0].text, "Release Of DC And RC Failed.");
    EXPECT_EQ(g_reportedErrors[1].text, "Release Rendering Context Failed.");
    EXPECT_EQ(g_reportedErrors[2].text, "Release Device Context Failed.");
    EXPECT_EQ(g_hglrc, nullptr);
    EXPECT_EQ(g_hdc, nullptr);
}

TEST_F(WindowProcTest, ReleaseWithNothingHeldCallsNothing) {
    SaverSurface surface = nullptr;
    SaverContext context = nullptr;
    ReleaseGLContext(RecordingWindow(), &surface, &context);
    EXPECT_TRUE(g_host.calls.empty());
    EXPECT_TRUE(g_reportedErrors.empty());
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

TEST_F(WindowProcTest, ChangeDisplayModeWithoutAStoredModeDoesNothing) {
    g_settings.displayWidth = 0;
    ChangeDisplayMode();
    EXPECT_TRUE(g_host.calls.empty());
}
