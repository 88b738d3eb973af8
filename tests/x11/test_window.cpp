// vg-test-window: a plain X window standing in for a control panel's preview area or a
// screen-saver daemon's window. It prints its id, counts the input it receives and obeys
// commands on standard input: "resize W H", "destroy", "count" (prints the input count), "exit".
// With --close ID it instead asks window ID to close, as a window manager's close button does.
#include <X11/Xlib.h>
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

static int AskToClose(Display* display, const char* idText) {
    Window window = Window(std::strtoul(idText, nullptr, 0));
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--close") == 0) {
        Display* display = XOpenDisplay(nullptr);
        return display ? AskToClose(display, argv[2]) : 1;
    }
    int width = argc > 1 ? std::atoi(argv[1]) : 400;
    int height = argc > 2 ? std::atoi(argv[2]) : 300;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "vg-test-window: no display\n");
        return 1;
    }
    int screen = DefaultScreen(display);
    // A mid-grey background: anything the saver draws shows against it.
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(width),
                                        unsigned(height), 0, BlackPixel(display, screen), 0x808080);
    XSelectInput(display, window, KeyPressMask | ButtonPressMask | PointerMotionMask | StructureNotifyMask);
    XStoreName(display, window, "vg-test-window");
    XMapWindow(display, window);
    XSync(display, False);
    std::printf("0x%lx\n", window);
    std::fflush(stdout);

    long inputs = 0;
    bool destroyed = false;
    char line[256];
    size_t used = 0;
    for (;;) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == KeyPress || event.type == ButtonPress || event.type == MotionNotify) ++inputs;
        }
        pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        if (poll(waits, 2, -1) < 0) continue;
        if (!(waits[1].revents & (POLLIN | POLLHUP))) continue;
        ssize_t got = read(STDIN_FILENO, line + used, sizeof line - 1 - used);
        if (got <= 0) break;
        used += size_t(got);
        line[used] = '\0';
        char* end;
        while ((end = std::strchr(line, '\n')) != nullptr) {
            *end = '\0';
            int w, h;
            if (std::sscanf(line, "resize %d %d", &w, &h) == 2 && !destroyed) {
                XResizeWindow(display, window, unsigned(w), unsigned(h));
                std::puts("resized");
            } else if (std::strcmp(line, "destroy") == 0 && !destroyed) {
                XDestroyWindow(display, window);
                destroyed = true;
                std::puts("destroyed");
            } else if (std::strcmp(line, "count") == 0) {
                XSync(display, False);
                while (XPending(display)) {
                    XEvent event;
                    XNextEvent(display, &event);
                    if (event.type == KeyPress || event.type == ButtonPress || event.type == MotionNotify) ++inputs;
                }
                std::printf("%ld\n", inputs);
            } else if (std::strcmp(line, "exit") == 0) {
                XCloseDisplay(display);
                return 0;
            }
            XSync(display, False);
            std::fflush(stdout);
            used -= size_t(end + 1 - line);
            std::memmove(line, end + 1, used + 1);
        }
    }
    XCloseDisplay(display);
    return 0;
}
