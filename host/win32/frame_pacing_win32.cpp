// The saver's frames paced to the primary display's refresh, and none while that display is off.
#include "host/win32/frame_pacer.h"
#include "host/win32/host.h"
#include "seam/platform.h"

namespace {

// GUID_CONSOLE_DISPLAY_STATE; its data: 0 off, 1 on, 2 dimmed.
const GUID CONSOLE_DISPLAY_STATE = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
const DWORD CONSOLE_DISPLAY_OFF = 0;

FramePacer s_pacer;
bool s_displayOff = false;
HPOWERNOTIFY s_displayNotification = nullptr;

void ReadRefresh() {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    uint32_t hertz = EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode) ? mode.dmDisplayFrequency : 0;
    int64_t countsPerSecond = 0;
    HostQueryCounterFrequency(&countsPerSecond);
    s_pacer.SetRefresh(countsPerSecond, hertz);
}

}  // namespace

void StartFramePacing(HWND window) {
    ReadRefresh();
    s_displayNotification = RegisterPowerSettingNotification(window, &CONSOLE_DISPLAY_STATE,
                                                             DEVICE_NOTIFY_WINDOW_HANDLE);
}

void StopFramePacing() {
    if (s_displayNotification) UnregisterPowerSettingNotification(s_displayNotification);
    s_displayNotification = nullptr;
}

void NoteDisplayChange() {
    ReadRefresh();
}

bool FrameDue() {
    return !s_displayOff && s_pacer.TakeFrame(HostQueryCounter());
}

// SC_MONITORPOWER's lParam: -1 on, 1 low power, 2 off.
void NoteMonitorPower(LPARAM state) {
    s_displayOff = state > 0;
}

bool NotePowerSetting(LPARAM lParam) {
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
    if (!setting || !IsEqualGUID(setting->PowerSetting, CONSOLE_DISPLAY_STATE) || setting->DataLength < sizeof(DWORD))
        return false;
    DWORD state = 0;
    CopyMemory(&state, setting->Data, sizeof state);
    s_displayOff = state == CONSOLE_DISPLAY_OFF;
    return true;
}
