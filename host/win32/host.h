#pragma once
// The host's own operations, between the entry, the saver window and the password machinery.
#include <cstdint>

#include "host/win32/win32_api.h"

int SaverMain(HINSTANCE instance, const char* arguments);
int RunSaver(HWND parent);  // null parent: full screen
void CoverVirtualScreen(HWND window);  // the full-screen window, moved and sized to every monitor as they are now
int ShowSettingsDialog(HWND owner);
void ChangePassword(HWND window);
LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool ConfirmClose(HWND window);
void SetSaverRunning(BOOL running);
void LoadPasswordVerifier();
void UnloadPasswordVerifier();
uint8_t ReadAcLineStatus();
// Frame pacing (frame_pacing_win32.cpp): no more frames than the primary display refreshes, none
// while it is off.
void StartFramePacing(HWND window);
void StopFramePacing();
void NoteDisplayChange();
bool FrameDue();  // whether this frame timer tick draws
void NoteMonitorPower(LPARAM state);
bool NotePowerSetting(LPARAM setting);  // false when it is not the display state
