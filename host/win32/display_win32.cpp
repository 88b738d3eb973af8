#include <algorithm>

#include "host/win32/host_state.h"
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

// The monitors in the order their shows take seeds: the primary first, then as the system lists
// them.
struct MonitorSearch {
    SaverMonitor found[SAVER_MAX_MONITORS];
    int count;
    POINT origin;  // the window's client origin on the virtual screen
};

// FNV-1a of the device name, which stays while the monitor stays connected.
static uint32_t DeviceKey(const char* device) {
    uint32_t hash = 2166136261u;
    for (const char* c = device; *c; ++c) hash = (hash ^ uint8_t(*c)) * 16777619u;
    return hash;
}

static BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MonitorSearch& search = *reinterpret_cast<MonitorSearch*>(data);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    bool primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    if (search.count == SAVER_MAX_MONITORS && !primary) return TRUE;
    if (search.count < SAVER_MAX_MONITORS) ++search.count;
    // The primary moves to the front; one found past the last slot pushes the last monitor out.
    SaverMonitor* at = primary ? search.found : search.found + search.count - 1;
    if (primary) std::copy_backward(search.found, search.found + search.count - 1, search.found + search.count);
    const RECT& r = info.rcMonitor;
    *at = {r.left - search.origin.x, r.top - search.origin.y, r.right - r.left, r.bottom - r.top,
           DeviceKey(info.szDevice)};
    return TRUE;
}

// The full-screen window covers every monitor, each with its show; a preview has one show.
int HostListMonitors(SaverWindow window, SaverMonitor* monitors, int capacity) {
    if (g_isPreview) return 0;
    MonitorSearch search = {};
    ClientToScreen(HWND(window), &search.origin);
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, LPARAM(&search));
    int count = std::min(search.count, capacity);
    std::copy(search.found, search.found + count, monitors);
    return count;
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
