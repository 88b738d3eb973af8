#include "host/win32/host_state.h"
#include "host/win32/monitor_layout.h"
#include "host/win32/win32_api.h"
#include "seam/platform.h"

static_assert(sizeof(DEVMODEA) == 156, "the display mode record the mode calls expect");
static_assert((DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT) == 0x1C0000, "the fields a mode switch sets");
static_assert((SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE) == 0x1E, "size-only placement");

// Whether the display runs in a mode of ours, which a fatal exit must undo.
static bool s_modeChanged = false;

void HostDesktopSize(int* width, int* height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    // A system that has never stored a mode reports none; the mode in use is then the desktop's.
    if (!EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &mode)) {
        mode.dmSize = sizeof mode;
        EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    }
    *width = int(mode.dmPelsWidth);
    *height = int(mode.dmPelsHeight);
}

void HostSizeWindow(SaverWindow window, int width, int height) {
    SetWindowPos(HWND(window), HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

struct MonitorSearch {
    ScreenMonitor found[SAVER_MAX_MONITORS];
    char devices[SAVER_MAX_MONITORS][CCHDEVICENAME];
    int count;
};

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorSearch& search = *reinterpret_cast<MonitorSearch*>(data);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    int at = search.count;
    const RECT& r = info.rcMonitor;
    bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    // Past the last slot only the primary still gets one, in place of the last monitor found.
    if (at == SAVER_MAX_MONITORS) {
        if (!primary) return TRUE;
        at = SAVER_MAX_MONITORS - 1;
    } else {
        ++search.count;
    }
    lstrcpynA(search.devices[at], info.szDevice, CCHDEVICENAME);
    search.found[at] = {r.left, r.top, r.right, r.bottom, primary, search.devices[at]};
    return TRUE;
}

// The full-screen window covers every monitor, each with its show; a preview has one show.
int HostListMonitors(SaverWindow window, SaverMonitor* monitors, int capacity) {
    if (g_isPreview) return 0;
    MonitorSearch search = {};
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, LPARAM(&search));
    POINT origin = {0, 0};
    ClientToScreen(HWND(window), &origin);
    return ClientMonitors(search.found, search.count, origin.x, origin.y, monitors, capacity);
}

void HostHideCursor() {
    SetCursor(nullptr);
}

void HostShowWindow(SaverWindow window) {
    ShowWindow(HWND(window), SW_SHOW);
}

bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = width;
    mode.dmPelsHeight = height;
    mode.dmBitsPerPel = bitsPerPixel;
    // No device named: only the primary switches, the other monitors keep their modes.
    s_modeChanged = ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
    return s_modeChanged;
}

// Back to the mode stored in the registry.
void HostRestoreDisplayMode() {
    ChangeDisplaySettingsA(nullptr, 0);
    s_modeChanged = false;
}

void HostFatalExit(int code) {
    if (s_modeChanged) HostRestoreDisplayMode();
    ExitProcess(UINT(code));
}
