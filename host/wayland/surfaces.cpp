// The toplevels, one per output full screen or the one window, and the seam's message and window
// steps for them. Each surface is a window of one show to the core.
#include <algorithm>

#include "engine/saver_window_proc.h"
#include "host/linux/close_rules.h"
#include "host/wayland/wayland_host.h"
#include "xdg-shell-client-protocol.h"

// The window's size before the compositor says otherwise, as X11's -window.
const int32_t WINDOW_DEFAULT_WIDTH = 1024;
const int32_t WINDOW_DEFAULT_HEIGHT = 768;

static WaylandSurface* s_starting = nullptr;  // the surface whose WM_CREATE runs

SaverResult SendToSurface(WaylandSurface* surface, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    if (surface->destroyed) return 0;
    if (surface->context != EGL_NO_CONTEXT && eglGetCurrentContext() != surface->context)
        eglMakeCurrent(g_wayland.eglDisplay, surface->eglSurface, surface->eglSurface, surface->context);
    return SaverWindowProc(surface, message, wParam, lParam);
}

static void OnToplevelConfigure(void* data, xdg_toplevel*, int32_t width, int32_t height, wl_array*) {
    WaylandSurface* surface = static_cast<WaylandSurface*>(data);
    surface->pendingWidth = width;
    surface->pendingHeight = height;
}

static void OnToplevelClose(void* data, xdg_toplevel*) {
    WaylandSurface* surface = static_cast<WaylandSurface*>(data);
    // The compositor closes one surface: full screen its show ends alone.
    surface->closeAlone = FullScreen();
    surface->closePosted = true;
}

static const xdg_toplevel_listener TOPLEVEL_LISTENER = {OnToplevelConfigure, OnToplevelClose, nullptr, nullptr};

static void OnSurfaceConfigure(void* data, xdg_surface* xdgSurface, uint32_t serial) {
    WaylandSurface* surface = static_cast<WaylandSurface*>(data);
    xdg_surface_ack_configure(xdgSurface, serial);
    int32_t width = surface->pendingWidth;
    int32_t height = surface->pendingHeight;
    WaylandOutput* output = surface->output;
    // A size of 0 leaves it to the client: the output's own, or the window's last or default.
    if ((width <= 0 || height <= 0) && output && output->modeWidth > 0) {
        width = output->modeWidth / std::max(output->scale, 1);
        height = output->modeHeight / std::max(output->scale, 1);
    }
    if (width <= 0 || height <= 0) {
        width = surface->width > 0 ? surface->width : WINDOW_DEFAULT_WIDTH;
        height = surface->height > 0 ? surface->height : WINDOW_DEFAULT_HEIGHT;
    }
    surface->width = width;
    surface->height = height;
    surface->configured = true;
}

static const xdg_surface_listener XDG_SURFACE_LISTENER = {OnSurfaceConfigure};

// A window's scale follows the outputs it is on: the largest, so it is sharp on every one.
static void WindowScaleFromOutputs(WaylandSurface* surface, wl_output* entered) {
    if (surface->output) return;
    for (auto& output : g_wayland.outputs)
        if (output->output == entered) surface->scale = std::max(surface->scale, output->scale);
}

static void OnSurfaceEnter(void* data, wl_surface*, wl_output* output) {
    WindowScaleFromOutputs(static_cast<WaylandSurface*>(data), output);
}

static void OnSurfaceLeave(void*, wl_surface*, wl_output*) {}

static const wl_surface_listener SURFACE_LISTENER = {OnSurfaceEnter, OnSurfaceLeave};

