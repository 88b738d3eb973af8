// A stand-in for the consumer platform's PASSWORD.CPL. Its VerifyScreenSavePwd answers what the
// test stored under HKCU\Software\Vesperglow Tests ("Answer", non-zero allows) and counts its
// calls there ("Calls"), so the test controls the answer and sees how often it was asked.
// The answer FAULT_ANSWER makes it crash instead, as a broken system component would.
#include <windows.h>

static const char TEST_KEY[] = "Software\\Vesperglow Tests";
static const DWORD FAULT_ANSWER = 0xDEAD;

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
    if (answer == FAULT_ANSWER) *static_cast<volatile int*>(nullptr) = 0;
    return answer != 0;
}
