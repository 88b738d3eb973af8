#include "host/x11/window_setup.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "host/x11/glx_visual.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"

const int WINDOW_DEFAULT_WIDTH = 1024;
const int WINDOW_DEFAULT_HEIGHT = 768;

static void Fail(const char* format, unsigned long value) {
    char text[200];
    std::snprintf(text, sizeof text, format, value);
    ReportError("Error", text, REPORT_EXCLAMATION);
}

static void SetWindowProperties(Window window) {
    Display* display = g_x11.display;
    XStoreName(display, window, "Vesperglow");
    static const char TITLE[] = "Vesperglow";
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(TITLE), sizeof TITLE - 1);
    char resName[] = "vesperglow";
    char resClass[] = "Vesperglow";
    XClassHint classHint = {resName, resClass};
    XSetClassHint(display, window, &classHint);
    XWMHints hints = {};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(display, window, &hints);
    // _NET_WM_PID means something only together with the machine it names.
    char host[256] = {};
    if (gethostname(host, sizeof host - 1) == 0) {
        char* names[1] = {host};
        XTextProperty machine;
        if (XStringListToTextProperty(names, 1, &machine)) {
            XSetWMClientMachine(display, window, &machine);
            XFree(machine.value);
        }
    }
    long pid = long(getpid());
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&pid), 1);
    g_x11.wmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &g_x11.wmDeleteWindow, 1);
}

static Window CreateWindowWithVisual(Window parent, int width, int height, long eventMask, bool overrideRedirect) {
    XSetWindowAttributes attributes = {};
    attributes.colormap = XCreateColormap(g_x11.display, parent, g_x11.visual, AllocNone);
    attributes.background_pixel = 0;
    attributes.border_pixel = 0;
    attributes.event_mask = eventMask;
    attributes.override_redirect = overrideRedirect ? True : False;
    unsigned long mask = CWColormap | CWBackPixel | CWBorderPixel | CWEventMask | CWOverrideRedirect;
    return XCreateWindow(g_x11.display, parent, 0, 0, unsigned(std::max(width, 1)), unsigned(std::max(height, 1)), 0,
                         g_x11.depth, InputOutput, g_x11.visual, mask, &attributes);
}

static bool ChooseVisual() {
    // The frame reads no depth buffer while it blends.
    if (ChooseOwnVisual(g_settings.alphaBlending ? 0 : 16, &g_x11.visual, &g_x11.depth)) return true;
    ReportError("Error", "the display offers no GL-capable visual", REPORT_EXCLAMATION);
    return false;
}

// -window and -fullscreen: a window of the host's own.
static bool CreateOwnWindow(bool fullscreen) {
    if (!ChooseVisual()) return false;
    Display* display = g_x11.display;
    int screenWidth = DisplayWidth(display, g_x11.screen);
    int screenHeight = DisplayHeight(display, g_x11.screen);
    int width = fullscreen ? screenWidth : std::min(WINDOW_DEFAULT_WIDTH, screenWidth);
    int height = fullscreen ? screenHeight : std::min(WINDOW_DEFAULT_HEIGHT, screenHeight);
    long events = KeyPressMask | KeyReleaseMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask |
                  VisibilityChangeMask;
    if (fullscreen) events |= FocusChangeMask;
    g_x11.window = CreateWindowWithVisual(RootWindow(display, g_x11.screen), width, height, events, fullscreen);
    g_x11.ownsWindow = true;
    SetWindowProperties(g_x11.window);
    return true;
}

// -window-id: a child covering the given window, with a visual of the host's choice. The child
// takes no input, so clicks and keys stay with the window's owner.
static bool CreatePreviewChild(Window parent) {
    XWindowAttributes attributes;
    BeginErrorTrap();
    Status found = XGetWindowAttributes(g_x11.display, parent, &attributes);
    if (EndErrorTrap(g_x11.display) || !found) {
        Fail("window 0x%lx does not exist", parent);
        return false;
    }
    if (!ChooseVisual()) return false;
    BeginErrorTrap();
    g_x11.window = CreateWindowWithVisual(parent, attributes.width, attributes.height,
                                          StructureNotifyMask | VisibilityChangeMask, false);
    XSelectInput(g_x11.display, parent, StructureNotifyMask);
    if (EndErrorTrap(g_x11.display)) {
        Fail("cannot draw inside window 0x%lx", parent);
        return false;
    }
    g_x11.ownsWindow = true;
    g_x11.watched = parent;
    return true;
}

