#include "host/x11/monitors.h"

#include <X11/extensions/Xinerama.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>

#include "host/x11/frame_timer.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"
#include "host/x11/xrandr_output.h"

static int s_randrEventBase = -1;  // while layout changes are watched

static int RandrVersion(Display* display) {
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor)) return 0;
    return major * 100 + minor;
}

void RootSize(Display* display, int* width, int* height) {
    Window root;
    int x, y;
    unsigned w = 0, h = 0, border, depth;
    XGetGeometry(display, RootWindow(display, DefaultScreen(display)), &root, &x, &y, &w, &h, &border, &depth);
    *width = int(w);
    *height = int(h);
}

static void PrimaryFirst(SaverMonitor* monitors, int count, int primary) {
    if (primary > 0 && primary < count) std::rotate(monitors, monitors + primary, monitors + primary + 1);
}

// XRandR 1.5 monitors: what the desktop itself calls monitors, with user-defined ones. The name
// atom stays while the monitor does.
static int RandrMonitors(Display* display, Window root, SaverMonitor* monitors, int capacity) {
    int found = 0;
    XRRMonitorInfo* info = XRRGetMonitors(display, root, True, &found);
    if (!info) return 0;
    int count = std::min(found, capacity), primary = 0;
    for (int i = 0; i < count; ++i) {
        monitors[i] = {info[i].x, info[i].y, info[i].width, info[i].height, uint32_t(info[i].name)};
        if (info[i].primary) primary = i;
    }
    XRRFreeMonitors(info);
    PrimaryFirst(monitors, count, primary);
    return count;
}

