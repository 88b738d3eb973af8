#include "host/win32/host.h"
#include "host/win32/host_state.h"

const UINT HOST_SPI_SCREENSAVERRUNNING = 97;

// Tells the consumer platform that a saver runs, which there disables the system keys.
void SetSaverRunning(BOOL running) {
    if (!g_consumerPlatform) return;
    SystemParametersInfoA(HOST_SPI_SCREENSAVERRUNNING, running, &running, 0);
}

void UnloadPasswordVerifier() {
    if (!g_consumerPlatform || !g_passwordDll) return;
    FreeLibrary(g_passwordDll);
    g_passwordDll = nullptr;
    if (g_verifyPassword) {
        g_verifyPassword = nullptr;
        SetSaverRunning(FALSE);
    }
}

// The password component is asked only when the user chose password protection.
void LoadPasswordVerifier() {
    if (!g_consumerPlatform) return;
    UnloadPasswordVerifier();
    HKEY desktop = nullptr;
    if (RegOpenKeyA(HKEY_CURRENT_USER, "Control Panel\\Desktop", &desktop) != ERROR_SUCCESS) return;
    DWORD usePassword = 0;
    DWORD size = sizeof usePassword;
    LONG read = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(&usePassword), &size);
    if (read == ERROR_SUCCESS && usePassword != 0) {
        g_passwordDll = LoadLibraryA("PASSWORD.CPL");
        if (g_passwordDll)
            g_verifyPassword = reinterpret_cast<VerifyPasswordProc>(
                reinterpret_cast<void*>(GetProcAddress(g_passwordDll, "VerifyScreenSavePwd")));
        if (g_verifyPassword)
            SetSaverRunning(TRUE);
        else
            UnloadPasswordVerifier();
    }
    RegCloseKey(desktop);
}
