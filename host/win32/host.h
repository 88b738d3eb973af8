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
