#include "host/x11/xrandr_output.h"

RROutput SwitchedOutput(Display* display, XRRScreenResources* resources) {
    RROutput primary = XRRGetOutputPrimary(display, RootWindow(display, DefaultScreen(display)));
    if (primary) return primary;
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        bool lit = info && info->connection == RR_Connected && info->crtc;
        if (info) XRRFreeOutputInfo(info);
        if (lit) return resources->outputs[i];
    }
    return 0;
}

uint32_t ScreenBitsPerPixel(Display* display) {
    int depth = DefaultDepth(display, DefaultScreen(display));
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    uint32_t bits = uint32_t(depth);
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth) bits = uint32_t(formats[i].bits_per_pixel);
    if (formats) XFree(formats);
    return bits;
}

static bool Holds(const XRRCrtcInfo& crtc, int x, int y) {
    return crtc.mode && x >= crtc.x && x < crtc.x + int(crtc.width) && y >= crtc.y && y < crtc.y + int(crtc.height);
}

// The CRTC showing the point, else the switched output's; null when neither is lit.
static XRRCrtcInfo* CrtcAt(Display* display, XRRScreenResources* resources, int x, int y) {
    for (int i = 0; i < resources->ncrtc; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (crtc && Holds(*crtc, x, y)) return crtc;
        if (crtc) XRRFreeCrtcInfo(crtc);
    }
    RROutput output = SwitchedOutput(display, resources);
    XRROutputInfo* outputInfo = output ? XRRGetOutputInfo(display, resources, output) : nullptr;
    XRRCrtcInfo* crtc = outputInfo && outputInfo->crtc ? XRRGetCrtcInfo(display, resources, outputInfo->crtc) : nullptr;
    if (outputInfo) XRRFreeOutputInfo(outputInfo);
    return crtc;
}

double OutputRefreshAt(Display* display, int x, int y) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, RootWindow(display, DefaultScreen(display)));
    if (!resources) return 0;
    double refresh = 0;
    XRRCrtcInfo* crtc = CrtcAt(display, resources, x, y);
    for (int i = 0; crtc && i < resources->nmode; ++i) {
        const XRRModeInfo& mode = resources->modes[i];
        if (mode.id == crtc->mode && mode.hTotal && mode.vTotal)
            refresh = double(mode.dotClock) / (double(mode.hTotal) * double(mode.vTotal));
    }
    if (crtc) XRRFreeCrtcInfo(crtc);
    XRRFreeScreenResources(resources);
    return refresh;
}
