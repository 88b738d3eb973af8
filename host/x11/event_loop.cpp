#include "host/x11/event_loop.h"

#include <X11/Xlib.h>
#include <poll.h>

#include <vector>

#include "host/x11/display_power.h"
#include "host/x11/frame_timer.h"
#include "host/linux/key_codes.h"
#include "host/linux/signals.h"
#include "host/x11/monitors.h"
#include "host/x11/x11_host.h"
#include "host/x11/x_errors.h"
#include "seam/platform.h"

const uint32_t KEY_F10 = 0x79;
// Win32's key-message lParam: repeat count 1; a release also sets the previous-state and
// transition bits.
const SaverLParam KEY_DOWN_LPARAM = 0x00000001;
const SaverLParam KEY_UP_LPARAM = 0xC0000001;

static void OnKey(XKeyEvent& event, bool down) {
    // -root: input belongs to the daemon. -window-id never sees keys: its child selects none.
    if (g_x11.options.mode == HOST_MODE_ROOT) return;
    KeySym keysym = XLookupKeysym(&event, 0);
    if (g_x11.options.mode == HOST_MODE_WINDOW && down && IsWindowQuitKey(keysym, (event.state & ControlMask) != 0)) {
        PostClose();
        return;
    }
    uint32_t key = VirtualKeyFromKeysym(keysym);
    if (!down) {
        HostWindowProc(SAVER_WM_KEYUP, key, KEY_UP_LPARAM);
        return;
    }
    // Windows reports F10 and keys held with Alt as system keys.
    bool system = key == KEY_F10 || (event.state & Mod1Mask);
    HostWindowProc(system ? SAVER_WM_SYSKEYDOWN : SAVER_WM_KEYDOWN, key, KEY_DOWN_LPARAM);
}

static void OnButton(const XButtonEvent& event) {
    uint32_t message = 0;
    switch (event.button) {
    case Button1:
        message = SAVER_WM_LBUTTONDOWN;
        break;
    case Button2:
        message = SAVER_WM_MBUTTONDOWN;
        break;
    case Button3:
        message = SAVER_WM_RBUTTONDOWN;
        break;
    default:
        return;  // wheel steps are no clicks
    }
    HostWindowProc(message, 0, PackWords(event.x, event.y));
}

// Focus that moves away for good deactivates the saver; focus events from grabs (its own
// included) and from the pointer's whereabouts do not.
static void OnFocusOut(const XFocusChangeEvent& event) {
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab) return;
    if (event.detail == NotifyPointer || event.detail == NotifyInferior) return;
    HostWindowProc(SAVER_WM_ACTIVATEAPP, 0, 0);
}

static void OnConfigure(const XConfigureEvent& event) {
    if (g_x11.options.mode == HOST_MODE_WINDOW_ID && event.window == g_x11.watched) {
        XResizeWindow(g_x11.display, g_x11.window, unsigned(event.width), unsigned(event.height));
        SendSizeIfChanged(event.width, event.height);
    } else if (event.window == g_x11.window && g_x11.options.mode != HOST_MODE_WINDOW_ID) {
        SendSizeIfChanged(event.width, event.height);
    }
}

static void Dispatch(XEvent& event) {
    if (g_x11.destroyed) return;
    switch (event.type) {
    case KeyPress:
    case KeyRelease:
        OnKey(event.xkey, event.type == KeyPress);
        break;
    case ButtonPress:
        OnButton(event.xbutton);
        break;
    case MotionNotify:
        HostWindowProc(SAVER_WM_MOUSEMOVE, 0, PackWords(event.xmotion.x, event.xmotion.y));
        break;
    case FocusOut:
        if (g_x11.options.mode == HOST_MODE_FULLSCREEN) OnFocusOut(event.xfocus);
        break;
    case ConfigureNotify:
        OnConfigure(event.xconfigure);
        break;
    case MapNotify:
    case UnmapNotify:
        if (event.xmap.window == g_x11.window || event.xmap.window == g_x11.watched)
            g_x11.unmapped = event.type == UnmapNotify;
        break;
    case VisibilityNotify:
        if (event.xvisibility.window == g_x11.window) g_x11.obscured = event.xvisibility.state == VisibilityFullyObscured;
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == g_x11.window || event.xdestroywindow.window == g_x11.watched)
            LoseWindow();
        break;
    case ClientMessage:
        if (event.xclient.format == 32 && Atom(event.xclient.data.l[0]) == g_x11.wmDeleteWindow) PostClose();
        break;
    default:
        break;
    }
}

// Every event that waits. A layout change comes as several events; the layout is read once they are
// all in. The server may move the pointer onto a monitor that stays: that is no drift of the user's.
static void DispatchPending(Display* display) {
    while (!g_x11.quit && XPending(display)) {
        std::vector<XEvent> batch;
        bool layoutChanged = false;
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (IsLayoutEvent(event))
                layoutChanged = true;
            else
                batch.push_back(event);
        }
        for (XEvent& event : batch) {
            if (g_x11.quit) break;
            if (!(layoutChanged && event.type == MotionNotify)) Dispatch(event);
        }
        if (layoutChanged && !g_x11.quit) FollowScreenLayout();
    }
}

int RunEventLoop(int signalDescriptor) {
    Display* display = g_x11.display;
    pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {signalDescriptor, POLLIN, 0}};
    // Like a Win32 queue: events and posted messages first, the timer only when nothing else waits.
    while (!g_x11.quit) {
        DispatchPending(display);
        HandlePendingXError();
        if (g_x11.quit) break;
        if (TakeSignals()) PostClose();
        if (g_x11.closePosted) {
            g_x11.closePosted = false;
            HostWindowProc(SAVER_WM_CLOSE, 0, 0);
            continue;
        }
        bool shown = !g_x11.unmapped && !g_x11.obscured;
        // A display that DPMS put to sleep shows nothing either; it is asked again now and then.
        bool asleep = shown && g_frameTimer.running && DisplayPowerOff(display, HostQueryCounter());
        bool seen = shown && !asleep;
        if (seen && g_frameTimer.TakeTick(HostQueryCounter())) {
            HostWindowProc(SAVER_WM_TIMER, g_frameTimer.id, 0);
            continue;
        }
        XFlush(display);
        int wait = asleep ? DISPLAY_POWER_CHECK_MILLIS : -1;
        poll(waits, 2, seen ? g_frameTimer.MillisUntilDue(HostQueryCounter()) : wait);
    }
    return g_x11.exitCode;
}