WaylandSurface* CreateSurface(WaylandOutput* output) {
    auto owned = std::make_unique<WaylandSurface>();
    WaylandSurface* surface = owned.get();
    surface->output = output;
    surface->scale = output ? std::max(output->scale, 1) : 1;
    surface->surface = wl_compositor_create_surface(g_wayland.compositor);
    wl_surface_add_listener(surface->surface, &SURFACE_LISTENER, surface);
    surface->xdgSurface = xdg_wm_base_get_xdg_surface(g_wayland.wmBase, surface->surface);
    xdg_surface_add_listener(surface->xdgSurface, &XDG_SURFACE_LISTENER, surface);
    surface->toplevel = xdg_surface_get_toplevel(surface->xdgSurface);
    xdg_toplevel_add_listener(surface->toplevel, &TOPLEVEL_LISTENER, surface);
    xdg_toplevel_set_title(surface->toplevel, "Vesperglow");
    xdg_toplevel_set_app_id(surface->toplevel, "vesperglow");
    if (output) xdg_toplevel_set_fullscreen(surface->toplevel, output->output);
    wl_surface_commit(surface->surface);
    g_wayland.surfaces.push_back(std::move(owned));
    return surface;
}

// The whole surface is opaque, whatever the frame's alpha holds: Mesa's shared-memory buffers carry
// it even where EGL was asked to present them opaque.
static void MarkOpaque(WaylandSurface* surface) {
    wl_region* region = wl_compositor_create_region(g_wayland.compositor);
    wl_region_add(region, 0, 0, surface->width, surface->height);
    wl_surface_set_opaque_region(surface->surface, region);
    wl_region_destroy(region);
}

static void SendSizeIfChanged(WaylandSurface* surface, int width, int height) {
    if (width == surface->sentWidth && height == surface->sentHeight) return;
    surface->sentWidth = width;
    surface->sentHeight = height;
    SendToSurface(surface, SAVER_WM_SIZE, 0, PackWords(width, height));
}

// The sequence CreateWindowEx gives a Windows saver, then the size in buffer pixels. A window is a
// preview to the core (its own toplevel as the parent): only the full-screen saver ends on input.
static void StartShow(WaylandSurface* surface) {
    int32_t width = surface->width * surface->scale;
    int32_t height = surface->height * surface->scale;
    wl_surface_set_buffer_scale(surface->surface, surface->scale);
    MarkOpaque(surface);
    surface->eglWindow = wl_egl_window_create(surface->surface, width, height);
    int32_t monitor = surface->output ? surface->output->index : 0;
    SaverShowRequest request = {&g_wayland.settings, true, g_wayland.seed, g_wayland.options.showFrameRate, monitor};
    SaverCreateParams params = {};
    params.createParams = &request;
    params.parent = surface->output ? nullptr : surface;
    SaverLParam lParam = reinterpret_cast<SaverLParam>(&params);
    surface->created = true;
    s_starting = surface;
    SendToSurface(surface, SAVER_WM_NCCREATE, 0, lParam);
    SendToSurface(surface, SAVER_WM_CREATE, 0, lParam);
    s_starting = nullptr;
    // A set-up step that failed has said so; without a context nothing would ever show.
    if (surface->context == EGL_NO_CONTEXT) HostFatalExit(1);
    SendSizeIfChanged(surface, width, height);
}

void StartOrResize(WaylandSurface* surface) {
    if (!surface->configured || surface->destroyed) return;
    if (!surface->created) {
        StartShow(surface);
        return;
    }
    if (surface->output) surface->scale = std::max(surface->output->scale, 1);
    int32_t width = surface->width * surface->scale;
    int32_t height = surface->height * surface->scale;
    if (width == surface->sentWidth && height == surface->sentHeight) return;
    wl_egl_window_resize(surface->eglWindow, width, height, 0, 0);
    wl_surface_set_buffer_scale(surface->surface, surface->scale);
    MarkOpaque(surface);
    SendSizeIfChanged(surface, width, height);
}

void PostCloseAll() {
    for (auto& surface : g_wayland.surfaces)
        if (!surface->destroyed) surface->closePosted = true;
}

