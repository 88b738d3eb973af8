#pragma once
#include <X11/Xlib.h>

#include <cstdint>
#include <string>

#include "host/linux/options.h"
#include "seam/platform.h"

// Everything the X11 host knows about its one saver window.
struct X11Host {
    Display* display = nullptr;
    std::string displayName;   // to reach the server again after a lost connection
    int screen = 0;
    HostOptions options;
    Window window = 0;         // where the show draws
    Window watched = 0;        // a window of someone else's whose destruction ends the show
    bool ownsWindow = false;   // created here, so destroyed here
    Visual* visual = nullptr;  // the drawing window's visual
    int depth = 0;
    Atom wmDeleteWindow = None;
    int sentWidth = -1;        // size of the last WM_SIZE
    int sentHeight = -1;
    bool focusWanted = false;  // HostFocusWindow came before the window was viewable
    bool grabbed = false;
    bool closing = false;      // close granted: input and timers no longer reach the core
    bool closePosted = false;  // a WM_CLOSE waits in the queue
    bool destroyed = false;    // WM_DESTROY sent
    bool windowGone = false;   // destroyed by someone else
    bool connectionLost = false;
    // Nobody sees the show while its window (or the window it lives in) is unmapped or fully
    // covered; frames then stop altogether, since drawing alone takes random numbers.
    bool unmapped = false;
    bool obscured = false;
    bool quit = false;
    int exitCode = 0;
    void* windowData = nullptr;  // the window procedure's
};

extern X11Host g_x11;

inline SaverWindow SaverHandle(Window window) {
    return reinterpret_cast<SaverWindow>(static_cast<uintptr_t>(window));
}
inline Window XWindowOf(SaverWindow handle) {
    return static_cast<Window>(reinterpret_cast<uintptr_t>(handle));
}

// The host's own procedure around SaverWindowProc: after a granted close, input and timer
// ticks stop reaching the core.
SaverResult HostWindowProc(uint32_t message, SaverWParam wParam, SaverLParam lParam);

// Posts WM_CLOSE to the saver window, as DefaultSaverProc's close rules do.
void PostClose();

// WM_DESTROY to the core, then the window itself goes (when it is ours and still there).
void DestroySaverWindow();

// Someone else destroyed the window the show depends on: the core gets WM_DESTROY, as a preview
// does when its parent goes.
void LoseWindow();

// Sends WM_SIZE when the drawing window's size differs from the last one sent.
void SendSizeIfChanged(int width, int height);

// Windows sends a mouse move when a window appears under the pointer; the drift rule takes it as
// the start position.
void ReportPointerPosition();

// Two values as Win32 packs a point or a size into lParam: the first in the low 16 bits.
inline SaverLParam PackWords(int low, int high) {
    return SaverLParam(uint32_t(uint16_t(low)) | (uint32_t(uint16_t(high)) << 16));
}
