// The window steps of CreateGLContext. Someone else's window is never focused, sized, shown or
// given a cursor: its owner decides those.
#include "host/x11/grabs.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"
#include "seam/platform.h"

// An unmapped window cannot take the focus, so the request waits for HostShowWindow.
void HostFocusWindow(SaverWindow) {
    if (g_x11.options.mode == HOST_MODE_FULLSCREEN) g_x11.focusWanted = true;
}

void HostSizeWindow(SaverWindow, int width, int height) {
    if (!g_x11.ownsWindow) return;
    XResizeWindow(g_x11.display, g_x11.window, unsigned(width), unsigned(height));
    // SetWindowPos reports the new size before it returns; so does this.
    SendSizeIfChanged(width, height);
}

void HostHideCursor() {
    if (g_x11.ownsWindow) XDefineCursor(g_x11.display, g_x11.window, BlankCursor());
}

void ReportPointerPosition() {
    Window root, child;
    int rootX, rootY, x, y;
    unsigned mask;
    if (XQueryPointer(g_x11.display, g_x11.window, &root, &child, &rootX, &rootY, &x, &y, &mask))
        HostWindowProc(SAVER_WM_MOUSEMOVE, 0, PackWords(x, y));
}

void HostShowWindow(SaverWindow) {
    if (!g_x11.ownsWindow) return;
    if (g_x11.options.mode == HOST_MODE_FULLSCREEN)
        XMapRaised(g_x11.display, g_x11.window);
    else
        XMapWindow(g_x11.display, g_x11.window);
    XSync(g_x11.display, False);
    HostWindowProc(SAVER_WM_SHOWWINDOW, 1, 0);
    if (!g_x11.focusWanted) return;
    // An override-redirect window is viewable as soon as the server has mapped it.
    BeginErrorTrap();
    XSetInputFocus(g_x11.display, g_x11.window, RevertToParent, CurrentTime);
    EndErrorTrap(g_x11.display);
    GrabInput(g_x11.window, BlankCursor());
    ReportPointerPosition();
}
