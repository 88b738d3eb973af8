#include "host/win32/host_state.h"

HINSTANCE g_instance = nullptr;
HWND g_saverWindow = nullptr;
int32_t g_isPreview = 0;
int32_t g_closing = 0;
int32_t g_checkingPassword = 0;
HMODULE g_passwordDll = nullptr;
VerifyPasswordProc g_verifyPassword = nullptr;
UINT g_queryCancelAutoPlay = 0;
HMODULE g_imm32 = nullptr;
AssociateContextProc g_associateContext = nullptr;
HIMC g_savedImeContext = nullptr;
int32_t g_consumerPlatform = 0;
uint8_t g_acLineStatus = 255;
DWORD g_lastCheckTick = HOST_NO_CHECK_YET;
