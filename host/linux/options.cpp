#include "host/linux/options.h"

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

const char HOST_USAGE[] =
    "usage: vesperglow [-window | -root | -window-id ID | -fullscreen] [-wayland | -x11]\n"
    "                  [-fps] [-seed N] [setting options]\n"
    "                  [-config] [-add-to-xscreensaver] [-help] [-version]\n"
    "  -window        the show in a window of its own (the default)\n"
    "  -root          draw into $XSCREENSAVER_WINDOW or the root window\n"
    "  -window-id ID  draw inside the existing window ID (0x... or decimal)\n"
    "  -fullscreen    a full-screen saver that ends on input\n"
    "  -wayland, -x11 force the display server of -window and -fullscreen (by default Wayland\n"
    "                 when WAYLAND_DISPLAY answers, else X11)\n"
    "  -fps           keep the frame-rate display on\n"
    "  -seed N        a reproducible show\n"
    "  -config        the settings form; exit code 1 after OK, 0 after Cancel\n"
    "  -add-to-xscreensaver  add \"GL: vesperglow --root\" to your ~/.xscreensaver list\n"
    "Every option may also be written with two dashes.\n";

bool ParseWindowId(const char* text, unsigned long* id) {
    if (!text) return false;
    int base = 10;
    const char* digits = text;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits = text + 2;
    }
    // strtoul alone would take signs, spaces and octal.
    for (const char* c = digits; *c; ++c) {
        unsigned char digit = static_cast<unsigned char>(*c);
        if (!(base == 16 ? std::isxdigit(digit) : std::isdigit(digit))) return false;
    }
    if (*digits == '\0') return false;
    errno = 0;
    unsigned long long parsed = std::strtoull(digits, nullptr, base);
    if (errno != 0 || parsed == 0 || parsed > UINT32_MAX) return false;
    *id = static_cast<unsigned long>(parsed);
    return true;
}

static bool SetMode(HostOptions* options, bool* modeGiven, HostMode mode, std::string* problem) {
    // xscreensaver's settings panel previews a hack by adding -window-id to its -root command: the
    // window id wins, as in xscreensaver's own hacks.
    bool rootAndWindowId = (options->mode == HOST_MODE_ROOT || options->mode == HOST_MODE_WINDOW_ID) &&
                           (mode == HOST_MODE_ROOT || mode == HOST_MODE_WINDOW_ID);
    if (*modeGiven && options->mode != mode && !rootAndWindowId) {
        *problem = "choose only one of -window, -root, -window-id and -fullscreen";
        return false;
    }
    if (options->mode != HOST_MODE_WINDOW_ID) options->mode = mode;
    *modeGiven = true;
    return true;
}

enum OptionCode { OPTION_WINDOW = 256, OPTION_ROOT, OPTION_WINDOW_ID, OPTION_FULLSCREEN, OPTION_FPS, OPTION_SEED,
                  OPTION_WAYLAND, OPTION_X11, OPTION_CONFIG, OPTION_ADD_TO_XSCREENSAVER, OPTION_HELP,
                  OPTION_VERSION };

// Each option once, as xscreensaver's hacks take them: one dash or two, or any unambiguous prefix.
static const option HOST_OPTIONS[] = {
    {"window", no_argument, nullptr, OPTION_WINDOW},
    {"root", no_argument, nullptr, OPTION_ROOT},
    {"window-id", required_argument, nullptr, OPTION_WINDOW_ID},
    {"fullscreen", no_argument, nullptr, OPTION_FULLSCREEN},
    {"wayland", no_argument, nullptr, OPTION_WAYLAND},
    {"x11", no_argument, nullptr, OPTION_X11},
    {"fps", no_argument, nullptr, OPTION_FPS},
    {"seed", required_argument, nullptr, OPTION_SEED},
    {"config", no_argument, nullptr, OPTION_CONFIG},
    {"add-to-xscreensaver", no_argument, nullptr, OPTION_ADD_TO_XSCREENSAVER},
    {"help", no_argument, nullptr, OPTION_HELP},
    {"h", no_argument, nullptr, OPTION_HELP},
    {"version", no_argument, nullptr, OPTION_VERSION},
};

