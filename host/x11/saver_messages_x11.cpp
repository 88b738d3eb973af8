// The message side of the seam: the host's window procedure, the default saver procedure with
// the close rules, and the Win32 calls the core makes about messages and the frame timer.
#include "engine/saver_window_proc.h"
#include "host/linux/close_rules.h"
#include "host/x11/frame_timer.h"
#include "host/x11/grabs.h"
#include "host/x11/x11_host.h"
#include "seam/platform.h"

SaverResult HostWindowProc(uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    switch (message) {
    case SAVER_WM_TIMER:
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_SYSKEYDOWN:
    case SAVER_WM_MOUSEMOVE:
    case SAVER_WM_LBUTTONDOWN:
    case SAVER_WM_RBUTTONDOWN:
    case SAVER_WM_MBUTTONDOWN:
        if (g_x11.closing) return 0;
        break;
    default:
        break;
    }
    return SaverWindowProc(SaverHandle(g_x11.window), message, wParam, lParam);
}

void PostClose() {
    if (!g_x11.destroyed) g_x11.closePosted = true;
}

void DestroySaverWindow() {
    if (g_x11.destroyed) return;
    g_x11.destroyed = true;
    HostWindowProc(SAVER_WM_DESTROY, 0, 0);
    ReleaseGrabs();
    if (g_x11.ownsWindow && !g_x11.windowGone) XDestroyWindow(g_x11.display, g_x11.window);
    XFlush(g_x11.display);
}

void LoseWindow() {
    g_x11.windowGone = true;
    DestroySaverWindow();
}

void SendSizeIfChanged(int width, int height) {
    if (width == g_x11.sentWidth && height == g_x11.sentHeight) return;
    g_x11.sentWidth = width;
    g_x11.sentHeight = height;
    HostWindowProc(SAVER_WM_SIZE, 0, PackWords(width, height));
}

// What DefWindowProc does with the messages that reach it here.
static SaverResult DefaultWindowProc(uint32_t message) {
    if (message == SAVER_WM_NCCREATE) return 1;
    if (message == SAVER_WM_CLOSE) DestroySaverWindow();
    return 0;
}

// Only the full-screen saver closes on input or lost focus; a preview never does. There is no
// password to ask for on this platform, so a close is always granted.
SaverResult DefaultSaverProc(SaverWindow, uint32_t message, SaverWParam wParam, SaverLParam) {
    if (g_x11.options.mode != HOST_MODE_FULLSCREEN || g_x11.closing) return DefaultWindowProc(message);
    switch (message) {
    case SAVER_WM_CLOSE:
        g_x11.closing = true;
        break;
    case SAVER_WM_SHOWWINDOW:
        if (wParam != 0) HostHideCursor();
        break;
    case SAVER_WM_SETCURSOR:
        HostHideCursor();
        return 1;
    default:
        if (EndsFullScreenSaver(message, wParam)) PostClose();
        break;
    }
    return DefaultWindowProc(message);
}

SaverResult HostSendMessage(SaverWindow, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    return HostWindowProc(message, wParam, lParam);
}

void HostSetWindowData(SaverWindow, void* data) {
    g_x11.windowData = data;
}

void* HostGetWindowData(SaverWindow) {
    return g_x11.windowData;
}

void HostPostQuitMessage(int exitCode) {
    g_x11.quit = true;
    g_x11.exitCode = exitCode;
}

uintptr_t HostSetTimer(SaverWindow, uintptr_t id, uint32_t periodMillis) {
    // Its pace is the output's (PaceToOutput), also after a display-mode switch.
    g_frameTimer.Start(id, periodMillis, HostQueryCounter());
    return id;
}

void HostKillTimer(SaverWindow, uintptr_t) {
    g_frameTimer.Stop();
}
