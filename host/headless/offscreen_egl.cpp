#include "host/headless/offscreen_egl.h"

#include <EGL/eglext.h>

#include <cstring>

#include "host/linux/egl_attributes.h"

const int OFFSCREEN_MAX_CONFIGS = 256;

EGLDisplay OffscreenDisplay() {
    static EGLDisplay display = EGL_NO_DISPLAY;
    static bool tried = false;
    if (tried) return display;
    tried = true;
    const char* extensions = eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS);
    if (!extensions || !std::strstr(extensions, "EGL_MESA_platform_surfaceless")) return display;
    auto getPlatformDisplay =
        reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (!getPlatformDisplay) return display;
    EGLDisplay candidate = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (candidate == EGL_NO_DISPLAY || !eglInitialize(candidate, nullptr, nullptr)) return display;
    if (!eglBindAPI(EGL_OPENGL_API)) return display;
    display = candidate;
    return display;
}

int OffscreenChooseConfig(const PixelFormatRequest& request) {
    EGLDisplay display = OffscreenDisplay();
    if (display == EGL_NO_DISPLAY) return 0;
    const EglConfigAttributes attributes = EglConfigFor(EGL_PBUFFER_BIT, request);
    EGLConfig config = nullptr;
    EGLint found = 0;
    if (!eglChooseConfig(display, attributes.list, &config, 1, &found) || found < 1) return 0;
    EGLConfig all[OFFSCREEN_MAX_CONFIGS];
    EGLint total = 0;
    if (!eglGetConfigs(display, all, OFFSCREEN_MAX_CONFIGS, &total)) return 0;
    for (int i = 0; i < total; ++i)
        if (all[i] == config) return i + 1;
    return 0;
}

static EGLConfig ConfigNumbered(int format) {
    EGLConfig all[OFFSCREEN_MAX_CONFIGS];
    EGLint total = 0;
    if (format < 1 || !eglGetConfigs(OffscreenDisplay(), all, OFFSCREEN_MAX_CONFIGS, &total) || format > total)
        return nullptr;
    return all[format - 1];
}

static EGLSurface CreatePbuffer(EGLConfig config, int width, int height) {
    // A pbuffer cannot be empty; a window of no size still gets one pixel to draw on.
    const EGLint attributes[] = {EGL_WIDTH, width > 0 ? width : 1, EGL_HEIGHT, height > 0 ? height : 1, EGL_NONE};
    return eglCreatePbufferSurface(OffscreenDisplay(), config, attributes);
}

bool OffscreenSetConfig(OffscreenSurface* surface, int format) {
    if (OffscreenDisplay() == EGL_NO_DISPLAY || surface->pbuffer != EGL_NO_SURFACE) return false;
    EGLConfig config = ConfigNumbered(format);
    if (!config) return false;
    EGLSurface pbuffer = CreatePbuffer(config, surface->width, surface->height);
    if (pbuffer == EGL_NO_SURFACE) return false;
    surface->config = config;
    surface->pbuffer = pbuffer;
    return true;
}

EGLContext OffscreenCreateContext(const OffscreenSurface& surface) {
    if (OffscreenDisplay() == EGL_NO_DISPLAY || !surface.config) return EGL_NO_CONTEXT;
    return eglCreateContext(OffscreenDisplay(), surface.config, EGL_NO_CONTEXT, nullptr);
}

bool OffscreenMakeCurrent(const OffscreenSurface* surface, EGLContext context) {
    EGLDisplay display = OffscreenDisplay();
    if (display == EGL_NO_DISPLAY) return false;
    if (!surface) return eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    return eglMakeCurrent(display, surface->pbuffer, surface->pbuffer, context);
}

bool OffscreenDestroyContext(EGLContext context) {
    if (OffscreenDisplay() == EGL_NO_DISPLAY || context == EGL_NO_CONTEXT) return false;
    return eglDestroyContext(OffscreenDisplay(), context);
}

bool OffscreenDestroySurface(OffscreenSurface* surface) {
    if (OffscreenDisplay() == EGL_NO_DISPLAY) return false;
    bool destroyed = surface->pbuffer == EGL_NO_SURFACE || eglDestroySurface(OffscreenDisplay(), surface->pbuffer);
    surface->pbuffer = EGL_NO_SURFACE;
    surface->config = nullptr;
    return destroyed;
}

bool OffscreenResize(OffscreenSurface* surface, int width, int height) {
    surface->width = width;
    surface->height = height;
    if (surface->pbuffer == EGL_NO_SURFACE) return true;
    EGLSurface pbuffer = CreatePbuffer(surface->config, width, height);
    if (pbuffer == EGL_NO_SURFACE) return false;
    EGLDisplay display = OffscreenDisplay();
    EGLContext current = eglGetCurrentContext();
    bool bound = current != EGL_NO_CONTEXT && eglGetCurrentSurface(EGL_DRAW) == surface->pbuffer;
    if (bound) eglMakeCurrent(display, pbuffer, pbuffer, current);
    eglDestroySurface(display, surface->pbuffer);
    surface->pbuffer = pbuffer;
    return true;
}
