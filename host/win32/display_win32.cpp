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

// One show per window for now.
int HostListMonitors(SaverWindow, SaverMonitor*, int) {
    return 0;
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
