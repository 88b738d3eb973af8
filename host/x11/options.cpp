#include "host/x11/options.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <cstring>

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
    bool isSwitch;
    const char* what;
};

static const SettingOption SETTING_OPTIONS[] = {
    {"frequency", "Frequency", false, "fireworks per minute"},
    {"stars", "Stars", false, "stars in the sky, none to lots"},
    {"spherical", "Spherical Weight", false, "how often Spherical bursts come"},
    {"blast", "Blast Weight", false, "how often Blasts come"},
    {"weeping-willow", "Weeping Willow Weight", false, "how often Weeping Willows come"},
    {"sparkling", "Sparkling Weight", false, "how often Sparkling bursts come"},
    {"chain-reaction", "Chain Reaction Weight", false, "how often Chain Reactions come"},
    {"cork-screw", "Cork Screw Weight", false, "how often Cork Screws come"},
    {"waver", "Waver Weight", false, "how often Wavers come"},
    {"twilight", "Twilight Sky", true, "the twilight sky"},
    {"display-title", "Display Vesperglow", true, "the opening title"},
};

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
        if (option.isSwitch) {
            std::snprintf(name, sizeof name, "-%s, -no-%s", option.name, option.name);
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

// The setting option the argument names, or null; *switchValue is what a switch sets.
static const SettingOption* FindSettingOption(const char* argument, uint32_t* switchValue) {
    for (const SettingOption& option : SETTING_OPTIONS) {
        *switchValue = 1;
        if (IsOption(argument, option.name)) return &option;
        *switchValue = 0;
        if (option.isSwitch && IsOption(argument, (std::string("no-") + option.name).c_str())) return &option;
    }
    return nullptr;
}

// A number must lie in the range the settings file would accept.
static bool TakeSettingNumber(const SettingOption& option, const char* text, HostOptions* options,
                              std::string* problem) {
    int index = SettingIndex(option);
    const SettingsValue& range = SETTINGS_VALUES[index];
    uint32_t number = 0;
    if (!ParseUnsigned32(text, &number) || number < range.minimum || number > range.maximum) {
        char bounds[48];
        std::snprintf(bounds, sizeof bounds, "a number from %u to %u", unsigned(range.minimum), unsigned(range.maximum));
        *problem = text ? std::string("bad value \"") + text + "\" for -" + option.name + ": give " + bounds
                        : std::string("-") + option.name + " needs " + bounds;
        return false;
    }
    options->settingGiven[index] = true;
    options->settingValue[index] = number;
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

OptionsResult ParseOptions(int argc, const char* const* argv, HostOptions* options, std::string* problem) {
    bool modeGiven = false;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (IsOption(argument, "help") || IsOption(argument, "h")) return OPTIONS_HELP;
        if (IsOption(argument, "version")) return OPTIONS_VERSION;
        if (IsOption(argument, "config")) return OPTIONS_CONFIG;
        if (IsOption(argument, "add-to-xscreensaver")) return OPTIONS_ADD_TO_XSCREENSAVER;
        uint32_t switchValue = 0;
        const SettingOption* setting = FindSettingOption(argument, &switchValue);
        if (setting && setting->isSwitch) {
            int index = SettingIndex(*setting);
            options->settingGiven[index] = true;
            options->settingValue[index] = switchValue;
        } else if (setting) {
            if (!TakeSettingNumber(*setting, value, options, problem)) return OPTIONS_BAD;
            ++i;
        } else if (IsOption(argument, "window")) {
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
