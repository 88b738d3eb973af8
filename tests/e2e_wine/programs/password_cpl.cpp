// A stand-in for the consumer platform's PASSWORD.CPL. Its VerifyScreenSavePwd answers what the
// test stored under HKCU\Software\Vesperglow Tests ("Answer", non-zero allows) and counts its
// calls there ("Calls"), so the test controls the answer and sees how often it was asked.
#include <windows.h>

static const char TEST_KEY[] = "Software\\Vesperglow Tests";

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, TEST_KEY, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return FALSE;
    DWORD answer = 0, calls = 0, size = sizeof answer;
    RegQueryValueExA(key, "Answer", nullptr, nullptr, reinterpret_cast<BYTE*>(&answer), &size);
    size = sizeof calls;
    RegQueryValueExA(key, "Calls", nullptr, nullptr, reinterpret_cast<BYTE*>(&calls), &size);
    ++calls;
    RegSetValueExA(key, "Calls", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls), sizeof calls);
    RegCloseKey(key);
    return answer != 0;
}
