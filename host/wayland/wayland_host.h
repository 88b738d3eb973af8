#pragma once
#include <EGL/egl.h>
#include <wayland-client.h>
#include <wayland-egl.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "host/linux/options.h"
#include "seam/platform.h"
#include "settings/settings.h"

struct xdg_wm_base;
struct xdg_surface;
struct xdg_toplevel;
struct xkb_context;
struct xkb_keymap;
struct xkb_state;

struct WaylandOutput {
    uint32_t name = 0;  // the registry's
    wl_output* output = nullptr;
    int32_t scale = 1;
    int32_t modeWidth = 0;  // the current mode, in the output's own pixels
    int32_t modeHeight = 0;
    int32_t index = 0;      // in the order outputs came: the seed of its show derives from it
    bool done = false;      // its description is complete
};

// One toplevel and its one show: the SaverWindow handle the core knows.
struct WaylandSurface {
    WaylandOutput* output = nullptr;  // null for -window
    wl_surface* surface = nullptr;
    xdg_surface* xdgSurface = nullptr;
    xdg_toplevel* toplevel = nullptr;
    wl_callback* frame = nullptr;
    wl_egl_window* eglWindow = nullptr;
    EGLSurface eglSurface = EGL_NO_SURFACE;
    EGLContext context = EGL_NO_CONTEXT;
    int32_t pendingWidth = 0;  // the last toplevel configure's, logical pixels
    int32_t pendingHeight = 0;
    int32_t width = 0;         // the acknowledged size, logical pixels
    int32_t height = 0;
    int32_t scale = 1;         // buffer pixels per logical pixel
    int32_t sentWidth = -1;    // the last WM_SIZE's, buffer pixels
    int32_t sentHeight = -1;
    bool configured = false;
    bool created = false;      // WM_CREATE sent
    bool timerRunning = false;
    bool frameDue = false;     // the compositor wants a frame: drawn on the loop's next turn
    bool closePosted = false;
    bool closeAlone = false;   // this surface's own close (its output went): the others go on
    bool closing = false;      // close granted: the surface is being destroyed
    bool destroyed = false;
    void* windowData = nullptr;
};

struct WaylandHost {
    HostOptions options;
    Settings settings;  // what every show starts with
    uint32_t seed = 0;  // every surface's shows derive theirs from it
    wl_display* display = nullptr;
    wl_compositor* compositor = nullptr;
    xdg_wm_base* wmBase = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    wl_pointer* pointer = nullptr;
    xkb_context* xkbContext = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* keyState = nullptr;
    EGLDisplay eglDisplay = EGL_NO_DISPLAY;
    EGLConfig eglConfig = nullptr;
    std::vector<std::unique_ptr<WaylandOutput>> outputs;
    std::vector<std::unique_ptr<WaylandSurface>> surfaces;
    WaylandSurface* keyboardFocus = nullptr;
    WaylandSurface* pointerFocus = nullptr;
    bool focusLeft = false;  // keyboard focus left a surface of ours and no other took it yet
    int32_t nextOutputIndex = 0;
    bool running = false;    // the first surfaces exist: outputs that come now get their own
    int exitCode = 0;
};

extern WaylandHost g_wayland;

inline WaylandSurface* SurfaceOf(SaverWindow window) {
    return static_cast<WaylandSurface*>(window);
}

inline bool FullScreen() {
    return g_wayland.options.mode == HOST_MODE_FULLSCREEN;
}

// A message to one surface's window procedure, its context made current first. A granted close
// destroys the surface at once, so nothing reaches the core after it.
SaverResult SendToSurface(WaylandSurface* surface, uint32_t message, SaverWParam wParam, SaverLParam lParam);

// The toplevel for an output (full screen) or the one window (output null); its show starts once
// the compositor has configured it.
WaylandSurface* CreateSurface(WaylandOutput* output);
// WM_NCCREATE, WM_CREATE and WM_SIZE for a configured surface, and its size and scale after that.
void StartOrResize(WaylandSurface* surface);
// Every surface gets WM_CLOSE on the loop's next turn: the saver ends.
void PostCloseAll();
// Frees what the core no longer holds of destroyed surfaces.
void ReapSurfaces();

// The seat's keyboard and pointer.
void BindSeat(wl_registry* registry, uint32_t name, uint32_t version);

// The EGL display over the compositor's connection and the config every surface draws with; false
// with the reason reported when there is none.
bool SetUpEgl(const PixelFormatRequest& request);

// Two values as Win32 packs a point or a size into lParam: the first in the low 16 bits.
inline SaverLParam PackWords(int low, int high) {
    return SaverLParam(uint32_t(uint16_t(low)) | (uint32_t(uint16_t(high)) << 16));
}
