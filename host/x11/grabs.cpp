#include "host/x11/grabs.h"

#include <time.h>

#include "host/x11/x11_host.h"
#include "seam/platform.h"

const int GRAB_ATTEMPTS = 40;
const long GRAB_RETRY_NANOS = 50 * 1000 * 1000;

static bool GrabWithRetries(Window window, Cursor cursor, bool keyboard) {
    for (int attempt = 0; attempt < GRAB_ATTEMPTS; ++attempt) {
        int status = keyboard ? XGrabKeyboard(g_x11.display, window, True, GrabModeAsync, GrabModeAsync, CurrentTime)
                              : XGrabPointer(g_x11.display, window, True, ButtonPressMask | PointerMotionMask,
                                             GrabModeAsync, GrabModeAsync, None, cursor, CurrentTime);
        if (status == GrabSuccess) return true;
        timespec pause = {0, GRAB_RETRY_NANOS};
        nanosleep(&pause, nullptr);
    }
    return false;
}

void GrabInput(Window window, Cursor cursor) {
    bool keyboard = GrabWithRetries(window, cursor, true);
    bool pointer = GrabWithRetries(window, cursor, false);
    g_x11.grabbed = keyboard || pointer;
    // The show goes on without a grab; the focus and input rules still end it.
    if (!keyboard) ReportError("Warning", "could not grab the keyboard", REPORT_EXCLAMATION);
    if (!pointer) ReportError("Warning", "could not grab the pointer", REPORT_EXCLAMATION);
}

void ReleaseGrabs() {
    if (!g_x11.grabbed) return;
    XUngrabKeyboard(g_x11.display, CurrentTime);
    XUngrabPointer(g_x11.display, CurrentTime);
    XFlush(g_x11.display);
    g_x11.grabbed = false;
}

Cursor BlankCursor() {
    static Cursor s_cursor = None;
    if (s_cursor != None) return s_cursor;
    static const char NO_BITS[1] = {0};
    Window root = RootWindow(g_x11.display, g_x11.screen);
    Pixmap pixmap = XCreateBitmapFromData(g_x11.display, root, NO_BITS, 1, 1);
    XColor black = {};
    s_cursor = XCreatePixmapCursor(g_x11.display, pixmap, pixmap, &black, &black, 0, 0);
    XFreePixmap(g_x11.display, pixmap);
    return s_cursor;
}
