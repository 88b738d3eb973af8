#include "engine/saver_window_proc.h"
#include "host/win32/host.h"
#include "host/win32/host_state.h"

// An input method would otherwise open its composition window over the saver.
static void DetachInputContext(HWND window) {
    g_imm32 = GetModuleHandleA("IMM32.DLL");
    if (!g_imm32) return;
    g_associateContext = reinterpret_cast<AssociateContextProc>(
        reinterpret_cast<void*>(GetProcAddress(g_imm32, "ImmAssociateContext")));
    if (g_associateContext) g_savedImeContext = g_associateContext(window, nullptr);
}

static void RestoreInputContext(HWND window) {
    if (g_savedImeContext && g_associateContext) g_associateContext(window, g_savedImeContext);
    g_savedImeContext = nullptr;
}

static void HideCursorOutsidePreview() {
    if (!g_isPreview) SetCursor(nullptr);
}

static LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return LRESULT(SaverWindowProc(window, message, wParam, lParam));
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        DetachInputContext(window);
        HideCursorOutsidePreview();
        StartFramePacing(window);
        break;
    case WM_DESTROY:
        StopFramePacing();
        RestoreInputContext(window);
        PostQuitMessage(0);
        break;
    case WM_SETTEXT:
        return 0;
    case WM_PAINT:
        if (g_closing) return DefWindowProcA(window, message, wParam, lParam);
        HideCursorOutsidePreview();
        break;
    case WM_HELP:
    case WM_CONTEXTMENU:
        // Help asked for in the preview belongs to the control panel around it.
        if (g_isPreview) {
            HWND parent = GetParent(window);
            if (parent) PostMessageA(parent, message, WPARAM(parent), lParam);
            return 1;
        }
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (g_closing) return DefWindowProcA(window, message, wParam, lParam);
        break;
    case WM_POWERBROADCAST:
        // Only the display state was asked for; it ends no saver.
        if (wParam == PBT_POWERSETTINGCHANGE && NotePowerSetting(lParam)) return TRUE;
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_MONITORPOWER) NoteMonitorPower(lParam);
        // The low four bits of the command are the system's own.
        if (!g_isPreview) {
            WPARAM command = wParam & 0xFFF0;
            if (command == SC_SCREENSAVE || command == SC_NEXTWINDOW || command == SC_PREVWINDOW) return 0;
        }
        break;
    case WM_DISPLAYCHANGE:
        // Our own mode switch, or a monitor plugged in or taken away: the window covers the
        // monitors as they are now before the shows are laid out on them, and frames follow the
        // primary's new refresh.
        NoteDisplayChange();
        if (!g_isPreview) CoverVirtualScreen(window);
        break;
    case WM_TIMER:
        if (g_closing) return 0;
        if (wParam == SAVER_FRAME_TIMER_ID && !FrameDue()) return 0;
        Sleep(0);
        break;
    default:
        break;
    }
    return PassOn(window, message, wParam, lParam);
}
