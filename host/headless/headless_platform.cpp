#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "host/headless/headless_host.h"
#include "seam/platform.h"

static int s_desktopWidth = 1024;
static int s_desktopHeight = 768;
static bool s_modeChanged = false;
static int s_savedDesktopWidth = 0;
static int s_savedDesktopHeight = 0;
static bool s_quitPosted = false;
static int s_exitCode = 0;
static HeadlessWindow s_desktop;
static std::vector<SaverMonitor> s_monitors;

static HeadlessWindow* Window(SaverWindow window) {
    return static_cast<HeadlessWindow*>(window);
}

static SaverLParam PackedSize(int width, int height) {
    return SaverLParam((uint32_t(height) & 0xFFFF) << 16 | (uint32_t(width) & 0xFFFF));
}

HeadlessWindow* HeadlessCreateWindow(SaverWindowProcedure procedure, int width, int height, SaverWindow parent,
                                     const SaverShowRequest& request) {
    HeadlessWindow* window = new HeadlessWindow;
    window->procedure = procedure;
    window->parent = parent;
    window->width = width;
    window->height = height;
    window->surface.width = width;
    window->surface.height = height;
    SaverCreateParams params = {const_cast<SaverShowRequest*>(&request), nullptr, nullptr, parent};
    procedure(window, SAVER_WM_NCCREATE, 0, SaverLParam(&params));
    procedure(window, SAVER_WM_CREATE, 0, SaverLParam(&params));
    procedure(window, SAVER_WM_SIZE, 0, PackedSize(window->width, window->height));
    return window;
}

bool HeadlessPump(HeadlessWindow* window) {
    if (window->destroyed) return false;
    if (window->closeRequested) {
        window->closeRequested = false;
        window->procedure(window, SAVER_WM_CLOSE, 0, 0);
        if (window->destroyed) return false;
    }
    if (window->timerId != 0) window->procedure(window, SAVER_WM_TIMER, window->timerId, 0);
    return !window->destroyed;
}

void HeadlessClose(HeadlessWindow* window) {
    if (!window->destroyed) window->procedure(window, SAVER_WM_CLOSE, 0, 0);
}

void HeadlessFreeWindow(HeadlessWindow* window) {
    delete window;
}

void HeadlessSetDesktopSize(int width, int height) {
    s_desktopWidth = width;
    s_desktopHeight = height;
}

void HeadlessSetMonitors(const SaverMonitor* monitors, int count) {
    s_monitors.assign(monitors, monitors + count);
}

bool HeadlessQuitPosted(int* exitCode) {
    if (s_quitPosted && exitCode) *exitCode = s_exitCode;
    return s_quitPosted;
}

SaverWindow HeadlessDesktopWindow() {
    return &s_desktop;
}

// Input closes a full-screen saver; a preview belongs to whoever shows it. A close destroys the window.
SaverResult DefaultSaverProc(SaverWindow saverWindow, uint32_t message, SaverWParam, SaverLParam) {
    HeadlessWindow* window = Window(saverWindow);
    switch (message) {
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_SYSKEYDOWN:
    case SAVER_WM_LBUTTONDOWN:
    case SAVER_WM_RBUTTONDOWN:
    case SAVER_WM_MBUTTONDOWN:
        if (!window->parent) window->closeRequested = true;
        return 0;
    case SAVER_WM_CLOSE:
        window->procedure(window, SAVER_WM_DESTROY, 0, 0);
        window->destroyed = true;
        return 0;
    case SAVER_WM_NCCREATE:
        return 1;
    default:
        return 0;
    }
}

uintptr_t HostSetTimer(SaverWindow window, uintptr_t id, uint32_t) {
    Window(window)->timerId = id;
    return id;
}

void HostKillTimer(SaverWindow window, uintptr_t id) {
    if (Window(window)->timerId == id) Window(window)->timerId = 0;
}

SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    return Window(window)->procedure(window, message, wParam, lParam);
}

void HostPostQuitMessage(int exitCode) {
    s_quitPosted = true;
    s_exitCode = exitCode;
}

void HostSetWindowData(SaverWindow window, void* data) {
    Window(window)->data = data;
}

void* HostGetWindowData(SaverWindow window) {
    return Window(window)->data;
}

void HostFocusWindow(SaverWindow) {}

// A window has one surface, as it has one device context.
SaverSurface HostGetSurface(SaverWindow window) {
    HeadlessWindow* headless = Window(window);
    if (OffscreenDisplay() == EGL_NO_DISPLAY || headless->surfaceTaken) return nullptr;
    headless->surfaceTaken = true;
    return &headless->surface;
}

int HostChoosePixelFormat(SaverSurface, const PixelFormatRequest& request) {
    return OffscreenChooseConfig(request);
}

bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest&) {
    return OffscreenSetConfig(static_cast<OffscreenSurface*>(surface), format);
}

SaverContext HostCreateContext(SaverSurface surface) {
    EGLContext context = OffscreenCreateContext(*static_cast<OffscreenSurface*>(surface));
    return context == EGL_NO_CONTEXT ? nullptr : context;
}

bool HostMakeCurrent(SaverSurface surface, SaverContext context) {
    return OffscreenMakeCurrent(static_cast<OffscreenSurface*>(surface), context);
}

bool HostDeleteContext(SaverContext context) {
    return OffscreenDestroyContext(context);
}

bool HostReleaseSurface(SaverWindow window, SaverSurface surface) {
    HeadlessWindow* headless = Window(window);
    if (surface != &headless->surface || !headless->surfaceTaken) return false;
    headless->surfaceTaken = false;
    return OffscreenDestroySurface(&headless->surface);
}

// A pbuffer shows nothing; presenting a frame means waiting until it is drawn.
void HostSwapBuffers(SaverSurface surface) {
    if (surface) glFinish();
}

void HostDesktopSize(int* width, int* height) {
    *width = s_desktopWidth;
    *height = s_desktopHeight;
}

void HostSizeWindow(SaverWindow saverWindow, int width, int height) {
    HeadlessWindow* window = Window(saverWindow);
    if (width == window->width && height == window->height) return;
    window->width = width;
    window->height = height;
    OffscreenResize(&window->surface, width, height);
    window->procedure(window, SAVER_WM_SIZE, 0, PackedSize(width, height));
}

int HostListMonitors(SaverWindow window, SaverMonitor* monitors, int capacity) {
    if (Window(window)->parent) return 0;
    int count = int(s_monitors.size()) < capacity ? int(s_monitors.size()) : capacity;
    std::copy(s_monitors.begin(), s_monitors.begin() + count, monitors);
    return count;
}

void HostHideCursor() {}

void HostShowWindow(SaverWindow window) {
    Window(window)->visible = true;
}

bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t) {
    if (!s_modeChanged) {
        s_savedDesktopWidth = s_desktopWidth;
        s_savedDesktopHeight = s_desktopHeight;
    }
    s_desktopWidth = int(width);
    s_desktopHeight = int(height);
    s_modeChanged = true;
    return true;
}

void HostRestoreDisplayMode() {
    if (!s_modeChanged) return;
    s_desktopWidth = s_savedDesktopWidth;
    s_desktopHeight = s_savedDesktopHeight;
    s_modeChanged = false;
}

void ReportError(const char* caption, const char* text, unsigned) {
    std::fprintf(stderr, "vesperglow: %s: %s\n", caption, text);
}

void HostFatalExit(int code) {
    HostRestoreDisplayMode();
    std::exit(code);
}
