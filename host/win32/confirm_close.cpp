#include "host/win32/host.h"
#include "host/win32/host_state.h"

// A refused close is not asked again within this time, so a burst of input asks once.
const DWORD HOST_PASSWORD_RECHECK_MILLIS = 200;

bool ConfirmClose(HWND window) {
    if (g_checkingPassword || g_closing) return false;
    if (!g_verifyPassword) {
        g_closing = 1;
        return true;
    }
    if (g_lastCheckTick != HOST_NO_CHECK_YET && GetTickCount() - g_lastCheckTick < HOST_PASSWORD_RECHECK_MILLIS)
        return g_closing != 0;
    g_checkingPassword = 1;
    // Frames queued behind the check would only stall the password dialog.
    MSG pending;
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    PeekMessageA(&pending, window, WM_TIMER, WM_TIMER, PM_REMOVE | PM_NOYIELD);
    g_closing = SendMessageA(window, WM_APP, 0, 0) != 0;
    g_checkingPassword = 0;
    if (!g_closing) SetCursor(nullptr);
    g_lastCheckTick = GetTickCount();
    return g_closing != 0;
}