// XRandR 1.2 to 1.4: every lit CRTC, keyed by its first output.
static int RandrCrtcs(Display* display, Window root, SaverMonitor* monitors, int capacity, bool current) {
    XRRScreenResources* resources =
        current ? XRRGetScreenResourcesCurrent(display, root) : XRRGetScreenResources(display, root);
    if (!resources) return 0;
    RROutput primaryOutput = XRRGetOutputPrimary(display, root);
    int count = 0, primary = 0;
    for (int i = 0; i < resources->ncrtc && count < capacity; ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (crtc && crtc->mode && crtc->noutput > 0) {
            if (std::count(crtc->outputs, crtc->outputs + crtc->noutput, primaryOutput)) primary = count;
            monitors[count++] = {crtc->x, crtc->y, int32_t(crtc->width), int32_t(crtc->height),
                                 uint32_t(crtc->outputs[0])};
        }
        if (crtc) XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    PrimaryFirst(monitors, count, primary);
    return count;
}

static int XineramaHeads(Display* display, SaverMonitor* monitors, int capacity) {
    int eventBase, errorBase, found = 0;
    if (!XineramaQueryExtension(display, &eventBase, &errorBase) || !XineramaIsActive(display)) return 0;
    XineramaScreenInfo* heads = XineramaQueryScreens(display, &found);
    if (!heads) return 0;
    int count = std::min(found, capacity);
    for (int i = 0; i < count; ++i)
        monitors[i] = {heads[i].x_org, heads[i].y_org, heads[i].width, heads[i].height,
                       uint32_t(heads[i].screen_number) + 1};
    XFree(heads);
    return count;
}

int ScreenMonitors(Display* display, SaverMonitor* monitors, int capacity) {
    Window root = RootWindow(display, DefaultScreen(display));
    int version = RandrVersion(display);
    int count = 0;
    if (version >= 105) count = RandrMonitors(display, root, monitors, capacity);
    if (count == 0 && version >= 102) count = RandrCrtcs(display, root, monitors, capacity, version >= 103);
    if (count == 0) count = XineramaHeads(display, monitors, capacity);
    if (count > 0) return count;
    int width, height;
    RootSize(display, &width, &height);
    monitors[0] = {0, 0, width, height, 1};
    return 1;
}

int MonitorIndexAt(const SaverMonitor* monitors, int count, int x, int y) {
    for (int i = 0; i < count; ++i) {
        const SaverMonitor& m = monitors[i];
        if (x >= m.left && x < m.left + m.width && y >= m.top && y < m.top + m.height) return i;
    }
    return 0;
}

bool CoversScreen() {
    return g_x11.options.mode == HOST_MODE_FULLSCREEN ||
           (g_x11.options.mode == HOST_MODE_ROOT && g_x11.window == RootWindow(g_x11.display, g_x11.screen));
}

int HostListMonitors(SaverWindow, SaverMonitor* monitors, int capacity) {
    return CoversScreen() ? ScreenMonitors(g_x11.display, monitors, capacity) : 0;
}

static void WindowCentre(int* x, int* y) {
    Display* display = g_x11.display;
    XWindowAttributes attributes;
    Window child;
    *x = *y = 0;
    BeginErrorTrap();
    if (XGetWindowAttributes(display, g_x11.window, &attributes))
        XTranslateCoordinates(display, g_x11.window, RootWindow(display, g_x11.screen), attributes.width / 2,
                              attributes.height / 2, x, y, &child);
    EndErrorTrap(display);
}

int DrawingWindowMonitorIndex() {
    if (g_x11.options.mode != HOST_MODE_ROOT || CoversScreen()) return 0;
    SaverMonitor monitors[SAVER_MAX_MONITORS];
    int count = ScreenMonitors(g_x11.display, monitors, SAVER_MAX_MONITORS);
    int x, y;
    WindowCentre(&x, &y);
    return MonitorIndexAt(monitors, count, x, y);
}

void PaceToOutput() {
    int x, y;
    if (CoversScreen()) {
        SaverMonitor monitors[SAVER_MAX_MONITORS];
        ScreenMonitors(g_x11.display, monitors, SAVER_MAX_MONITORS);
        x = monitors[0].left + monitors[0].width / 2;
        y = monitors[0].top + monitors[0].height / 2;
    } else {
        WindowCentre(&x, &y);
    }
    double refresh = OutputRefreshAt(g_x11.display, x, y);
    g_frameTimer.displayPeriodNanos = refresh > 0 ? int64_t(1e9 / refresh) : FRAME_TIMER_DEFAULT_DISPLAY_NANOS;
}

void WatchScreenLayout() {
    Display* display = g_x11.display;
    int version = RandrVersion(display);
    int errorBase;
    if (!CoversScreen() || version == 0 || !XRRQueryExtension(display, &s_randrEventBase, &errorBase)) return;
    int mask = RRScreenChangeNotifyMask;
    if (version >= 102) mask |= RRCrtcChangeNotifyMask | RROutputChangeNotifyMask;
    XRRSelectInput(display, RootWindow(display, g_x11.screen), mask);
}

bool IsLayoutEvent(XEvent& event) {
    if (s_randrEventBase < 0) return false;
    if (event.type == s_randrEventBase + RRScreenChangeNotify) {
        XRRUpdateConfiguration(&event);
        return true;
    }
    return event.type == s_randrEventBase + RRNotify;
}

void FollowScreenLayout() {
    if (g_x11.destroyed || g_x11.closing || !CoversScreen()) return;
    // Also after the stored mode's switch, before the frame timer starts.
    PaceToOutput();
    int width, height;
    RootSize(g_x11.display, &width, &height);
    if (g_x11.ownsWindow && (width != g_x11.sentWidth || height != g_x11.sentHeight))
        XResizeWindow(g_x11.display, g_x11.window, unsigned(width), unsigned(height));
    SendSizeIfChanged(width, height);
    HostWindowProc(SAVER_WM_DISPLAYCHANGE, ScreenBitsPerPixel(g_x11.display), PackWords(width, height));
    // The drift rule starts again from where the pointer is now.
    if (g_x11.options.mode == HOST_MODE_FULLSCREEN) ReportPointerPosition();
}
