// preview-parent.exe: stands in for the display control panel's preview area. Opens a 320x240
// window at (100, 100), prints its handle in decimal and runs until it is closed (or for two
// minutes at most, so a failed test cannot leave it behind).
#include <windows.h>

#include <cstdio>

const UINT_PTR GIVE_UP_TIMER = 1;
const UINT GIVE_UP_MILLIS = 120000;

static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_TIMER:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int main() {
    WNDCLASSA parentClass = {};
    parentClass.lpfnWndProc = ParentProc;
    parentClass.hInstance = GetModuleHandleA(nullptr);
    parentClass.hbrBackground = HBRUSH(GetStockObject(GRAY_BRUSH));
    parentClass.lpszClassName = "VesperglowTestPreviewParent";
    RegisterClassA(&parentClass);
    RECT frame = {0, 0, 320, 240};
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExA(0, parentClass.lpszClassName, "Preview Parent", style, 100, 100,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  parentClass.hInstance, nullptr);
    if (!window) return 1;
    SetTimer(window, GIVE_UP_TIMER, GIVE_UP_MILLIS, nullptr);
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
