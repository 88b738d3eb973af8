#include "host/win32/host.h"
#include "host/win32/host_state.h"
#include "host/win32/power_broadcast.h"
#include "seam/platform.h"

const UINT HOST_WM_VERIFY_PASSWORD = WM_APP;
const WPARAM HOST_PWR_CRITICALRESUME = 3;

static void PostClose(HWND window) {
    PostMessageA(window, WM_CLOSE, 0, 0);
}

// Input and power events that end a running saver; anything else changes nothing here.
static void ApplyCloseRules(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam) SetCursor(nullptr);
        break;
    case WM_ACTIVATEAPP:
        if (!wParam) PostClose(window);
        break;
    case WM_POWER:
        if (wParam == HOST_PWR_CRITICALRESUME) PostClose(window);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        PostClose(window);
        break;
    case WM_POWERBROADCAST:
        if (PowerBroadcastEndsSaver(wParam, lParam, ReadAcLineStatus, &g_acLineStatus)) PostClose(window);
        break;
    default:
        break;
    }
}

// Mouse moves never arrive: the saver's own procedure consumes them and applies its drift rule.
SaverResult DefaultSaverProc(SaverWindow saverWindow, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    HWND window = HWND(saverWindow);
    if (!g_isPreview && !g_closing) {
        if (message == WM_CLOSE) {
            if (g_consumerPlatform && !ConfirmClose(window)) return 0;
        } else if (message == HOST_WM_VERIFY_PASSWORD && g_consumerPlatform) {
            return g_verifyPassword ? g_verifyPassword(window) : 1;
        } else if (message == WM_SETCURSOR && !g_checkingPassword) {
            SetCursor(nullptr);
            return 1;
        } else if (!g_checkingPassword) {
            ApplyCloseRules(window, message, wParam, lParam);
        }
    }
    if (g_queryCancelAutoPlay != 0 && message == g_queryCancelAutoPlay) {
        PostClose(window);
        return g_verifyPassword ? 1 : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
