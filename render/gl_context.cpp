#include "render/gl_context.h"

#include "render/gl_state.h"

static bool SetUpFailed(const char* text) {
    ReportError("Error", text, REPORT_EXCLAMATION);
    return false;
}

bool CreateGLContext(SaverWindow window, const Settings& settings, WindowSizing sizing, BitmapFont* font,
                     GLHandles* gl) {
    HostFocusWindow(window);
    const PixelFormatRequest request = {uint8_t(settings.displayBits & 0xFF), uint8_t(settings.alphaBlending & 0xFF),
                                        uint8_t(settings.alphaBlending ? 0 : 16)};

    gl->surface = HostGetSurface(window);
    if (!gl->surface) return SetUpFailed("Can't Create A GL Device Context.");
    int format = HostChoosePixelFormat(gl->surface, request);
    if (format == 0) return SetUpFailed("Can't Find A Suitable PixelFormat.");
    if (!HostSetPixelFormat(gl->surface, format, request)) return SetUpFailed("Can't Set The PixelFormat.");
    gl->context = HostCreateContext(gl->surface);
    if (!gl->context) return SetUpFailed("Can't Create A GL Rendering Context.");
    if (!HostMakeCurrent(gl->surface, gl->context)) return SetUpFailed("Can't Activate The GL Rendering Context.");

    SetFixedGLState();
    font->LoadTextures();

    if (sizing == SIZING_ONE_MONITOR) {
        int width = int(settings.displayWidth);
        int height = int(settings.displayHeight);
        if (settings.displayWidth == 0) HostDesktopSize(&width, &height);
        HostSizeWindow(window, width, height);
    }
    HostHideCursor();
    HostShowWindow(window);
    // The window already has its size when the display changes under it.
    if (sizing != SIZING_PREVIEW && settings.displayWidth != 0) ChangeDisplayMode(settings);

    SetBlendState(settings.alphaBlending != 0);
    return true;
}

void ChangeDisplayMode(const Settings& settings) {
    if (settings.displayWidth == 0) return;
    if (!HostChangeDisplayMode(settings.displayWidth, settings.displayHeight, settings.displayBits)) {
        ReportError("Error", "Could Not Change Display Mode", REPORT_PLAIN);
        HostFatalExit(1);
    }
}

// Each failure is reported and the release goes on; both handles end up cleared.
void ReleaseGLContext(SaverWindow window, GLHandles* gl) {
    if (gl->context) {
        if (!HostMakeCurrent(nullptr, nullptr))
            ReportError("Shutdown Error", "Release Of DC And RC Failed.", REPORT_INFORMATION);
        if (!HostDeleteContext(gl->context))
            ReportError("Shutdown Error", "Release Rendering Context Failed.", REPORT_INFORMATION);
        gl->context = nullptr;
    }
    if (gl->surface) {
        if (!HostReleaseSurface(window, gl->surface))
            ReportError("Shutdown Error", "Release Device Context Failed.", REPORT_INFORMATION);
        gl->surface = nullptr;
    }
}
