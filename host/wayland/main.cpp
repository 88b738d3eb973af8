// vesperglow-wayland: the saver's -window and -fullscreen as a Wayland client; vesperglow runs it
// with its own arguments when a compositor answers.
#include <poll.h>
#include <sys/prctl.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <ctime>
#include <string>

#include "host/linux/keyfile_store.h"
#include "host/linux/signals.h"
#include "host/wayland/wayland_host.h"
#include "xdg-shell-client-protocol.h"

WaylandHost g_wayland;

// Nothing of the saver outlives the process but what the compositor frees as the connection goes.
void HostFatalExit(int code) {
    std::exit(code);
}

static void OnPing(void*, xdg_wm_base* wmBase, uint32_t serial) {
    xdg_wm_base_pong(wmBase, serial);
}

static const xdg_wm_base_listener WM_BASE_LISTENER = {OnPing};

static void OnOutputGeometry(void*, wl_output*, int32_t, int32_t, int32_t, int32_t, int32_t, const char*, const char*,
                             int32_t) {}

static void OnOutputMode(void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    if (!(flags & WL_OUTPUT_MODE_CURRENT)) return;
    output->modeWidth = width;
    output->modeHeight = height;
}

// A fractional scale comes as the integer above it, which is the buffer scale wanted.
static void OnOutputScale(void* data, wl_output*, int32_t factor) {
    static_cast<WaylandOutput*>(data)->scale = std::max(factor, 1);
}

// A new output gets its show once described; a known one's surface follows a new scale.
static void OnOutputDone(void* data, wl_output*) {
    WaylandOutput* output = static_cast<WaylandOutput*>(data);
    bool first = !output->done;
    output->done = true;
    if (!FullScreen() || !g_wayland.running) return;
    if (first) {
        CreateSurface(output);
        return;
    }
    for (auto& surface : g_wayland.surfaces)
        if (surface->output == output) StartOrResize(surface.get());
}

// Bound at version 2: no name or description comes.
static const wl_output_listener OUTPUT_LISTENER = {OnOutputGeometry, OnOutputMode, OnOutputDone, OnOutputScale,
                                                   nullptr, nullptr};

static void OnGlobal(void*, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
    std::string kind = interface;
    if (kind == wl_compositor_interface.name) {
        g_wayland.compositor =
            static_cast<wl_compositor*>(wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
    } else if (kind == xdg_wm_base_interface.name) {
        // Version 2: the later events (bounds, capabilities) tell a full-screen saver nothing.
        g_wayland.wmBase =
            static_cast<xdg_wm_base*>(wl_registry_bind(registry, name, &xdg_wm_base_interface, std::min(version, 2u)));
        xdg_wm_base_add_listener(g_wayland.wmBase, &WM_BASE_LISTENER, nullptr);
    } else if (kind == wl_seat_interface.name) {
        BindSeat(registry, name, version);
    } else if (kind == wl_output_interface.name && version >= 2) {
        auto output = std::make_unique<WaylandOutput>();
        output->name = name;
        output->index = g_wayland.nextOutputIndex++;
        output->output = static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, 2));
        wl_output_add_listener(output->output, &OUTPUT_LISTENER, output.get());
        g_wayland.outputs.push_back(std::move(output));
    }
}

// An output that goes takes its show along; the saver goes on on the others.
static void OnGlobalRemove(void*, wl_registry*, uint32_t name) {
    auto& outputs = g_wayland.outputs;
    auto gone = std::find_if(outputs.begin(), outputs.end(), [&](const auto& o) { return o->name == name; });
    if (gone == outputs.end()) return;
    for (auto& surface : g_wayland.surfaces) {
        if (surface->output != gone->get() || surface->destroyed) continue;
        surface->closeAlone = true;
        surface->closePosted = true;
        surface->output = nullptr;  // closes as a window of its own: this show alone
    }
    wl_output_destroy((*gone)->output);
    outputs.erase(gone);
}

static const wl_registry_listener REGISTRY_LISTENER = {OnGlobal, OnGlobalRemove};

static bool s_libraryQuiet = false;

// libwayland's own messages, but not while connecting: the failure gets one line of ours.
static void OnLibraryMessage(const char* format, va_list arguments) {
    if (!s_libraryQuiet) std::vfprintf(stderr, format, arguments);
}

static void ReportNoConnection(int error) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string display = std::string("the Wayland display \"") + (name ? name : "wayland-0") + "\"";
    std::string text = "cannot connect to " + display + ": " + std::strerror(error);
    if ((!name || name[0] != '/') && (!runtime || runtime[0] != '/'))
        text = "cannot find " + display + ": XDG_RUNTIME_DIR is not set";
    ReportError("Error", text.c_str(), REPORT_EXCLAMATION);
}

static bool Connect() {
    wl_log_set_handler_client(OnLibraryMessage);
    s_libraryQuiet = true;
    g_wayland.display = wl_display_connect(nullptr);
    int error = errno;
    s_libraryQuiet = false;
    if (!g_wayland.display) {
        ReportNoConnection(error);
        return false;
    }
    wl_registry* registry = wl_display_get_registry(g_wayland.display);
    wl_registry_add_listener(registry, &REGISTRY_LISTENER, nullptr);
    // The globals, then what the outputs and the seat say of themselves.
    if (wl_display_roundtrip(g_wayland.display) < 0 || wl_display_roundtrip(g_wayland.display) < 0) {
        ReportError("Error", "the Wayland compositor went away", REPORT_EXCLAMATION);
        return false;
    }
    if (!g_wayland.compositor || !g_wayland.wmBase) {
        ReportError("Error", g_wayland.compositor ? "the Wayland compositor offers no xdg_wm_base (xdg-shell)"
                                                  : "the Wayland compositor offers no wl_compositor",
                    REPORT_EXCLAMATION);
        return false;
    }
    return true;
}

