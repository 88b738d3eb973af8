#include "host/win32/win32_api.h"

#include <commctrl.h>

#include "host/win32/host.h"
#include "host/win32/host_state.h"
#include "host/win32/saver_switches.h"

static HWND AsWindow(uint32_t handle) {
    return HWND(uintptr_t(handle));
}

static bool IsValidWindow(uint32_t handle) {
    return handle != 0 && IsWindow(AsWindow(handle));
}

static HWND ValidWindowOrForeground(uint32_t handle) {
    return IsValidWindow(handle) ? AsWindow(handle) : GetForegroundWindow();
}

// A fault nothing else handled ends the saver with -1, with the system's screen-saver state
// switched off first, so a crashed saver cannot leave the consumer platform's keys locked.
// i686 GCC has no __try/__except, so a top-level filter stands for the guard around the switches.
static LONG WINAPI SaverFaultFilter(EXCEPTION_POINTERS*) {
    SetSaverRunning(FALSE);
    ExitProcess(UINT(-1));
}

int SaverMain(HINSTANCE instance, const char* arguments) {
    SetUnhandledExceptionFilter(SaverFaultFilter);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    g_instance = instance;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    g_consumerPlatform = GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;

    SaverCommand command = ParseSaverSwitches(arguments);
    switch (command.kind) {
    case SWITCH_SETTINGS_UNOWNED:
        return ShowSettingsDialog(nullptr);
    case SWITCH_SETTINGS:
        return ShowSettingsDialog(ValidWindowOrForeground(command.window));
    case SWITCH_RUN:
        return RunSaver(nullptr);
    case SWITCH_PREVIEW:
        if (!IsValidWindow(command.window)) return -1;
        return RunSaver(AsWindow(command.window));
    case SWITCH_CHANGE_PASSWORD:
        if (!g_consumerPlatform) return -1;
        ChangePassword(ValidWindowOrForeground(command.window));
        return 0;
    case SWITCH_INVALID:
        break;
    }
    return -1;
}
