// probe.exe: looks at and pokes the windows of other programs in the same Wine session, and tells a
// file's short name.
//   find CLASS TITLE [PARENT]     handle of a top-level window, or of a child of PARENT ("-" for any
//                                 class or title)
//   texts TITLE                   the texts of the static controls of a dialog (a message box)
//   rect HANDLE [ID]              the window's (or its dialog control's) screen rectangle: left top
//                                 right bottom
//   post HANDLE MESSAGE WPARAM LPARAM [COUNT]   COUNT posts back to back (default 1)
//   short-path PATH               the path's short (8.3) form
//   parent                        stands in for the display control panel's preview area: opens a
//                                 320x240 window at (100, 100), prints its handle and runs until it
//                                 is closed (or for two minutes, so a failed test cannot leave it)
// Handles and numbers are decimal. Exit status 0 on success, 1 when the window is not there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static const char* AnyOrName(const char* text) {
    return std::strcmp(text, "-") == 0 ? nullptr : text;
}

static HWND Handle(const char* text) {
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoul(text, nullptr, 10)));
}

static int PrintHandle(HWND window) {
    if (!window) return 1;
    std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(window)));
    return 0;
}

static int PrintRect(HWND window) {
    RECT rect;
    if (!window || !GetWindowRect(window, &rect)) return 1;
    std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}

static BOOL CALLBACK PrintStaticText(HWND child, LPARAM) {
    char className[64] = "";
    char text[512] = "";
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, text, sizeof text);
    if (lstrcmpiA(className, "Static") == 0 && text[0]) std::printf("%s\n", text);
    return TRUE;
}

static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) DestroyWindow(window);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

static int RunParent() {
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
    SetTimer(window, 1, 120000, nullptr);
    PrintHandle(window);
    std::fflush(stdout);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    return 0;
}

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    if (!std::strcmp(command, "parent")) return RunParent();
    if (!std::strcmp(command, "find") && (argc == 4 || argc == 5))
        return PrintHandle(
            FindWindowExA(argc == 5 ? Handle(argv[4]) : nullptr, nullptr, AnyOrName(argv[2]), AnyOrName(argv[3])));
    if (!std::strcmp(command, "texts") && argc == 3) {
        HWND box = FindWindowA("#32770", argv[2]);
        if (!box) return 1;
        EnumChildWindows(box, PrintStaticText, 0);
        return 0;
    }
    if (!std::strcmp(command, "short-path") && argc == 3) {
        char shortPath[MAX_PATH];
        DWORD length = GetShortPathNameA(argv[2], shortPath, sizeof shortPath);
        if (length == 0 || length >= sizeof shortPath) return 1;
        std::printf("%s\n", shortPath);
        return 0;
    }
    if (!std::strcmp(command, "rect") && (argc == 3 || argc == 4))
        return PrintRect(argc == 4 ? GetDlgItem(Handle(argv[2]), std::atoi(argv[3])) : Handle(argv[2]));
    if (!std::strcmp(command, "post") && (argc == 6 || argc == 7)) {
        int count = argc == 7 ? std::atoi(argv[6]) : 1;
        for (int i = 0; i < count; ++i)
            if (!PostMessageA(Handle(argv[2]), std::strtoul(argv[3], nullptr, 0), std::strtoul(argv[4], nullptr, 0),
                              std::strtol(argv[5], nullptr, 0)))
                return 1;
        return 0;
    }
    return 2;
}
