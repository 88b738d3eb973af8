#include <GL/gl.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "engine/saver_window.h"
#include "engine/saver_window_proc.h"
#include "host/headless/offscreen_egl.h"
#include "tests/support/fake_platform.h"

using ::testing::ElementsAre;

namespace {

// A host that writes down every platform call the core makes, in order, and fails the calls a test
// names. Surface and context are real (offscreen EGL), so after a working set-up the saver draws.
struct RecordingHost {
    std::vector<std::string> calls;
    std::set<std::string> failing;  // call names (the first word of a record) that fail
    std::vector<PixelFormatRequest> pixelFormatRequests;
    SaverResult defaultResult = 0;  // what DefaultSaverProc returns
    OffscreenSurface surface{64, 48};
    SaverContext context = nullptr;  // the last context made, until deleted
    void* windowData = nullptr;
    std::vector<SaverMonitor> monitors;
};

RecordingHost g_host;
int s_window, s_previewParent;

// Records the call; true when the test asked for it to fail.
bool Record(const std::string& name, const std::string& arguments = "") {
    g_host.calls.push_back(arguments.empty() ? name : name + " " + arguments);
    return g_host.failing.count(name) != 0;
}

}  // namespace

SaverResult DefaultSaverProc(SaverWindow, uint32_t message, SaverWParam wParam, SaverLParam) {
    Record("DefaultSaverProc", std::to_string(message) + " " + std::to_string(wParam));
    return g_host.defaultResult;
}
uintptr_t HostSetTimer(SaverWindow, uintptr_t id, uint32_t periodMillis) {
    return Record("SetTimer", std::to_string(id) + " " + std::to_string(periodMillis)) ? 0 : id;
}
void HostKillTimer(SaverWindow, uintptr_t id) { Record("KillTimer", std::to_string(id)); }
SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    Record("SendMessage", std::to_string(message));
    return SaverWindowProc(window, message, wParam, lParam);
}
void HostPostQuitMessage(int exitCode) { Record("PostQuitMessage", std::to_string(exitCode)); }
void HostSetWindowData(SaverWindow, void* data) { g_host.windowData = data; }
void* HostGetWindowData(SaverWindow) { return g_host.windowData; }
int HostListMonitors(SaverWindow, SaverMonitor* monitors, int capacity) {
    int count = std::min(int(g_host.monitors.size()), capacity);
    std::copy(g_host.monitors.begin(), g_host.monitors.begin() + count, monitors);
    return count;
}
void HostFocusWindow(SaverWindow) { Record("FocusWindow"); }
SaverSurface HostGetSurface(SaverWindow) { return Record("GetSurface") ? nullptr : &g_host.surface; }
int HostChoosePixelFormat(SaverSurface, const PixelFormatRequest& request) {
    g_host.pixelFormatRequests.push_back(request);
    return Record("ChoosePixelFormat") ? 0 : OffscreenChooseConfig(request);
}
bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest&) {
    return !Record("SetPixelFormat") && OffscreenSetConfig(static_cast<OffscreenSurface*>(surface), format);
}
SaverContext HostCreateContext(SaverSurface surface) {
    if (Record("CreateContext")) return nullptr;
    EGLContext context = OffscreenCreateContext(*static_cast<OffscreenSurface*>(surface));
    return g_host.context = context == EGL_NO_CONTEXT ? nullptr : context;
}
bool HostMakeCurrent(SaverSurface surface, SaverContext context) {
    return !Record("MakeCurrent", surface || context ? "" : "release") &&
           OffscreenMakeCurrent(static_cast<OffscreenSurface*>(surface), context);
}
bool HostDeleteContext(SaverContext context) {
    if (Record("DeleteContext")) return false;
    if (context == g_host.context) g_host.context = nullptr;
    return OffscreenDestroyContext(context);
}
bool HostReleaseSurface(SaverWindow, SaverSurface surface) {
    return !Record("ReleaseSurface") && OffscreenDestroySurface(static_cast<OffscreenSurface*>(surface));
}
void HostSwapBuffers(SaverSurface surface) { Record("SwapBuffers", surface == &g_host.surface ? "window" : "other"); }
void HostDesktopSize(int* width, int* height) {
    Record("DesktopSize");
    *width = 1280;
    *height = 1024;
}
void HostSizeWindow(SaverWindow, int width, int height) {
    Record("SizeWindow", std::to_string(width) + "x" + std::to_string(height));
}
void HostHideCursor() { Record("HideCursor"); }
void HostShowWindow(SaverWindow) { Record("ShowWindow"); }
bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    return !Record("ChangeDisplayMode",
                   std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bitsPerPixel));
}
void HostRestoreDisplayMode() { Record("RestoreDisplayMode"); }

