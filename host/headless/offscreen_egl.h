#pragma once
// Offscreen GL on Mesa's surfaceless EGL platform: no X server, a pbuffer in place of a window,
// a desktop GL (compatibility) context so the fixed-function pipeline is there.
#include <EGL/egl.h>

#include "seam/platform.h"

struct OffscreenSurface {
    int width = 0;
    int height = 0;
    EGLConfig config = nullptr;
    EGLSurface pbuffer = EGL_NO_SURFACE;
};

// The surfaceless display, initialised on first use; EGL_NO_DISPLAY when there is none.
EGLDisplay OffscreenDisplay();

// A config number (1-based) for a window surface of this kind; 0 when none fits.
int OffscreenChooseConfig(const PixelFormatRequest& request);

// Gives the surface that config and a pbuffer of the surface's size.
bool OffscreenSetConfig(OffscreenSurface* surface, int format);

EGLContext OffscreenCreateContext(const OffscreenSurface& surface);  // EGL_NO_CONTEXT on failure
bool OffscreenMakeCurrent(const OffscreenSurface* surface, EGLContext context);  // null surface: release
bool OffscreenDestroyContext(EGLContext context);
bool OffscreenDestroySurface(OffscreenSurface* surface);

// A new pbuffer of the given size; the current context follows it when it was bound to the old one.
bool OffscreenResize(OffscreenSurface* surface, int width, int height);
