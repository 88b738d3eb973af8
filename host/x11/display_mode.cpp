// The stored display mode through XRandR: the primary output's CRTC gets the mode, the screen
// takes its size (as Windows changes the desktop's), and both are put back on every way out.
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "host/x11/monitors.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"
#include "host/x11/xrandr_output.h"
#include "seam/platform.h"

struct ScreenSize {
    int width;
    int height;
    int mmWidth;
    int mmHeight;
};

static ScreenSize CurrentScreenSize(Display* display) {
    ScreenSize size;
    RootSize(display, &size.width, &size.height);
    size.mmWidth = DisplayWidthMM(display, DefaultScreen(display));
    size.mmHeight = DisplayHeightMM(display, DefaultScreen(display));
    return size;
}

// The same dots per millimetre at another size.
static ScreenSize Scaled(const ScreenSize& from, int width, int height) {
    ScreenSize size = {width, height, from.mmWidth, from.mmHeight};
    if (from.width > 0) size.mmWidth = std::max(1, int(double(from.mmWidth) * width / from.width));
    if (from.height > 0) size.mmHeight = std::max(1, int(double(from.mmHeight) * height / from.height));
    return size;
}

struct SavedDisplay {
    bool changed = false;
    RRCrtc crtc = 0;
    RRMode mode = 0;
    int x = 0;
    int y = 0;
    Rotation rotation = RR_Rotate_0;
    RROutput outputs[16];
    int outputCount = 0;
    ScreenSize screen = {0, 0, 0, 0};  // before the change
};

static SavedDisplay s_saved;

// The desktop's own size, also while the stored mode is on.
void HostDesktopSize(int* width, int* height) {
    if (s_saved.changed) {
        *width = s_saved.screen.width;
        *height = s_saved.screen.height;
        return;
    }
    RootSize(g_x11.display, width, height);
}

// XRandR cannot change the colour depth: only the screen's own depth, or its bits per pixel, fits.
static bool DepthFits(Display* display, uint32_t bitsPerPixel) {
    return bitsPerPixel == uint32_t(DefaultDepth(display, DefaultScreen(display))) ||
           bitsPerPixel == ScreenBitsPerPixel(display);
}

static const XRRModeInfo* ModeById(XRRScreenResources* resources, RRMode id) {
    for (int i = 0; i < resources->nmode; ++i)
        if (resources->modes[i].id == id) return &resources->modes[i];
    return nullptr;
}

// The output lists its modes best first, so the first of the right size wins.
static RRMode ModeOfSize(XRRScreenResources* resources, XRROutputInfo* output, uint32_t width, uint32_t height) {
    for (int i = 0; i < output->nmode; ++i) {
        const XRRModeInfo* mode = ModeById(resources, output->modes[i]);
        if (mode && mode->width == width && mode->height == height) return mode->id;
    }
    return 0;
}

static bool Sideways(Rotation rotation) {
    return (rotation & (RR_Rotate_90 | RR_Rotate_270)) != 0;
}

static void SetScreenSize(Display* display, const ScreenSize& size, const ScreenSize& from) {
    if (size.width == from.width && size.height == from.height) return;
    XRRSetScreenSize(display, RootWindow(display, DefaultScreen(display)), size.width, size.height, size.mmWidth,
                     size.mmHeight);
}

// The screen must hold every lit CRTC: it grows before the CRTC changes and shrinks after.
static bool SetCrtcAndScreen(Display* display, XRRScreenResources* resources, RRMode mode, const ScreenSize& target) {
    ScreenSize from = CurrentScreenSize(display);
    ScreenSize big = Scaled(from, std::max(target.width, from.width), std::max(target.height, from.height));
    BeginErrorTrap();
    XGrabServer(display);
    SetScreenSize(display, big, from);
    Status status = XRRSetCrtcConfig(display, resources, s_saved.crtc, CurrentTime, s_saved.x, s_saved.y, mode,
                                     s_saved.rotation, s_saved.outputs, s_saved.outputCount);
    if (status == RRSetConfigSuccess) SetScreenSize(display, target, big);
    XUngrabServer(display);
    bool failed = EndErrorTrap(display);
    return status == RRSetConfigSuccess && !failed;
}

static bool SaveCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc) {
    XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
    if (!info) return false;
    s_saved.crtc = crtc;
    s_saved.mode = info->mode;
    s_saved.x = info->x;
    s_saved.y = info->y;
    s_saved.rotation = info->rotation;
    s_saved.outputCount = std::min(info->noutput, 16);
    std::copy(info->outputs, info->outputs + s_saved.outputCount, s_saved.outputs);
    XRRFreeCrtcInfo(info);
    s_saved.screen = CurrentScreenSize(display);
    return true;
}

bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    Display* display = g_x11.display;
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor) ||
        major * 100 + minor < 102)
        return false;
    if (!DepthFits(display, bitsPerPixel)) return false;
    XRRScreenResources* resources = XRRGetScreenResources(display, RootWindow(display, g_x11.screen));
    if (!resources) return false;
    bool done = false;
    RROutput outputId = SwitchedOutput(display, resources);
    XRROutputInfo* output = outputId ? XRRGetOutputInfo(display, resources, outputId) : nullptr;
    RRMode mode = output && output->crtc ? ModeOfSize(resources, output, width, height) : 0;
    if (mode && SaveCrtc(display, resources, output->crtc)) {
        if (mode == s_saved.mode) {
            done = true;  // already there
        } else {
            int screenWidth = s_saved.x + int(Sideways(s_saved.rotation) ? height : width);
            int screenHeight = s_saved.y + int(Sideways(s_saved.rotation) ? width : height);
            // Other lit CRTCs keep their place, so the screen still has to hold them.
            for (int i = 0; i < resources->ncrtc; ++i) {
                if (resources->crtcs[i] == s_saved.crtc) continue;
                XRRCrtcInfo* other = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
                if (other && other->mode) {
                    screenWidth = std::max(screenWidth, other->x + int(other->width));
                    screenHeight = std::max(screenHeight, other->y + int(other->height));
                }
                if (other) XRRFreeCrtcInfo(other);
            }
            s_saved.changed = true;
            done = SetCrtcAndScreen(display, resources, mode, Scaled(s_saved.screen, screenWidth, screenHeight));
            if (!done) HostRestoreDisplayMode();
            // The full-screen window covers the screen as it is now, each show its monitor.
            if (done) FollowScreenLayout();
        }
    }
    if (output) XRRFreeOutputInfo(output);
    XRRFreeScreenResources(resources);
    return done;
}

// After a lost connection the mode is put back over a fresh one: the server keeps it otherwise.
void HostRestoreDisplayMode() {
    if (!s_saved.changed) return;
    s_saved.changed = false;
    Display* display = g_x11.display;
    bool fresh = g_x11.connectionLost || !display;
    if (fresh) display = XOpenDisplay(g_x11.displayName.c_str());
    if (!display) return;
    XRRScreenResources* resources = XRRGetScreenResources(display, RootWindow(display, DefaultScreen(display)));
    if (resources) {
        SetCrtcAndScreen(display, resources, s_saved.mode, s_saved.screen);
        XRRFreeScreenResources(resources);
    }
    if (fresh) XCloseDisplay(display);
}
