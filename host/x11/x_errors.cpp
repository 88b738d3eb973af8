#include "host/x11/x_errors.h"

#include <cstdio>

#include "host/x11/x11_host.h"

static int s_trapDepth = 0;
static bool s_trapped = false;

// The first error seen outside a trap, judged later by the event loop.
static bool s_pending = false;
static XErrorEvent s_pendingError;

// Xlib forbids protocol requests inside its error handler, so this only records.
static int OnXError(Display*, XErrorEvent* error) {
    if (s_trapDepth > 0) {
        s_trapped = true;
        return 0;
    }
    if (!s_pending) {
        s_pending = true;
        s_pendingError = *error;
    }
    return 0;
}

static int OnXIOError(Display*) {
    g_x11.connectionLost = true;
    ReportError("Error", "lost the connection to the X server", REPORT_EXCLAMATION);
    HostFatalExit(1);
}

void InstallXErrorHandlers() {
    XSetErrorHandler(OnXError);
    XSetIOErrorHandler(OnXIOError);
}

void BeginErrorTrap() {
    if (s_trapDepth++ == 0) s_trapped = false;
}

bool EndErrorTrap(Display* display) {
    XSync(display, False);
    bool failed = s_trapped;
    if (--s_trapDepth == 0) s_trapped = false;
    return failed;
}

bool WindowExists(Window window) {
    XWindowAttributes attributes;
    BeginErrorTrap();
    XGetWindowAttributes(g_x11.display, window, &attributes);
    return !EndErrorTrap(g_x11.display);
}

void HandlePendingXError() {
    if (!s_pending) return;
    s_pending = false;
    // Drawing into a window that its owner has just destroyed fails until the DestroyNotify is
    // handled; the show then ends the ordinary way.
    if (g_x11.windowGone) return;
    if (g_x11.watched != 0 && (!WindowExists(g_x11.watched) || !WindowExists(g_x11.window))) {
        LoseWindow();
        return;
    }
    XID resource = s_pendingError.resourceid;
    char description[256];
    XGetErrorText(g_x11.display, s_pendingError.error_code, description, sizeof description);
    char text[400];
    std::snprintf(text, sizeof text, "X error: %s (request %d.%d, resource 0x%lx)", description,
                  s_pendingError.request_code, s_pendingError.minor_code, resource);
    ReportError("Error", text, REPORT_EXCLAMATION);
    HostFatalExit(1);
}
