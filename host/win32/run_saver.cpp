#include "host/win32/host.h"
#include "host/win32/host_state.h"
#include "seam/platform.h"
#include "settings/settings.h"

const char SAVER_CLASS_NAME[] = "WindowsScreenSaverClass";
const char SAVER_FULL_SCREEN_TITLE[] = "Screen Saver";
// CS_OWNDC, not CS_PARENTDC: the window gets an OpenGL pixel format, which a shared parent DC
// must never carry.
const UINT SAVER_CLASS_STYLE = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC;
static_assert(SAVER_CLASS_STYLE == 0x2B, "the saver class style");

struct SaverWindowPlacement {
    DWORD exStyle;
    DWORD style;
    const char* title;
    RECT rect;  // left, top, width, height
};

uint8_t ReadAcLineStatus() {
    SYSTEM_POWER_STATUS status;
    return GetSystemPowerStatus(&status) ? status.ACLineStatus : 255;
}

static SaverWindowPlacement PreviewPlacement(HWND parent) {
    RECT client = {};
    GetClientRect(parent, &client);
    return {0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, "Preview", {0, 0, client.right, client.bottom}};
}

// The whole virtual screen, every monitor included.
static SaverWindowPlacement FullScreenPlacement() {
    RECT rect = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                 GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (rect.right == 0 || rect.bottom == 0) {
        HDC screen = GetDC(nullptr);
        RECT clip = {};
        GetClipBox(screen, &clip);
        ReleaseDC(nullptr, screen);
        rect = {clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top};
    }
    return {WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, SAVER_FULL_SCREEN_TITLE, rect};
}

// The virtual screen the full-screen window last covered, and how many monitors it held.
struct CoveredScreen {
    RECT rect;
    int monitors;
};
static CoveredScreen s_covered = {};

static CoveredScreen CurrentScreen() {
    return {FullScreenPlacement().rect, GetSystemMetrics(SM_CMONITORS)};
}

void CoverVirtualScreen(HWND window) {
    s_covered = CurrentScreen();
    const RECT& r = s_covered.rect;
    SetWindowPos(window, nullptr, r.left, r.top, r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Windows tells every window when a monitor comes or goes; Wine does not, so a slow check compares.
static void CALLBACK CheckMonitors(HWND, UINT, UINT_PTR, DWORD) {
    CoveredScreen now = CurrentScreen();
    if (now.monitors != s_covered.monitors || !EqualRect(&now.rect, &s_covered.rect))
        SendMessageA(g_saverWindow, WM_DISPLAYCHANGE, 0, 0);
}

// A saver that already runs full screen is brought forward instead of starting another.
static bool BringRunningSaverForward() {
    HWND running = FindWindowA(SAVER_CLASS_NAME, SAVER_FULL_SCREEN_TITLE);
    if (!running || !IsWindow(running)) return false;
    SetForegroundWindow(running);
    return true;
}

static bool RegisterSaverClass() {
    WNDCLASSA saverClass = {};
    saverClass.style = SAVER_CLASS_STYLE;
    saverClass.lpfnWndProc = HostWindowProc;
    saverClass.hInstance = g_instance;
    saverClass.hIcon = LoadIconA(g_instance, "ID_APP");
    saverClass.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
    saverClass.lpszClassName = SAVER_CLASS_NAME;
    return RegisterClassA(&saverClass) != 0;
}

// A preview ends when the control panel's window goes. If the panel's process dies, Wine takes the
// preview's window away without a WM_DESTROY, so a slow check watches both windows.
static void CALLBACK CheckPreviewWindows(HWND, UINT, UINT_PTR, DWORD) {
    if (!IsWindow(g_saverWindow))
        PostQuitMessage(0);
    else if (!IsWindow(GetParent(g_saverWindow)))
        DestroyWindow(g_saverWindow);
}

int RunSaver(HWND parent) {
    SaverWindowPlacement placement;
    if (parent) {
        placement = PreviewPlacement(parent);
        g_isPreview = 1;
    } else {
        placement = FullScreenPlacement();
        s_covered = {placement.rect, GetSystemMetrics(SM_CMONITORS)};
        if (BringRunningSaverForward()) return 0;
        g_acLineStatus = ReadAcLineStatus();
        LoadPasswordVerifier();
    }
    g_queryCancelAutoPlay = g_consumerPlatform ? RegisterWindowMessageA("QueryCancelAutoPlay") : 0;

    // The shows start with the settings as stored now.
    g_settings.Load();
    SaverShowRequest request = {&g_settings, false, 0, false, 0};
    if (RegisterSaverClass()) {
        const RECT& r = placement.rect;
        g_saverWindow = CreateWindowExA(placement.exStyle, SAVER_CLASS_NAME, placement.title, placement.style, r.left,
                                        r.top, r.right, r.bottom, parent, nullptr, g_instance, &request);
    }
    MSG message = {};
    if (g_saverWindow) {
        if (g_isPreview) {
            SetTimer(nullptr, 0, 1000, CheckPreviewWindows);
        } else {
            SetForegroundWindow(g_saverWindow);
            SetTimer(nullptr, 0, 1000, CheckMonitors);
        }
        // GetMessageA gives -1 on an invalid call; that must end the loop as WM_QUIT does.
        while (GetMessageA(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    UnloadPasswordVerifier();
    return int(message.wParam);
}