// The fixed options, then the setting options.
static std::vector<option> AllOptions() {
    std::vector<option> all(std::begin(HOST_OPTIONS), std::end(HOST_OPTIONS));
    AppendSettingOptions(&all);
    all.push_back({nullptr, 0, nullptr, 0});
    return all;
}

OptionsResult ParseOptions(int argc, char** argv, HostOptions* options, std::string* problem) {
    static const std::vector<option> allOptions = AllOptions();
    bool modeGiven = false;
    optind = 0;  // start afresh: getopt keeps its place between calls
    opterr = 0;  // the problems are worded here
    // No short options at all, not even ':': getopt then never stops inside an element, so the one a
    // problem is about is always the last it took.
    for (int code; (code = getopt_long_only(argc, argv, "", allOptions.data(), nullptr)) != -1;) {
        const char* value = optarg;
        if (code >= SETTING_OPTION_CODES) {
            if (!TakeSettingOption(code, value, &options->settings, problem)) return OPTIONS_BAD;
            continue;
        }
        switch (code) {
        case OPTION_HELP:
            return OPTIONS_HELP;
        case OPTION_VERSION:
            return OPTIONS_VERSION;
        case OPTION_CONFIG:
            return OPTIONS_CONFIG;
        case OPTION_ADD_TO_XSCREENSAVER:
            return OPTIONS_ADD_TO_XSCREENSAVER;
        case OPTION_WINDOW:
        case OPTION_ROOT:
        case OPTION_FULLSCREEN: {
            HostMode mode = code == OPTION_ROOT ? HOST_MODE_ROOT
                            : code == OPTION_FULLSCREEN ? HOST_MODE_FULLSCREEN : HOST_MODE_WINDOW;
            if (!SetMode(options, &modeGiven, mode, problem)) return OPTIONS_BAD;
            break;
        }
        case OPTION_WINDOW_ID: {
            unsigned long id = 0;
            if (!ParseWindowId(value, &id)) {
                *problem = std::string("bad window id \"") + value + "\"";
                return OPTIONS_BAD;
            }
            if (modeGiven && options->mode == HOST_MODE_WINDOW_ID && options->windowId != id) {
                *problem = "-window-id given twice";
                return OPTIONS_BAD;
            }
            if (!SetMode(options, &modeGiven, HOST_MODE_WINDOW_ID, problem)) return OPTIONS_BAD;
            options->windowId = id;
            break;
        }
        case OPTION_WAYLAND:
        case OPTION_X11: {
            HostChoice host = code == OPTION_WAYLAND ? HOST_CHOICE_WAYLAND : HOST_CHOICE_X11;
            if (options->host != HOST_CHOICE_ANY && options->host != host) {
                *problem = "choose only one of -wayland and -x11";
                return OPTIONS_BAD;
            }
            options->host = host;
            break;
        }
        case OPTION_FPS:
            options->showFrameRate = true;
            break;
        case OPTION_SEED:
            if (!ParseUnsigned32(value, &options->seed)) {
                *problem = std::string("bad seed \"") + value + "\"";
                return OPTIONS_BAD;
            }
            options->seedGiven = true;
            break;
        default:
            // optopt names an option whose value is missing (or that was given one it takes none).
            if (optopt >= SETTING_OPTION_CODES && !TakeSettingOption(optopt, nullptr, &options->settings, problem))
                return OPTIONS_BAD;
            if (optopt == OPTION_WINDOW_ID || optopt == OPTION_SEED) {
                *problem = std::string(argv[optind - 1]) + " needs a value";
                return OPTIONS_BAD;
            }
            *problem = std::string("unknown option \"") + argv[optind - 1] + "\"";
            return OPTIONS_UNKNOWN;
        }
    }
    if (optind < argc) {
        *problem = std::string("unknown option \"") + argv[optind] + "\"";
        return OPTIONS_UNKNOWN;
    }
    // xscreensaver's windows are X windows.
    bool xscreensaverMode = options->mode == HOST_MODE_ROOT || options->mode == HOST_MODE_WINDOW_ID;
    if (options->host == HOST_CHOICE_WAYLAND && xscreensaverMode) {
        *problem = "-root and -window-id draw on X11 only: -wayland does not go with them";
        return OPTIONS_BAD;
    }
    return OPTIONS_RUN;
}
