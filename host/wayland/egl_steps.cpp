// The surface and context steps of CreateGLContext and ReleaseGLContext over EGL on the
// compositor's connection. Every surface has its own EGL surface and context; the host makes a
// surface's context current before the core hears of that surface.
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <cstring>

#include "host/linux/egl_attributes.h"

#include "host/wayland/wayland_host.h"

#ifndef EGL_PRESENT_OPAQUE_EXT
#define EGL_PRESENT_OPAQUE_EXT 0x31DF
#endif

const int EGL_MAX_CONFIGS = 256;

static EGLConfig ChooseConfig(const PixelFormatRequest& request) {
    const EglConfigAttributes attributes = EglConfigFor(EGL_WINDOW_BIT, request);
    EGLConfig configs[EGL_MAX_CONFIGS];
    EGLint found = 0;
    if (!eglChooseConfig(g_wayland.eglDisplay, attributes.list, configs, EGL_MAX_CONFIGS, &found)) return nullptr;
    // EGL sorts 10-bit channels with 2 bits of alpha first; alpha blending wants the full 8.
    for (int i = 0; i < found; ++i) {
        EGLint red = 0;
        eglGetConfigAttrib(g_wayland.eglDisplay, configs[i], EGL_RED_SIZE, &red);
        if (red == EglChannelBits(request.colorBits, 0)) return configs[i];
    }
    return nullptr;
}

bool SetUpEgl(const PixelFormatRequest& request) {
    EGLDisplay display = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, g_wayland.display, nullptr);
    if (display == EGL_NO_DISPLAY || !eglInitialize(display, nullptr, nullptr)) {
        ReportError("Error", "no EGL on this Wayland display", REPORT_EXCLAMATION);
        return false;
    }
    g_wayland.eglDisplay = display;
    if (!eglBindAPI(EGL_OPENGL_API) || !ChooseConfig(request)) {
        ReportError("Error", "EGL offers no desktop OpenGL config for Wayland windows", REPORT_EXCLAMATION);
        return false;
    }
    return true;
}

SaverSurface HostGetSurface(SaverWindow window) {
    WaylandSurface* surface = SurfaceOf(window);
    return surface && surface->eglWindow ? surface : nullptr;
}

// Every surface asks for the same config, so the host keeps the one chosen and calls it format 1.
const int CHOSEN_FORMAT = 1;

int HostChoosePixelFormat(SaverSurface surface, const PixelFormatRequest& request) {
    if (!surface) return 0;
    g_wayland.eglConfig = ChooseConfig(request);
    return g_wayland.eglConfig ? CHOSEN_FORMAT : 0;
}

bool HostSetPixelFormat(SaverSurface handle, int format, const PixelFormatRequest&) {
    WaylandSurface* surface = SurfaceOf(handle);
    EGLConfig config = g_wayland.eglConfig;
    if (!surface || format != CHOSEN_FORMAT || !config || surface->eglSurface != EGL_NO_SURFACE) return false;
    // Alpha blending reads the frame's alpha; a compositor would blend it with what lies behind,
    // so the surface is presented opaque where EGL can say so.
    const char* extensions = eglQueryString(g_wayland.eglDisplay, EGL_EXTENSIONS);
    bool opaque = extensions && std::strstr(extensions, "EGL_EXT_present_opaque");
    const EGLint attributes[] = {EGL_PRESENT_OPAQUE_EXT, EGL_TRUE, EGL_NONE};
    surface->eglSurface = eglCreateWindowSurface(g_wayland.eglDisplay, config,
                                                 reinterpret_cast<EGLNativeWindowType>(surface->eglWindow),
                                                 opaque ? attributes : nullptr);
    return surface->eglSurface != EGL_NO_SURFACE;
}

SaverContext HostCreateContext(SaverSurface handle) {
    WaylandSurface* surface = SurfaceOf(handle);
    if (!surface || surface->eglSurface == EGL_NO_SURFACE) return nullptr;
    surface->context = eglCreateContext(g_wayland.eglDisplay, g_wayland.eglConfig, EGL_NO_CONTEXT, nullptr);
    return surface->context == EGL_NO_CONTEXT ? nullptr : surface->context;
}

bool HostMakeCurrent(SaverSurface handle, SaverContext context) {
    WaylandSurface* surface = SurfaceOf(handle);
    if (!surface) return eglMakeCurrent(g_wayland.eglDisplay, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (!eglMakeCurrent(g_wayland.eglDisplay, surface->eglSurface, surface->eglSurface, context)) return false;
    // Each surface is paced by its own frame callbacks; a swap must never wait for one.
    eglSwapInterval(g_wayland.eglDisplay, 0);
    return true;
}

bool HostDeleteContext(SaverContext context) {
    bool deleted = context && eglDestroyContext(g_wayland.eglDisplay, context);
    for (auto& surface : g_wayland.surfaces)
        if (surface->context == context) surface->context = EGL_NO_CONTEXT;
    return deleted;
}

bool HostReleaseSurface(SaverWindow, SaverSurface handle) {
    WaylandSurface* surface = SurfaceOf(handle);
    if (!surface) return false;
    bool released = surface->eglSurface == EGL_NO_SURFACE || eglDestroySurface(g_wayland.eglDisplay, surface->eglSurface);
    surface->eglSurface = EGL_NO_SURFACE;
    return released;
}

static void OnFrameDone(void* data, wl_callback* callback, uint32_t) {
    WaylandSurface* surface = static_cast<WaylandSurface*>(data);
    wl_callback_destroy(callback);
    surface->frame = nullptr;
    surface->frameDue = true;
}

static const wl_callback_listener FRAME_LISTENER = {OnFrameDone};

// The next frame is asked for with this one's commit, so the compositor paces each surface alone.
void HostSwapBuffers(SaverSurface handle) {
    WaylandSurface* surface = SurfaceOf(handle);
    if (!surface || surface->eglSurface == EGL_NO_SURFACE) return;
    if (!surface->frame) {
        surface->frame = wl_surface_frame(surface->surface);
        wl_callback_add_listener(surface->frame, &FRAME_LISTENER, surface);
    }
    eglSwapBuffers(g_wayland.eglDisplay, surface->eglSurface);
}