namespace {

SaverLParam Packed(int low, int high) {
    return SaverLParam((uint32_t(high) & 0xFFFF) << 16 | (uint32_t(low) & 0xFFFF));
}

// The saver window procedure on the recording host, created afresh by each test with the stored
// display mode, blending and overlay keys it asks for. Mouse drift and input reach it end to end.
class WindowProcTest : public ::testing::Test {
protected:
    void SetUp() override { Restart(); }
    void TearDown() override { Restart(); }
    void Restart() {
        if (State()) Send(SAVER_WM_DESTROY);
        OffscreenMakeCurrent(nullptr, EGL_NO_CONTEXT);
        if (g_host.context) OffscreenDestroyContext(g_host.context);
        OffscreenDestroySurface(&g_host.surface);
        g_host = RecordingHost();
        g_reportedErrors.clear();
    }
    SaverResult Send(uint32_t message, SaverWParam wParam = 0, SaverLParam lParam = 0) {
        return SaverWindowProc(&s_window, message, wParam, lParam);
    }
    // The settings the host hands over: the defaults with the test's display mode, blending and keys.
    void Create(SaverWindow parent, uint32_t modeWidth = 0, uint32_t alphaBlending = 1, uint32_t overlayKeys = 1) {
        Settings settings;
        settings.displayWidth = modeWidth;
        settings.displayHeight = modeWidth ? 600 : 0;
        settings.displayBits = modeWidth ? 16 : 0;
        settings.alphaBlending = alphaBlending;
        settings.f1DisplaysWindowBorder = settings.f2DisplaysFrameRate = overlayKeys;
        SaverShowRequest request = {&settings, true, 1, false, 0};
        SaverCreateParams params = {&request, nullptr, nullptr, parent};
        Send(SAVER_WM_NCCREATE, 0, SaverLParam(&params));
        g_host.calls.clear();
        ASSERT_EQ(0, Send(SAVER_WM_CREATE, 0, SaverLParam(&params)));
    }
    static SaverWindowState* State() { return SaverWindowStateOf(&s_window); }
    static Show& FirstShow() { return *State()->shows[0].show; }
};

}  // namespace

