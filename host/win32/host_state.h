#pragma once
// The host's process-wide state: the saver window, its mode and the close and password machinery.
#include <cstdint>

#include "host/win32/win32_api.h"
#include <imm.h>

typedef BOOL(WINAPI* VerifyPasswordProc)(HWND window);
typedef HIMC(WINAPI* AssociateContextProc)(HWND window, HIMC context);

extern HINSTANCE g_instance;
extern HWND g_saverWindow;
extern int32_t g_isPreview;
extern int32_t g_closing;           // closing granted: input and timers no longer reach the show
extern int32_t g_checkingPassword;  // a password check is running
extern HMODULE g_passwordDll;
extern VerifyPasswordProc g_verifyPassword;
extern UINT g_queryCancelAutoPlay;  // 0 when not registered
extern HMODULE g_imm32;
extern AssociateContextProc g_associateContext;
extern HIMC g_savedImeContext;
extern int32_t g_consumerPlatform;  // the password machinery exists only there
extern uint8_t g_acLineStatus;      // 255 when the status cannot be read
extern DWORD g_lastCheckTick;       // all bits set: no check yet

const DWORD HOST_NO_CHECK_YET = 0xFFFFFFFF;
