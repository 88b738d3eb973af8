// vesperglow: the saver as an X11 program, following xscreensaver's conventions.
#include <GL/glx.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <string>

#include "host/x11/event_loop.h"
#include "host/linux/options.h"
#include "host/x11/monitors.h"
#include "host/x11/settings_form_gtk.h"
#include "host/linux/signals.h"
#include "host/x11/window_setup.h"
#include "host/x11/x11_host.h"
#include "host/x11/wayland_choice.h"
#include "host/x11/x_errors.h"
#include "host/linux/keyfile_store.h"
#include "seam/platform.h"
#include "seam/version.h"
#include "host/x11/xscreensaver_list.h"

X11Host g_x11;

static bool OpenDisplay() {
    g_x11.display = XOpenDisplay(nullptr);
    if (!g_x11.display) {
        const char* name = XDisplayName(nullptr);
        std::string text = "no display (DISPLAY is not set)";
        if (*name) text = std::string("cannot open display \"") + name + "\"";
        ReportError("Error", text.c_str(), REPORT_EXCLAMATION);
        return false;
    }
    g_x11.displayName = DisplayString(g_x11.display);
    g_x11.screen = DefaultScreen(g_x11.display);
    return true;
}

static void SendInitialSize() {
    XWindowAttributes attributes;
    BeginErrorTrap();
    Status found = XGetWindowAttributes(g_x11.display, g_x11.window, &attributes);
    if (!EndErrorTrap(g_x11.display) && found) SendSizeIfChanged(attributes.width, attributes.height);
}

// The sequence CreateWindowEx gives a Windows saver: WM_NCCREATE, WM_CREATE with the parent in
// the creation parameters, then the size.
static void CreateSaverWindow() {
    const HostOptions& options = g_x11.options;
    // What the options give wins for this run and is never saved.
    Settings settings = g_settings;
    ApplySettingOptions(options.settings, &settings);
    SaverShowRequest request = {&settings, options.seedGiven, options.seed, options.showFrameRate,
                                DrawingWindowMonitorIndex()};
    SaverCreateParams params = {};
    params.createParams = &request;
    params.parent = PreviewParent();
    SaverLParam lParam = reinterpret_cast<SaverLParam>(&params);
    HostWindowProc(SAVER_WM_NCCREATE, 0, lParam);
    HostWindowProc(SAVER_WM_CREATE, 0, lParam);
    // A set-up step that failed has said so; without a context nothing would ever show.
    if (!glXGetCurrentContext()) HostFatalExit(1);
    SendInitialSize();
}

int main(int argc, char** argv) {
    std::string problem;
    OptionsResult chosen = ParseOptions(argc, argv, &g_x11.options, &problem);
    switch (chosen) {
    case OPTIONS_HELP:
        std::fputs(HOST_USAGE, stdout);
        std::fputs(SettingOptionsUsage("These set one setting for this run only, over the settings file:\n").c_str(), stdout);
        return 0;
    case OPTIONS_VERSION:
        std::printf("vesperglow %s\n", VESPERGLOW_VERSION);
        return 0;
    case OPTIONS_ADD_TO_XSCREENSAVER:
        return AddToUsersXscreensaverList();
    case OPTIONS_UNKNOWN:
        ReportError("Error", problem.c_str(), REPORT_EXCLAMATION);
        std::fputs(HOST_USAGE, stderr);
        return 1;
    case OPTIONS_BAD:
        ReportError("Error", problem.c_str(), REPORT_EXCLAMATION);
        return 1;
    case OPTIONS_CONFIG:
    case OPTIONS_RUN:
        break;
    }
    int signalDescriptor = SignalDescriptor();
    if (signalDescriptor < 0) {
        ReportError("Error", "cannot set up signal handling", REPORT_EXCLAMATION);
        return 1;
    }
    // Asked to end before anything was shown: nothing to close, and no settings touched.
    if (TakeSignals()) return 0;
    if (chosen == OPTIONS_RUN && ChoosesWayland(g_x11.options)) {
        RunWaylandProgram(argv);
        return 1;
    }
    OpenSettingsStore();
    if (chosen == OPTIONS_CONFIG) return RunSettingsForm(signalDescriptor);
    // The window's visual follows the settings (its depth buffer), so they are read before it is made.
    g_settings.Load();
    InstallXErrorHandlers();
    if (!OpenDisplay()) return 1;
    if (!SetUpWindow()) return 1;
    WatchScreenLayout();
    PaceToOutput();
    // Held keys repeat as presses alone, as on Windows, so F1 and F2 stay down while held.
    XkbSetDetectableAutoRepeat(g_x11.display, True, nullptr);
    CreateSaverWindow();
    int exitCode = RunEventLoop(signalDescriptor);
    HostRestoreDisplayMode();
    XCloseDisplay(g_x11.display);
    return exitCode;
}
