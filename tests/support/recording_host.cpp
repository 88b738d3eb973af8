#include "tests/support/recording_host.h"

#include <cstdio>

#include "engine/saver_window_proc.h"

RecordingHost g_host;

static int s_window;
static int s_previewParent;

SaverWindow RecordingWindow() {
    return &s_window;
}

SaverWindow RecordingPreviewParent() {
    return &s_previewParent;
}

static std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04x", value);
    return text;
}

// Records the call; true when the test asked for it to fail.
static bool Record(const std::string& name, const std::string& arguments = "") {
    g_host.calls.push_back(arguments.empty() ? name : name + " " + arguments);
    return g_host.failing.count(name) != 0;
}

void ResetRecordingHost() {
    OffscreenMakeCurrent(nullptr, EGL_NO_CONTEXT);
    if (g_host.context) OffscreenDestroyContext(g_host.context);
    OffscreenDestroySurface(&g_host.surface);
    g_host = RecordingHost();
    g_host.surface.width = 64;
    g_host.surface.height = 48;
}

std::vector<std::string> CallsNamed(const std::set<std::string>& names) {
    std::vector<std::string> chosen;
    for (const std::string& call : g_host.calls)
        if (names.count(call.substr(0, call.find(' ')))) chosen.push_back(call);
    return chosen;
}

SaverResult DefaultSaverProc(SaverWindow, uint32_t message, SaverWParam wParam, SaverLParam) {
    Record("DefaultSaverProc", Hex(message) + " " + std::to_string(wParam));
    return g_host.defaultResult;
}

uintptr_t HostSetTimer(SaverWindow, uintptr_t id, uint32_t periodMillis) {
    if (Record("SetTimer", std::to_string(id) + " " + std::to_string(periodMillis))) return 0;
    return id;
}

void HostKillTimer(SaverWindow, uintptr_t id) {
    Record("KillTimer", std::to_string(id));
}

// Sent messages run at once, nested, as on Windows.
SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    Record("SendMessage", Hex(message));
    return SaverWindowProc(window, message, wParam, lParam);
}

void HostPostQuitMessage(int exitCode) {
    Record("PostQuitMessage", std::to_string(exitCode));
}

void HostFocusWindow(SaverWindow) {
    Record("FocusWindow");
}

SaverSurface HostGetSurface(SaverWindow) {
    if (Record("GetSurface")) return nullptr;
    return &g_host.surface;
}

int HostChoosePixelFormat(SaverSurface, const PixelFormatRequest& request) {
    g_host.pixelFormatRequests.push_back(request);
    if (Record("ChoosePixelFormat")) return 0;
    return OffscreenChooseConfig(request);
}

bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest&) {
    if (Record("SetPixelFormat")) return false;
    return OffscreenSetConfig(static_cast<OffscreenSurface*>(surface), format);
}

SaverContext HostCreateContext(SaverSurface surface) {
    if (Record("CreateContext")) return nullptr;
    EGLContext context = OffscreenCreateContext(*static_cast<OffscreenSurface*>(surface));
    g_host.context = context == EGL_NO_CONTEXT ? nullptr : context;
    return g_host.context;
}

bool HostMakeCurrent(SaverSurface surface, SaverContext context) {
    bool releasing = !surface && !context;
    if (Record("MakeCurrent", releasing ? "release" : "")) return false;
    return OffscreenMakeCurrent(static_cast<OffscreenSurface*>(surface), context);
}

bool HostDeleteContext(SaverContext context) {
    if (Record("DeleteContext")) return false;
    if (context == g_host.context) g_host.context = nullptr;
    return OffscreenDestroyContext(context);
}

bool HostReleaseSurface(SaverWindow, SaverSurface surface) {
    if (Record("ReleaseSurface")) return false;
    return OffscreenDestroySurface(static_cast<OffscreenSurface*>(surface));
}

void HostSwapBuffers(SaverSurface surface) {
    Record("SwapBuffers", surface == &g_host.surface ? "window" : "other");
}

void HostDesktopSize(int* width, int* height) {
    Record("DesktopSize");
    *width = g_host.desktopWidth;
    *height = g_host.desktopHeight;
}

void HostSizeWindow(SaverWindow, int width, int height) {
    Record("SizeWindow", std::to_string(width) + "x" + std::to_string(height));
}

void HostHideCursor() {
    Record("HideCursor");
}

void HostShowWindow(SaverWindow) {
    Record("ShowWindow");
}

bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    return !Record("ChangeDisplayMode",
                   std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bitsPerPixel));
}

void HostRestoreDisplayMode() {
    Record("RestoreDisplayMode");
}
