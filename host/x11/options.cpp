#include "host/x11/options.h"

#include <getopt.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

const char HOST_USAGE[] =
    "usage: vesperglow [-window | -root | -window-id ID | -fullscreen] [-fps] [-seed N]\n"
    "                  [setting options] [-config] [-add-to-xscreensaver] [-help] [-version]\n"
    "  -window        the show in a window of its own (the default)\n"
    "  -root          draw into $XSCREENSAVER_WINDOW or the root window\n"
    "  -window-id ID  draw inside the existing window ID (0x... or decimal)\n"
    "  -fullscreen    a full-screen saver that ends on input\n"
    "  -fps           keep the frame-rate display on\n"
    "  -seed N        a reproducible show\n"
    "  -config        the settings form; exit code 1 after OK, 0 after Cancel\n"
    "  -add-to-xscreensaver  add \"GL: vesperglow --root\" to your ~/.xscreensaver list\n"
    "Every option may also be written with two dashes.\n";

// The settings xscreensaver's panel offers, one option each. Users' ~/.xscreensaver files keep
// these names: never rename one. A switch is on as -name and off as -no-name.
struct SettingOption {
    const char* name;
    const char* settingName;  // as in SETTINGS_VALUES, which gives the range
    const char* offName;      // a switch's -no-name; null for a number
    const char* what;
};

static const SettingOption SETTING_OPTIONS[] = {
    {"frequency", "Frequency", nullptr, "fireworks per minute"},
    {"stars", "Stars", nullptr, "stars in the sky, none to lots"},
    {"spherical", "Spherical Weight", nullptr, "how often Spherical bursts come"},
    {"blast", "Blast Weight", nullptr, "how often Blasts come"},
    {"weeping-willow", "Weeping Willow Weight", nullptr, "how often Weeping Willows come"},
    {"sparkling", "Sparkling Weight", nullptr, "how often Sparkling bursts come"},
    {"chain-reaction", "Chain Reaction Weight", nullptr, "how often Chain Reactions come"},
    {"cork-screw", "Cork Screw Weight", nullptr, "how often Cork Screws come"},
    {"waver", "Waver Weight", nullptr, "how often Wavers come"},
    {"twilight", "Twilight Sky", "no-twilight", "the twilight sky"},
    {"display-title", "Display Vesperglow", "no-display-title", "the opening title"},
};
const int SETTING_OPTION_COUNT = int(sizeof SETTING_OPTIONS / sizeof SETTING_OPTIONS[0]);

static int SettingIndex(const SettingOption& option) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        if (std::strcmp(SETTINGS_VALUES[i].name, option.settingName) == 0) return i;
    return -1;
}

std::string SettingOptionsUsage() {
    std::string usage = "These set one setting for this run only, over the settings file:\n";
    for (const SettingOption& option : SETTING_OPTIONS) {
        const SettingsValue& value = SETTINGS_VALUES[SettingIndex(option)];
        char name[48];
        char line[160];
        if (option.offName) {
            std::snprintf(name, sizeof name, "-%s, -%s", option.name, option.offName);
            std::snprintf(line, sizeof line, "  %-35s %s on or off\n", name, option.what);
        } else {
            std::snprintf(name, sizeof name, "-%s N", option.name);
            std::snprintf(line, sizeof line, "  %-35s %s (%u to %u)\n", name, option.what, unsigned(value.minimum),
                          unsigned(value.maximum));
        }
        usage += line;
    }
    return usage;
}

void ApplySettingOptions(const HostOptions& options, Settings* settings) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        if (options.settingGiven[i]) settings->*SETTINGS_VALUES[i].field = options.settingValue[i];
}

static bool ParseUnsigned32(const char* text, uint32_t* value) {
    if (!std::isdigit(static_cast<unsigned char>(text[0]))) return false;
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

// A setting's number must lie in the range the settings file would accept.
static bool TakeSettingNumber(const SettingOption& option, const char* text, HostOptions* options,
                              std::string* problem) {
    int index = SettingIndex(option);
    const SettingsValue& range = SETTINGS_VALUES[index];
    uint32_t number = 0;
    char bounds[48];
    std::snprintf(bounds, sizeof bounds, "a number from %u to %u", unsigned(range.minimum), unsigned(range.maximum));
    if (!text) {
        *problem = std::string("-") + option.name + " needs " + bounds;
        return false;
    }
    if (!ParseUnsigned32(text, &number) || number < range.minimum || number > range.maximum) {
        *problem = std::string("bad value \"") + text + "\" for -" + option.name + ": give " + bounds;
        return false;
    }
    options->settingGiven[index] = true;
    options->settingValue[index] = number;
    return true;
}

enum OptionCode { OPTION_WINDOW = 256, OPTION_ROOT, OPTION_WINDOW_ID, OPTION_FULLSCREEN, OPTION_FPS, OPTION_SEED,
                  OPTION_CONFIG, OPTION_ADD_TO_XSCREENSAVER, OPTION_HELP, OPTION_VERSION,
                  OPTION_SETTING = 512,                                // + the index in SETTING_OPTIONS
                  OPTION_SETTING_OFF = OPTION_SETTING + 128 };         // -no-name of a switch

// Each option once, as xscreensaver's hacks take them: one dash or two, or any unambiguous prefix.
static const option HOST_OPTIONS[] = {
    {"window", no_argument, nullptr, OPTION_WINDOW},
    {"root", no_argument, nullptr, OPTION_ROOT},
    {"window-id", required_argument, nullptr, OPTION_WINDOW_ID},
    {"fullscreen", no_argument, nullptr, OPTION_FULLSCREEN},
    {"fps", no_argument, nullptr, OPTION_FPS},
    {"seed", required_argument, nullptr, OPTION_SEED},
    {"config", no_argument, nullptr, OPTION_CONFIG},
    {"add-to-xscreensaver", no_argument, nullptr, OPTION_ADD_TO_XSCREENSAVER},
    {"help", no_argument, nullptr, OPTION_HELP},
    {"h", no_argument, nullptr, OPTION_HELP},
    {"version", no_argument, nullptr, OPTION_VERSION},
};

// The fixed options, then one per setting (and -no-name per switch), from SETTING_OPTIONS.
static std::vector<option> AllOptions() {
    std::vector<option> all(std::begin(HOST_OPTIONS), std::end(HOST_OPTIONS));
    for (int i = 0; i < SETTING_OPTION_COUNT; ++i) {
        const SettingOption& setting = SETTING_OPTIONS[i];
        all.push_back({setting.name, setting.offName ? no_argument : required_argument, nullptr, OPTION_SETTING + i});
        if (setting.offName) all.push_back({setting.offName, no_argument, nullptr, OPTION_SETTING_OFF + i});
    }
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
        if (code >= OPTION_SETTING) {
            bool off = code >= OPTION_SETTING_OFF;
            const SettingOption& setting = SETTING_OPTIONS[code - (off ? OPTION_SETTING_OFF : OPTION_SETTING)];
            if (!setting.offName) {
                if (!TakeSettingNumber(setting, value, options, problem)) return OPTIONS_BAD;
                continue;
            }
            options->settingGiven[SettingIndex(setting)] = true;
            options->settingValue[SettingIndex(setting)] = off ? 0 : 1;
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
            if (optopt >= OPTION_SETTING && optopt < OPTION_SETTING_OFF &&
                !SETTING_OPTIONS[optopt - OPTION_SETTING].offName) {
                TakeSettingNumber(SETTING_OPTIONS[optopt - OPTION_SETTING], nullptr, options, problem);
                return OPTIONS_BAD;
            }
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
    return OPTIONS_RUN;
}
