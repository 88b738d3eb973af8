#include "host/linux/setting_options.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Users' ~/.xscreensaver files keep these names: never rename one. A switch is on as -name and
// off as -no-name.
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
// A switch's -no-name has its -name's code plus this.
const int SETTING_OPTION_OFF = 128;

static int SettingIndex(const SettingOption& option) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        if (std::strcmp(SETTINGS_VALUES[i].name, option.settingName) == 0) return i;
    return -1;
}

void AppendSettingOptions(std::vector<option>* options) {
    for (int i = 0; i < SETTING_OPTION_COUNT; ++i) {
        const SettingOption& setting = SETTING_OPTIONS[i];
        options->push_back(
            {setting.name, setting.offName ? no_argument : required_argument, nullptr, SETTING_OPTION_CODES + i});
        if (setting.offName)
            options->push_back({setting.offName, no_argument, nullptr, SETTING_OPTION_CODES + SETTING_OPTION_OFF + i});
    }
}

bool ParseUnsigned32(const char* text, uint32_t* value) {
    if (!std::isdigit(static_cast<unsigned char>(text[0]))) return false;
    errno = 0;
    char* end = nullptr;
    unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > UINT32_MAX) return false;
    *value = uint32_t(parsed);
    return true;
}

bool TakeSettingOption(int code, const char* text, SettingOverrides* overrides, std::string* problem) {
    bool off = code >= SETTING_OPTION_CODES + SETTING_OPTION_OFF;
    const SettingOption& option = SETTING_OPTIONS[code - SETTING_OPTION_CODES - (off ? SETTING_OPTION_OFF : 0)];
    int index = SettingIndex(option);
    if (option.offName) {
        overrides->given[index] = true;
        overrides->value[index] = off ? 0 : 1;
        return true;
    }
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
    overrides->given[index] = true;
    overrides->value[index] = number;
    return true;
}

std::string SettingOptionsUsage(const char* heading) {
    std::string usage = heading;
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

void ApplySettingOptions(const SettingOverrides& overrides, Settings* settings) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        if (overrides.given[i]) settings->*SETTINGS_VALUES[i].field = overrides.value[i];
}