static void DestroySurface(WaylandSurface* surface) {
    if (surface->destroyed) return;
    SendToSurface(surface, SAVER_WM_DESTROY, 0, 0);
    surface->destroyed = true;
    // Input that still names it goes nowhere. Should the focus then come to none of ours, no key
    // could end the saver: the focus has left it.
    if (g_wayland.keyboardFocus == surface) {
        g_wayland.keyboardFocus = nullptr;
        g_wayland.focusLeft = true;
    }
    if (g_wayland.pointerFocus == surface) g_wayland.pointerFocus = nullptr;
    if (surface->frame) wl_callback_destroy(surface->frame);
    surface->frame = nullptr;
    if (surface->eglWindow) wl_egl_window_destroy(surface->eglWindow);
    surface->eglWindow = nullptr;
    xdg_toplevel_destroy(surface->toplevel);
    xdg_surface_destroy(surface->xdgSurface);
    wl_surface_destroy(surface->surface);
}

void ReapSurfaces() {
    auto& surfaces = g_wayland.surfaces;
    surfaces.erase(std::remove_if(surfaces.begin(), surfaces.end(), [](const auto& s) { return s->destroyed; }),
                   surfaces.end());
}

// What DefWindowProc does with the messages that reach it here.
static SaverResult DefaultWindowProc(WaylandSurface* surface, uint32_t message) {
    if (message == SAVER_WM_NCCREATE) return 1;
    if (message == SAVER_WM_CLOSE) DestroySurface(surface);
    return 0;
}

// The full-screen saver's close rules. A close that concerns the saver (input, drift, focus gone)
// ends every surface; one the compositor makes for one surface ends that show alone. There is no
// password to ask for on this platform, so a close is always granted.
SaverResult DefaultSaverProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam) {
    WaylandSurface* surface = SurfaceOf(window);
    if (!surface->output || surface->closing) return DefaultWindowProc(surface, message);
    switch (message) {
    case SAVER_WM_CLOSE:
        surface->closing = true;
        if (!surface->closeAlone) PostCloseAll();
        break;
    case SAVER_WM_SETCURSOR:
        return 1;
    default:
        if (EndsFullScreenSaver(message, wParam)) PostCloseAll();
        break;
    }
    return DefaultWindowProc(surface, message);
}

SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    return SendToSurface(SurfaceOf(window), message, wParam, lParam);
}

void HostSetWindowData(SaverWindow window, void* data) {
    SurfaceOf(window)->windowData = data;
}

void* HostGetWindowData(SaverWindow window) {
    return SurfaceOf(window)->windowData;
}

// The saver ends when its last surface goes, not when the first show says so.
void HostPostQuitMessage(int exitCode) {
    if (exitCode != 0) g_wayland.exitCode = exitCode;
}

// The compositor's frame callbacks are the timer: the first frame is drawn at once.
uintptr_t HostSetTimer(SaverWindow window, uintptr_t id, uint32_t) {
    SurfaceOf(window)->timerRunning = true;
    SurfaceOf(window)->frameDue = true;
    return id;
}

void HostKillTimer(SaverWindow window, uintptr_t) {
    SurfaceOf(window)->timerRunning = false;
}

// Keyboard focus is the compositor's to give; a new toplevel gets it.
void HostFocusWindow(SaverWindow) {}

// The compositor sizes toplevels; the buffer follows its configure.
void HostSizeWindow(SaverWindow window, int width, int height) {
    SendSizeIfChanged(SurfaceOf(window), width, height);
}

// One show per surface.
int HostListMonitors(SaverWindow, SaverMonitor*, int) {
    return 0;
}

// The pointer's image is set as it enters a surface (see input.cpp).
void HostHideCursor() {}

void HostShowWindow(SaverWindow window) {
    SendToSurface(SurfaceOf(window), SAVER_WM_SHOWWINDOW, 1, 0);
}

// The surface being created is the "desktop" of its show: its buffer size.
void HostDesktopSize(int* width, int* height) {
    WaylandSurface* surface = s_starting;
    *width = surface ? surface->width * surface->scale : 0;
    *height = surface ? surface->height * surface->scale : 0;
}

// Compositors switch no modes; the stored mode was cleared from the settings the shows get.
bool HostChangeDisplayMode(uint32_t, uint32_t, uint32_t) {
    return false;
}

void HostRestoreDisplayMode() {}
