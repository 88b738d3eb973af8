#include "host/win32/win32_api.h"
#include "seam/platform.h"

#include <string>

typedef const char*(WINAPI* ExtensionsStringProc)();
typedef BOOL(WINAPI* SwapIntervalProc)(int interval);

// A double-buffered RGBA window surface with the request's colour, alpha and depth bits.
static PIXELFORMATDESCRIPTOR DescriptorFor(const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR descriptor = {};
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = request.colorBits;
    descriptor.cAlphaBits = request.alphaBits;
    descriptor.cDepthBits = request.depthBits;
    descriptor.iLayerType = PFD_MAIN_PLANE;
    return descriptor;
}
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "the descriptor the pixel format calls expect");
static_assert((PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER) == 0x25, "surface flags");

void HostFocusWindow(SaverWindow window) {
    SetFocus(HWND(window));
    SetForegroundWindow(HWND(window));
}

SaverSurface HostGetSurface(SaverWindow window) {
    return GetDC(HWND(window));
}

int HostChoosePixelFormat(SaverSurface surface, const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR descriptor = DescriptorFor(request);
    return ChoosePixelFormat(HDC(surface), &descriptor);
}

bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest& request) {
    PIXELFORMATDESCRIPTOR descriptor = DescriptorFor(request);
    return SetPixelFormat(HDC(surface), format, &descriptor) != FALSE;
}

SaverContext HostCreateContext(SaverSurface surface) {
    return wglCreateContext(HDC(surface));
}

// Swaps wait for the display's refresh where WGL offers it, so no frame is drawn that is never shown.
static void AskForSwapInterval() {
    auto extensions = reinterpret_cast<ExtensionsStringProc>(
        reinterpret_cast<void*>(wglGetProcAddress("wglGetExtensionsStringEXT")));
    const char* list = extensions ? extensions() : nullptr;
    if (!list || (" " + std::string(list) + " ").find(" WGL_EXT_swap_control ") == std::string::npos) return;
    auto swapInterval =
        reinterpret_cast<SwapIntervalProc>(reinterpret_cast<void*>(wglGetProcAddress("wglSwapIntervalEXT")));
    if (swapInterval) swapInterval(1);
}

bool HostMakeCurrent(SaverSurface surface, SaverContext context) {
    if (!wglMakeCurrent(HDC(surface), HGLRC(context))) return false;
    if (context) AskForSwapInterval();
    return true;
}

bool HostDeleteContext(SaverContext context) {
    return wglDeleteContext(HGLRC(context)) != FALSE;
}

bool HostReleaseSurface(SaverWindow window, SaverSurface surface) {
    return ReleaseDC(HWND(window), HDC(surface)) != 0;
}

void HostSwapBuffers(SaverSurface surface) {
    SwapBuffers(HDC(surface));
}
