#include "host/win32/win32_api.h"
#include "seam/platform.h"

// The core's message ids and creation record are the system's own; check them here.
static_assert(SAVER_WM_CREATE == WM_CREATE && SAVER_WM_DESTROY == WM_DESTROY && SAVER_WM_SIZE == WM_SIZE &&
                  SAVER_WM_CLOSE == WM_CLOSE && SAVER_WM_SHOWWINDOW == WM_SHOWWINDOW &&
                  SAVER_WM_ACTIVATEAPP == WM_ACTIVATEAPP && SAVER_WM_SETCURSOR == WM_SETCURSOR &&
                  SAVER_WM_NCCREATE == WM_NCCREATE && SAVER_WM_KEYDOWN == WM_KEYDOWN &&
                  SAVER_WM_KEYUP == WM_KEYUP && SAVER_WM_SYSKEYDOWN == WM_SYSKEYDOWN && SAVER_WM_TIMER == WM_TIMER &&
                  SAVER_WM_MOUSEMOVE == WM_MOUSEMOVE && SAVER_WM_LBUTTONDOWN == WM_LBUTTONDOWN &&
                  SAVER_WM_RBUTTONDOWN == WM_RBUTTONDOWN && SAVER_WM_MBUTTONDOWN == WM_MBUTTONDOWN &&
                  SAVER_WM_DISPLAYCHANGE == WM_DISPLAYCHANGE,
              "message ids");
static_assert(SAVER_VK_F1 == VK_F1 && SAVER_VK_F2 == VK_F2, "key codes");
static_assert(offsetof(SaverCreateParams, createParams) == offsetof(CREATESTRUCTA, lpCreateParams) &&
                  offsetof(SaverCreateParams, instance) == offsetof(CREATESTRUCTA, hInstance) &&
                  offsetof(SaverCreateParams, menu) == offsetof(CREATESTRUCTA, hMenu) &&
                  offsetof(SaverCreateParams, parent) == offsetof(CREATESTRUCTA, hwndParent),
              "WM_CREATE's record");
static_assert(sizeof(SaverWParam) == sizeof(WPARAM) && sizeof(SaverLParam) == sizeof(LPARAM) &&
                  sizeof(SaverResult) == sizeof(LRESULT),
              "window procedure arguments");
static_assert(REPORT_EXCLAMATION == MB_ICONEXCLAMATION && REPORT_INFORMATION == MB_ICONINFORMATION,
              "message box icons");

uintptr_t HostSetTimer(SaverWindow window, uintptr_t id, uint32_t periodMillis) {
    return SetTimer(HWND(window), id, periodMillis, nullptr);
}

void HostKillTimer(SaverWindow window, uintptr_t id) {
    KillTimer(HWND(window), id);
}

SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    return SendMessageA(HWND(window), message, wParam, lParam);
}

void HostSetWindowData(SaverWindow window, void* data) {
    SetWindowLongPtrA(HWND(window), GWLP_USERDATA, LONG_PTR(data));
}

void* HostGetWindowData(SaverWindow window) {
    return reinterpret_cast<void*>(GetWindowLongPtrA(HWND(window), GWLP_USERDATA));
}

void HostPostQuitMessage(int exitCode) {
    PostQuitMessage(exitCode);
}
