#include "render/gl_context.h"

#include "engine/engine_state.h"
#include "fireworks/pool.h"
#include "render/bitmap_font.h"
#include "render/gl_state.h"
#include "settings/settings.h"

static bool SetUpFailed(const char* text) {
    ReportError("Error", text, REPORT_EXCLAMATION);
    return false;
}

// The pixel format is decided by the settings of the first context made in the process.
static const PixelFormatRequest& PixelFormatFromSettings() {
    static PixelFormatRequest request = {0, 0, 16};
    static bool completed = false;
    if (!completed) {
        request.colorBits = uint8_t(g_settings.displayBits & 0xFF);
        request.alphaBits = uint8_t(g_settings.alphaBlending & 0xFF);
        completed = true;
    }
    return request;
}

bool CreateGLContext(SaverWindow window, SaverSurface* surface, SaverContext* context) {
    HostFocusWindow(window);
    const PixelFormatRequest& request = PixelFormatFromSettings();

    *surface = HostGetSurface(window);
    if (!*surface) return SetUpFailed("Can't Create A GL Device Context.");
    int format = HostChoosePixelFormat(*surface, request);
    if (format == 0) return SetUpFailed("Can't Find A Suitable PixelFormat.");
    if (!HostSetPixelFormat(*surface, format, request)) return SetUpFailed("Can't Set The PixelFormat.");
    *context = HostCreateContext(*surface);
    if (!*context) return SetUpFailed("Can't Create A GL Rendering Context.");
    if (!HostMakeCurrent(*surface, *context)) return SetUpFailed("Can't Activate The GL Rendering Context.");

    SetFixedGLState();
    g_font.LoadTextures();

    bool fullScreen = g_previewParent == nullptr;
    if (fullScreen) {
        int width = int(g_settings.displayWidth);
        int height = int(g_settings.displayHeight);
        if (g_settings.displayWidth == 0) HostDesktopSize(&width, &height);
        HostSizeWindow(window, width, height);
    }
    HostHideCursor();
    HostShowWindow(window);
    // The window already has its size when the display changes under it.
    if (fullScreen && g_settings.displayWidth != 0) ChangeDisplayMode();

    EmptyPool();
    SetBlendState(g_settings.alphaBlending != 0);
    return true;
}

void ChangeDisplayMode() {
    if (g_settings.displayWidth == 0) return;
    if (!HostChangeDisplayMode(g_settings.displayWidth, g_settings.displayHeight, g_settings.displayBits)) {
        ReportError("Error", "Could Not Change Display Mode", REPORT_PLAIN);
        HostFatalExit(1);
    }
}

// Each failure is reported and the release goes on; both handles end up cleared.
void ReleaseGLContext(SaverWindow window, SaverSurface* surface, SaverContext* context) {
    if (*context) {
        if (!HostMakeCurrent(nullptr, nullptr))
            ReportError("Shutdown Error", "Release Of DC And RC Failed.", REPORT_INFORMATION);
        if (!HostDeleteContext(*context))
            ReportError("Shutdown Error", "Release Rendering Context Failed.", REPORT_INFORMATION);
        *context = nullptr;
    }
    if (*surface) {
        if (!HostReleaseSurface(window, *surface))
            ReportError("Shutdown Error", "Release Device Context Failed.", REPORT_INFORMATION);
        *surface = nullptr;
    }
}
