// vg-test-window W H: a plain grey X window standing in for a control panel's preview area or a
// screen-saver daemon's window. It prints its id, then a line for every key, button or pointer
// motion it receives, until its connection ends (xdotool windowkill).
// vg-test-window --close ID asks window ID to close, as a window manager's close button does.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (!display || argc != 3) {
        std::fprintf(stderr, "usage: DISPLAY=... vg-test-window W H | --close ID\n");
        return 1;
    }
    if (std::strcmp(argv[1], "--close") == 0) {
        XEvent event = {};
        event.xclient.type = ClientMessage;
        event.xclient.window = Window(std::strtoul(argv[2], nullptr, 0));
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, event.xclient.window, False, NoEventMask, &event);
        XCloseDisplay(display);
        return 0;
    }
    int screen = DefaultScreen(display);
    // A mid-grey background: anything the saver draws shows against it.
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(std::atoi(argv[1])),
                                        unsigned(std::atoi(argv[2])), 0, BlackPixel(display, screen), 0x808080);
    XSelectInput(display, window, KeyPressMask | ButtonPressMask | PointerMotionMask);
    XStoreName(display, window, "vg-test-window");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    for (;;) {
        std::fflush(stdout);
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress || event.type == ButtonPress || event.type == MotionNotify) std::puts("input");
    }
}
