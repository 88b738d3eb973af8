// The surface and context steps of CreateGLContext and ReleaseGLContext over GLX. The surface is
// the drawing window itself; its visual was fixed when the window was made, so choosing a pixel
// format means choosing among that visual's GLX configs.
#include <GL/glx.h>

#include "host/x11/extension_list.h"
#include "host/x11/glx_visual.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"
#include "seam/platform.h"

static GLXFBConfig s_config = nullptr;
static GLXContext s_current = nullptr;
static bool s_swapIntervalAsked = false;

static Window DrawableOf(SaverSurface surface) {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(surface));
}

SaverSurface HostGetSurface(SaverWindow window) {
    return reinterpret_cast<SaverSurface>(static_cast<uintptr_t>(XWindowOf(window)));
}

int HostChoosePixelFormat(SaverSurface surface, const PixelFormatRequest& request) {
    if (!surface) return 0;
    return FindConfig(XVisualIDFromVisual(g_x11.visual), request);
}

bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest&) {
    GLXFBConfig config = ConfigAt(format);
    if (!surface || !config) return false;
    int visual = 0;
    glXGetFBConfigAttrib(g_x11.display, config, GLX_VISUAL_ID, &visual);
    if (VisualID(visual) != XVisualIDFromVisual(g_x11.visual)) return false;
    s_config = config;
    return true;
}

SaverContext HostCreateContext(SaverSurface surface) {
    if (!surface || !s_config) return nullptr;
    BeginErrorTrap();
    GLXContext context = glXCreateNewContext(g_x11.display, s_config, GLX_RGBA_TYPE, nullptr, True);
    bool failed = EndErrorTrap(g_x11.display);
    if (failed && context) {
        glXDestroyContext(g_x11.display, context);
        context = nullptr;
    }
    return context;
}

// Frames are paced by the display's refresh where the driver can wait for it.
static void AskForSwapInterval(Window drawable) {
    s_swapIntervalAsked = true;
    const char* extensions = glXQueryExtensionsString(g_x11.display, g_x11.screen);
    if (HasExtension(extensions, "GLX_EXT_swap_control")) {
        auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALEXTPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalEXT")));
        if (swapInterval) swapInterval(g_x11.display, drawable, 1);
    } else if (HasExtension(extensions, "GLX_MESA_swap_control")) {
        auto swapInterval = reinterpret_cast<PFNGLXSWAPINTERVALMESAPROC>(
            glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXSwapIntervalMESA")));
        if (swapInterval) swapInterval(1);
    }
}

bool HostMakeCurrent(SaverSurface surface, SaverContext context) {
    GLXContext glxContext = static_cast<GLXContext>(context);
    BeginErrorTrap();
    Bool made = glXMakeCurrent(g_x11.display, surface ? DrawableOf(surface) : None, glxContext);
    bool failed = EndErrorTrap(g_x11.display) || !made;
    if (failed) return false;
    s_current = glxContext;
    if (s_current && !s_swapIntervalAsked) AskForSwapInterval(DrawableOf(surface));
    return true;
}

bool HostDeleteContext(SaverContext context) {
    if (!context) return false;
    BeginErrorTrap();
    glXDestroyContext(g_x11.display, static_cast<GLXContext>(context));
    return !EndErrorTrap(g_x11.display);
}

// The window belongs to the host or to someone else; there is nothing to give back.
bool HostReleaseSurface(SaverWindow, SaverSurface surface) {
    return surface != nullptr;
}

void HostSwapBuffers(SaverSurface surface) {
    if (surface && s_current && !g_x11.windowGone) glXSwapBuffers(g_x11.display, DrawableOf(surface));
}
