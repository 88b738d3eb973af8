#include "host/win32/host.h"

typedef DWORD(WINAPI* ChangePasswordProc)(LPCSTR provider, HWND window, DWORD reserved1, DWORD reserved2);

// The system's own password-change dialog, for the screen-saver provider.
void ChangePassword(HWND window) {
    HMODULE library = LoadLibraryA("MPR.DLL");
    if (!library) return;
    auto change = reinterpret_cast<ChangePasswordProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "PwdChangePasswordA")));
    if (change) change("SCRSAVE", window, 0, 0);
    FreeLibrary(library);
}
