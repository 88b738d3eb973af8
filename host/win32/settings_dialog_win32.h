#pragma once
// The Windows view of the settings dialog: template 2003 driven by SettingsDialogModel.
#include <windows.h>

// Makes the sliders' window class available; the host shows the dialog only when this is true.
bool PrepareDialogControls(HINSTANCE instance);

// The procedure for template 2003, shown modally with DialogBoxParamA and parameter 0. The
// dialog's result is 1 after OK and 0 after Cancel.
INT_PTR CALLBACK SettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
