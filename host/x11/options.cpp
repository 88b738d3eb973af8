#include "host/x11/options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>

const char HOST_USAGE[] =
    "usage: vesperglow [-window | -root | -window-id ID | -fullscreen] [-fps] [-seed N]\n"
    "                  [-config] [-help] [-version]\n"
    "  -window        the show in a window of its own (the default)\n"
    "  -root          draw into $XSCREENSAVER_WINDOW or the root window\n"
    "  -window-id ID  draw inside the existing window ID (0x... or decimal)\n"
    "  -fullscreen    a full-screen saver that ends on input\n"
    "  -fps           keep the frame-rate display on\n"
    "  -seed N        a reproducible show\n"
    "  -config        the settings form; exit code 1 after OK, 0 after Cancel\n"
    "Every option may also be written with two dashes.\n";

static bool ParseUnsigned32(const char* text, uint32_t* value) {
    if (!text || !std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > UINT32_MAX) return false;
    *value = uint32_t(parsed);
    return true;
}

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

// Accepts -name and --name.
static bool IsOption(const char* argument, const char* name) {
    if (argument[0] != '-') return false;
    const char* rest = argument[1] == '-' ? argument + 2 : argument + 1;
    return std::strcmp(rest, name) == 0;
}

static bool SetMode(HostOptions* options, bool* modeGiven, HostMode mode, std::string* problem) {
    if (*modeGiven && options->mode != mode) {
        *problem = "choose only one of -window, -root, -window-id and -fullscreen";
        return false;
    }
    options->mode = mode;
    *modeGiven = true;
    return true;
}

OptionsResult ParseOptions(int argc, const char* const* argv, HostOptions* options, std::string* problem) {
    bool modeGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (IsOption(argument, "help") || IsOption(argument, "h")) return OPTIONS_HELP;
        if (IsOption(argument, "version")) return OPTIONS_VERSION;
        if (IsOption(argument, "config")) return OPTIONS_CONFIG;
        if (IsOption(argument, "window")) {
            if (!SetMode(options, &modeGiven, HOST_MODE_WINDOW, problem)) return OPTIONS_BAD;
        } else if (IsOption(argument, "root")) {
            if (!SetMode(options, &modeGiven, HOST_MODE_ROOT, problem)) return OPTIONS_BAD;
        } else if (IsOption(argument, "fullscreen")) {
            if (!SetMode(options, &modeGiven, HOST_MODE_FULLSCREEN, problem)) return OPTIONS_BAD;
        } else if (IsOption(argument, "window-id")) {
            unsigned long id = 0;
            if (!ParseWindowId(value, &id)) {
                *problem = value ? std::string("bad window id \"") + value + "\"" : "-window-id needs a window id";
                return OPTIONS_BAD;
            }
            if (modeGiven && options->mode == HOST_MODE_WINDOW_ID && options->windowId != id) {
                *problem = "-window-id given twice";
                return OPTIONS_BAD;
            }
            if (!SetMode(options, &modeGiven, HOST_MODE_WINDOW_ID, problem)) return OPTIONS_BAD;
            options->windowId = id;
            ++i;
        } else if (IsOption(argument, "fps")) {
            options->showFrameRate = true;
        } else if (IsOption(argument, "seed")) {
            if (!ParseUnsigned32(value, &options->seed)) {
                *problem = value ? std::string("bad seed \"") + value + "\"" : "-seed needs a number";
                return OPTIONS_BAD;
            }
            options->seedGiven = true;
            ++i;
        } else {
            *problem = std::string("unknown option \"") + argument + "\"";
            return OPTIONS_UNKNOWN;
        }
    }
    return OPTIONS_RUN;
}