// Virtual-root window managers mark the window that stands for the root (xscreensaver's vroot.h).
static Window VirtualRoot() {
    Display* display = g_x11.display;
    Window root = RootWindow(display, g_x11.screen);
    Atom vroot = XInternAtom(display, "__SWM_VROOT", False);
    Window rootReturn, parentReturn;
    Window* children = nullptr;
    unsigned count = 0;
    Window found = root;
    if (!XQueryTree(display, root, &rootReturn, &parentReturn, &children, &count)) return root;
    for (unsigned i = 0; i < count && found == root; ++i) {
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        BeginErrorTrap();
        int status = XGetWindowProperty(display, children[i], vroot, 0, 1, False, XA_WINDOW, &type, &format, &items,
                                        &after, &data);
        bool failed = EndErrorTrap(display);
        if (!failed && status == Success && type == XA_WINDOW && items == 1 && data)
            found = *reinterpret_cast<Window*>(data);
        if (data) XFree(data);
    }
    if (children) XFree(children);
    return found;
}

// -root: the daemon's window (or the root), drawn into with its own visual and never changed.
static bool AdoptRootTarget() {
    Window target = 0;
    const char* named = std::getenv("XSCREENSAVER_WINDOW");
    if (named && *named) {
        unsigned long id = 0;
        if (!ParseWindowId(named, &id)) {
            std::string text = std::string("bad window id \"") + named + "\" in XSCREENSAVER_WINDOW";
            ReportError("Error", text.c_str(), REPORT_EXCLAMATION);
            return false;
        }
        target = Window(id);
    } else {
        target = VirtualRoot();
    }
    XWindowAttributes attributes;
    BeginErrorTrap();
    Status found = XGetWindowAttributes(g_x11.display, target, &attributes);
    if (EndErrorTrap(g_x11.display) || !found) {
        Fail("window 0x%lx does not exist", target);
        return false;
    }
    if (!VisualSupportsGL(XVisualIDFromVisual(attributes.visual))) {
        Fail("window 0x%lx has no GL-capable visual", target);
        return false;
    }
    // Only what a window of someone else's may be asked for: ButtonPress, for one, is exclusive.
    BeginErrorTrap();
    XSelectInput(g_x11.display, target, KeyPressMask | StructureNotifyMask | VisibilityChangeMask);
    if (EndErrorTrap(g_x11.display)) {
        Fail("window 0x%lx does not exist", target);
        return false;
    }
    g_x11.window = target;
    g_x11.watched = target;
    g_x11.visual = attributes.visual;
    g_x11.depth = attributes.depth;
    return true;
}

bool SetUpWindow() {
    if (!glXQueryExtension(g_x11.display, nullptr, nullptr)) {
        ReportError("Error", "the display offers no GL-capable visual (it has no GLX extension)", REPORT_EXCLAMATION);
        return false;
    }
    switch (g_x11.options.mode) {
    case HOST_MODE_WINDOW:
        return CreateOwnWindow(false);
    case HOST_MODE_FULLSCREEN:
        return CreateOwnWindow(true);
    case HOST_MODE_WINDOW_ID:
        return CreatePreviewChild(Window(g_x11.options.windowId));
    case HOST_MODE_ROOT:
        return AdoptRootTarget();
    }
    return false;
}

void* PreviewParent() {
    switch (g_x11.options.mode) {
    case HOST_MODE_WINDOW:
        return SaverHandle(RootWindow(g_x11.display, g_x11.screen));
    case HOST_MODE_WINDOW_ID:
        return SaverHandle(g_x11.watched);
    case HOST_MODE_ROOT:
        return SaverHandle(g_x11.window);
    case HOST_MODE_FULLSCREEN:
        break;
    }
    return nullptr;
}
