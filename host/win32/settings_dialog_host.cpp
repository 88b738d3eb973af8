#include "host/win32/host.h"
#include "host/win32/host_state.h"
#include "host/win32/settings_dialog_win32.h"
#include "settings/settings_dialog_model.h"

int ShowSettingsDialog(HWND owner) {
    if (!PrepareDialogControls(g_instance)) return 0;
    return int(DialogBoxParamA(g_instance, MAKEINTRESOURCEA(SETTINGS_DIALOG_TEMPLATE), owner, SettingsDialogProc, 0));
}