// The window is sized before the display mode changes under it; a window over several monitors
// keeps its size while the mode switches; a preview is neither sized nor switched. The blending
// setting picks the scene's state.
TEST_F(WindowProcTest, CreationTakesThePlatformStepsInOrderForEachKindOfWindow) {
    const struct {
        const char* what;
        bool preview;
        uint32_t width, alphaBlending;
        std::vector<std::string> afterContext;
        bool twoMonitors = false;
    } cases[] = {
        {"stored mode", false, 800, 1,
         {"SizeWindow 800x600", "HideCursor", "ShowWindow", "ChangeDisplayMode 800x600x16", "SetTimer 1 1"}},
        {"desktop size", false, 0, 0,
         {"DesktopSize", "SizeWindow 1280x1024", "HideCursor", "ShowWindow", "SetTimer 1 1"}},
        {"preview", true, 800, 0, {"HideCursor", "ShowWindow", "SetTimer 1 1"}},
        {"stored mode, two monitors", false, 800, 1,
         {"HideCursor", "ShowWindow", "ChangeDisplayMode 800x600x16", "SetTimer 1 1"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Restart();
        if (c.twoMonitors) g_host.monitors = {{0, 0, 1024, 768, 1}, {1024, 0, 800, 600, 2}};
        Create(c.preview ? &s_previewParent : nullptr, c.width, c.alphaBlending);
        std::vector<std::string> expected = {"FocusWindow",    "GetSurface",    "ChoosePixelFormat",
                                             "SetPixelFormat", "CreateContext", "MakeCurrent"};
        expected.insert(expected.end(), c.afterContext.begin(), c.afterContext.end());
        EXPECT_EQ(expected, g_host.calls);
        EXPECT_TRUE(g_reportedErrors.empty());
        EXPECT_EQ(c.alphaBlending != 0, bool(glIsEnabled(GL_BLEND)));
        EXPECT_EQ(c.alphaBlending == 0, bool(glIsEnabled(GL_DEPTH_TEST)));
        ASSERT_EQ(1u, g_host.pixelFormatRequests.size());
        const PixelFormatRequest& r = g_host.pixelFormatRequests[0];
        EXPECT_TRUE(r.colorBits == (c.width ? 16 : 0) && r.alphaBits == c.alphaBlending &&
                    r.depthBits == (c.alphaBlending ? 0 : 16));
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
        const std::vector<std::string>& steps = g_host.calls;
        EXPECT_EQ(step, steps[steps.size() - 2]);
        EXPECT_EQ("SetTimer 1 1", steps.back());
        g_host.failing.clear();
        Send(SAVER_WM_SIZE, 0, Packed(64, 48));
        Send(SAVER_WM_TIMER);
        Send(SAVER_WM_DESTROY);
        EXPECT_EQ(nullptr, State());
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
    for (int slot = 0; slot < POOL_SIZE; ++slot) FirstShow().world.Create(slot, Vec3(), Vec3(), FF_STAR);
    g_host.calls.clear();
    g_host.failing = {"MakeCurrent", "DeleteContext", "ReleaseSurface"};
    EXPECT_EQ(0, Send(SAVER_WM_DESTROY));
    EXPECT_EQ(nullptr, State());
    EXPECT_THAT(g_host.calls, ElementsAre("KillTimer 1", "MakeCurrent release", "DeleteContext", "ReleaseSurface",
                                          "PostQuitMessage 0"));
    ASSERT_EQ(3u, g_reportedErrors.size());
    EXPECT_EQ("Release Of DC And RC Failed.", g_reportedErrors[0].text);
    EXPECT_EQ("Release Rendering Context Failed.", g_reportedErrors[1].text);
    EXPECT_EQ("Release Device Context Failed.", g_reportedErrors[2].text);
    for (const ReportedError& error : g_reportedErrors)
        EXPECT_TRUE(error.caption == "Shutdown Error" && error.icon == 0x40u);
}

// F1 and F2 are consumed while their settings allow them; with their setting off they go to the
// default procedure, which ends the saver, as any other key does.
TEST_F(WindowProcTest, F1AndF2ShowTheirOverlaysWhileHeldWhenTheirSettingsAllow) {
    for (uint32_t allowed : {1u, 0u}) {
        Restart();
        Create(nullptr, 0, 1, allowed);
        g_host.defaultResult = 0x55;
        g_host.calls.clear();
        EXPECT_EQ(allowed ? 0 : 0x55, Send(SAVER_WM_KEYDOWN, SAVER_VK_F1));
        EXPECT_EQ(allowed ? 0 : 0x55, Send(SAVER_WM_KEYDOWN, SAVER_VK_F2));
        Send(SAVER_WM_KEYUP, SAVER_VK_F1);
        EXPECT_TRUE(!FirstShow().showBorder && FirstShow().showFrameRate == bool(allowed));
        EXPECT_EQ(allowed ? 0u : 3u, g_host.calls.size());
    }
}

// A new layout may move the window under a pointer that stayed: drift counts again from the pointer's
// next position, and six pixels from there still end the saver.
TEST_F(WindowProcTest, ALayoutChangeRestartsTheDriftRuleAtThePointersNextPosition) {
    Create(nullptr);
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(400, 400));
    Send(SAVER_WM_DISPLAYCHANGE);
    g_host.calls.clear();
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(1200, 400));
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(1205, 395));
    EXPECT_TRUE(g_host.calls.empty());
    Send(SAVER_WM_MOUSEMOVE, 0, Packed(1206, 395));
    ASSERT_FALSE(g_host.calls.empty());
    EXPECT_EQ("SendMessage 16", g_host.calls[0]);
}