// What the loop does between reads: closes, shows to start or resize, focus, frames.
static void Tend() {
    if (g_wayland.focusLeft && FullScreen()) {
        g_wayland.focusLeft = false;
        // An enter on another surface of ours may follow the leave: anything sent so far is read first.
        wl_display_roundtrip(g_wayland.display);
        if (!g_wayland.keyboardFocus) PostCloseAll();
    }
    for (size_t i = 0; i < g_wayland.surfaces.size(); ++i) {
        WaylandSurface* surface = g_wayland.surfaces[i].get();
        if (surface->closePosted && !surface->destroyed) {
            surface->closePosted = false;
            if (surface->created) {
                SendToSurface(surface, SAVER_WM_CLOSE, 0, 0);
            } else {
                surface->closing = true;  // never shown: nothing for the core to end
                DefaultSaverProc(surface, SAVER_WM_CLOSE, 0, 0);
            }
        }
    }
    for (size_t i = 0; i < g_wayland.surfaces.size(); ++i) StartOrResize(g_wayland.surfaces[i].get());
    for (size_t i = 0; i < g_wayland.surfaces.size(); ++i) {
        WaylandSurface* surface = g_wayland.surfaces[i].get();
        if (surface->destroyed || !surface->timerRunning || !surface->frameDue) continue;
        surface->frameDue = false;
        SendToSurface(surface, SAVER_WM_TIMER, SAVER_FRAME_TIMER_ID, 0);
    }
    ReapSurfaces();
}

static bool Lost() {
    ReportError("Error", "the Wayland compositor went away", REPORT_EXCLAMATION);
    return false;
}

// Until the last surface is gone; false when the compositor went away.
static bool RunLoop(int signalDescriptor) {
    wl_display* display = g_wayland.display;
    while (!g_wayland.surfaces.empty()) {
        if (TakeSignals()) PostCloseAll();
        Tend();
        if (g_wayland.surfaces.empty()) break;
        bool busy = std::any_of(g_wayland.surfaces.begin(), g_wayland.surfaces.end(), [](const auto& s) {
            return s->closePosted || (s->frameDue && s->timerRunning && !s->destroyed);
        });
        while (wl_display_prepare_read(display) != 0)
            if (wl_display_dispatch_pending(display) < 0) return Lost();
        if (wl_display_flush(display) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(display);
            return Lost();
        }
        pollfd waits[2] = {{wl_display_get_fd(display), POLLIN, 0}, {signalDescriptor, POLLIN, 0}};
        poll(waits, 2, busy ? 0 : -1);
        if (waits[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (wl_display_read_events(display) < 0) return Lost();
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) return Lost();
    }
    return true;
}

int main(int argc, char** argv) {
    // Known by the name the user started, so "pkill -x vesperglow" ends the saver on either server.
    prctl(PR_SET_NAME, "vesperglow");
    std::string problem;
    OptionsResult chosen = ParseOptions(argc, argv, &g_wayland.options, &problem);
    if (chosen != OPTIONS_RUN) {
        ReportError("Error", chosen == OPTIONS_BAD || chosen == OPTIONS_UNKNOWN ? problem.c_str()
                                                                               : "vesperglow-wayland only shows the saver",
                    REPORT_EXCLAMATION);
        return 1;
    }
    HostMode mode = g_wayland.options.mode;
    if (mode != HOST_MODE_WINDOW && mode != HOST_MODE_FULLSCREEN) {
        ReportError("Error", "-root and -window-id draw on X11 only", REPORT_EXCLAMATION);
        return 1;
    }
    int signalDescriptor = SignalDescriptor();
    if (signalDescriptor < 0) {
        ReportError("Error", "cannot set up signal handling", REPORT_EXCLAMATION);
        return 1;
    }
    if (TakeSignals()) return 0;
    OpenSettingsStore();
    g_settings.Load();
    // What the options give wins for this run and is never saved. Compositors switch no display
    // modes, so a stored one stays for X11 and Windows.
    Settings& settings = g_wayland.settings;
    settings = g_settings;
    ApplySettingOptions(g_wayland.options.settings, &settings);
    settings.displayWidth = settings.displayHeight = settings.displayBits = 0;
    g_wayland.seed = g_wayland.options.seedGiven ? g_wayland.options.seed : uint32_t(std::time(nullptr));
    if (!Connect()) return 1;
    // Any desktop-GL window config at all; the shows ask for theirs as they start.
    if (!SetUpEgl(PixelFormatRequest{0, 0, 0})) return 1;
    if (FullScreen()) {
        for (auto& output : g_wayland.outputs)
            if (output->done) CreateSurface(output.get());
        if (g_wayland.surfaces.empty()) {
            ReportError("Error", "the Wayland compositor shows no output", REPORT_EXCLAMATION);
            return 1;
        }
    } else {
        CreateSurface(nullptr);
    }
    g_wayland.running = true;
    if (!RunLoop(signalDescriptor)) return 1;
    wl_display_disconnect(g_wayland.display);
    return g_wayland.exitCode;
}
