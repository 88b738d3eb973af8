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

double SwitchedOutputRefresh(Display* display) {
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, RootWindow(display, DefaultScreen(display)));
    if (!resources) return 0;
    double refresh = 0;
    RROutput output = SwitchedOutput(display, resources);
    XRROutputInfo* outputInfo = output ? XRRGetOutputInfo(display, resources, output) : nullptr;
    XRRCrtcInfo* crtc = outputInfo && outputInfo->crtc ? XRRGetCrtcInfo(display, resources, outputInfo->crtc) : nullptr;
    for (int i = 0; crtc && i < resources->nmode; ++i) {
        const XRRModeInfo& mode = resources->modes[i];
        if (mode.id == crtc->mode && mode.hTotal && mode.vTotal)
            refresh = double(mode.dotClock) / (double(mode.hTotal) * double(mode.vTotal));
    }
    if (crtc) XRRFreeCrtcInfo(crtc);
    if (outputInfo) XRRFreeOutputInfo(outputInfo);
    XRRFreeScreenResources(resources);
    return refresh;
}
