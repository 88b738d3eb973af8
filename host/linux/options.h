#pragma once
#include <cstdint>
#include <string>

#include "host/linux/setting_options.h"

// The four ways the Linux program shows the saver (xscreensaver conventions).
enum HostMode {
    HOST_MODE_WINDOW,      // its own ordinary window, preview semantics
    HOST_MODE_ROOT,        // XSCREENSAVER_WINDOW or the (virtual) root, input belongs to the daemon
    HOST_MODE_WINDOW_ID,   // a preview inside someone else's window
    HOST_MODE_FULLSCREEN,  // a stand-alone full-screen saver with grabs and the stored display mode
};

// Which display server shows -window and -fullscreen: Wayland's when one answers, unless forced.
enum HostChoice { HOST_CHOICE_ANY, HOST_CHOICE_WAYLAND, HOST_CHOICE_X11 };

struct HostOptions {
    HostMode mode = HOST_MODE_WINDOW;
    HostChoice host = HOST_CHOICE_ANY;  // -wayland, -x11
    unsigned long windowId = 0;  // -window-id
    bool showFrameRate = false;  // -fps
    bool seedGiven = false;
    uint32_t seed = 0;
    SettingOverrides settings;  // this run only, never saved
};

enum OptionsResult {
    OPTIONS_RUN,
    OPTIONS_HELP,
    OPTIONS_VERSION,
    OPTIONS_CONFIG,   // the settings form instead of the show
    OPTIONS_ADD_TO_XSCREENSAVER,
    OPTIONS_UNKNOWN,  // an option this program does not have: problem names it, the usage follows
    OPTIONS_BAD,      // a known option with a bad or missing value: problem says which
};

extern const char HOST_USAGE[];

// -name and --name alike, as getopt_long_only reads them; argv may be reordered.
OptionsResult ParseOptions(int argc, char** argv, HostOptions* options, std::string* problem);

// An X window id as xscreensaver writes it: hexadecimal with 0x, or decimal. Zero is no window.
bool ParseWindowId(const char* text, unsigned long* id);
