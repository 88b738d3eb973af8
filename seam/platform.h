#pragma once
// What the portable core asks of its host, as link-time functions: each executable links exactly one
// implementation (win32, x11, headless, or a recording fake in tests). Declarations only: the core
// owns this contract and hosts include it, never the reverse.
#include <cstdint>

// Handles are opaque to the core.
typedef void* SaverWindow;   // HWND, or the X11 host's window record
typedef void* SaverSurface;  // HDC, or the GLX drawable
typedef void* SaverContext;  // HGLRC, or the GLX context
typedef uintptr_t SaverWParam;
typedef intptr_t SaverLParam;
typedef intptr_t SaverResult;

// What WM_CREATE's lParam points to. The first four fields mirror CREATESTRUCTA's, so the
// Windows host passes the real structure.
struct SaverCreateParams {
    void* createParams;
    void* instance;
    void* menu;
    SaverWindow parent;  // non-null for a preview
};

struct Settings;

// What every host hands the window procedure through createParams: the settings the shows run with
// (read before the window exists), and how to seed them.
struct SaverShowRequest {
    const Settings* settings;
    bool seedGiven;
    uint32_t seed;              // instead of the calendar time
    bool frameRateAlwaysShown;  // the frame rate stays on, F2 or not
    int32_t monitorIndex;       // the monitor a window of one show stands for: its seed is that monitor's
};

// The user's settings as the host's store keeps them, open before the window exists.
extern Settings g_settings;

// Window messages and key codes the core handles, with their Win32 values.
// The Windows build checks them against windows.h.
const uint32_t SAVER_WM_CREATE = 0x0001;
const uint32_t SAVER_WM_DESTROY = 0x0002;
const uint32_t SAVER_WM_SIZE = 0x0005;
const uint32_t SAVER_WM_CLOSE = 0x0010;
const uint32_t SAVER_WM_SHOWWINDOW = 0x0018;
const uint32_t SAVER_WM_ACTIVATEAPP = 0x001C;
const uint32_t SAVER_WM_SETCURSOR = 0x0020;
const uint32_t SAVER_WM_DISPLAYCHANGE = 0x007E;  // the monitors or their modes changed
const uint32_t SAVER_WM_NCCREATE = 0x0081;
const uint32_t SAVER_WM_KEYDOWN = 0x0100;
const uint32_t SAVER_WM_KEYUP = 0x0101;
const uint32_t SAVER_WM_SYSKEYDOWN = 0x0104;
const uint32_t SAVER_WM_TIMER = 0x0113;
const uint32_t SAVER_WM_MOUSEMOVE = 0x0200;
const uint32_t SAVER_WM_LBUTTONDOWN = 0x0201;
const uint32_t SAVER_WM_RBUTTONDOWN = 0x0204;
const uint32_t SAVER_WM_MBUTTONDOWN = 0x0207;

const uint32_t SAVER_VK_F1 = 0x70;
const uint32_t SAVER_VK_F2 = 0x71;

// The frame timer's identifier and period.
const uintptr_t SAVER_FRAME_TIMER_ID = 1;
const uint32_t SAVER_FRAME_TIMER_MILLIS = 1;

// Window messages and the frame timer.
SaverResult DefaultSaverProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam);
uintptr_t HostSetTimer(SaverWindow window, uintptr_t id, uint32_t periodMillis);  // 0 on failure
void HostKillTimer(SaverWindow window, uintptr_t id);
SaverResult HostSendMessage(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam);
void HostPostQuitMessage(int exitCode);
// One pointer the window procedure keeps with each window (GWLP_USERDATA on Windows).
void HostSetWindowData(SaverWindow window, void* data);
void* HostGetWindowData(SaverWindow window);

// The surface the GL context draws on, as the pixel format descriptor asks for it.
struct PixelFormatRequest {
    uint8_t colorBits;  // 0: the desktop's
    uint8_t alphaBits;  // 1 with alpha blending on, 0 with it off
    uint8_t depthBits;
};

// The platform steps of CreateGLContext and ReleaseGLContext, each able to fail on its own.
void HostFocusWindow(SaverWindow window);
SaverSurface HostGetSurface(SaverWindow window);  // null on failure
int HostChoosePixelFormat(SaverSurface surface, const PixelFormatRequest& request);  // 0 on failure
bool HostSetPixelFormat(SaverSurface surface, int format, const PixelFormatRequest& request);
SaverContext HostCreateContext(SaverSurface surface);  // null on failure
bool HostMakeCurrent(SaverSurface surface, SaverContext context);  // both null: release
bool HostDeleteContext(SaverContext context);
bool HostReleaseSurface(SaverWindow window, SaverSurface surface);
void HostSwapBuffers(SaverSurface surface);

// Window and display.
void HostDesktopSize(int* width, int* height);  // the desktop's own mode

// A monitor as the window sees it: its rectangle in the window's client pixels (origin top-left),
// and a key that stays the same while the monitor stays connected.
struct SaverMonitor {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
    uint32_t key;
};
const int SAVER_MAX_MONITORS = 16;
// The monitors a window covers, each to get a show of its own: the primary first, then the rest in
// the system's order. 0 for a window of one show (a preview, a window given by someone else).
int HostListMonitors(SaverWindow window, SaverMonitor* monitors, int capacity);
void HostSizeWindow(SaverWindow window, int width, int height);  // size only: no move, no z-order
void HostHideCursor();
void HostShowWindow(SaverWindow window);
bool HostChangeDisplayMode(uint32_t width, uint32_t height, uint32_t bitsPerPixel);  // false: cannot set
void HostRestoreDisplayMode();

// Icons for ReportError, with the Win32 MessageBox values.
const unsigned REPORT_PLAIN = 0x00;
const unsigned REPORT_EXCLAMATION = 0x30;
const unsigned REPORT_INFORMATION = 0x40;

// A message box with no owner on Windows; one line on stderr elsewhere.
void ReportError(const char* caption, const char* text, unsigned icon);

// Restores the desktop display mode, releases grabs and ends the process.
[[noreturn]] void HostFatalExit(int code);

// The frame clock's two time sources: a high-resolution counter and a 32-bit millisecond count.
bool HostQueryCounterFrequency(int64_t* countsPerSecond);
int64_t HostQueryCounter();
uint32_t HostQueryMilliseconds();

// The program's own strings: its string table on Windows, compiled in elsewhere. As LoadStringA: copies
// at most bufferSize - 1 characters and a terminator, returns the characters copied, 0 when missing.
const unsigned STRING_APP_NAME = 1007;
int HostLoadString(unsigned id, char* buffer, int bufferSize);

// Custom resources of the program's own module (FindResourceA, then LoadResource and LockResource);
// compiled-in copies of the same files elsewhere. Find gives null when there is no such resource,
// Load when it cannot be loaded.
struct HostResource;
const HostResource* HostFindResource(const char* type, int id);
const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size);

// A bitmap resource as a DIB section keeps it: rows bottom-up, each padded to four bytes.
struct HostBitmap {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;
    const uint8_t* pixels;
    void* handle;  // what HostFreeBitmap releases: the HBITMAP on Windows
};
bool HostLoadBitmap(int id, HostBitmap* bitmap);  // false when missing or unreadable
void HostFreeBitmap(HostBitmap* bitmap);
