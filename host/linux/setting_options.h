#pragma once
// The setting options of the Linux programs, as xscreensaver's panel passes them to the saver:
// -frequency N, -stars N, a weight per burst kind, -twilight / -no-twilight and -display-title /
// -no-display-title. Each holds for one run and is never saved.
#include <getopt.h>

#include <cstdint>
#include <string>
#include <vector>

#include "settings/settings.h"

struct SettingOverrides {
    bool given[SETTINGS_VALUE_COUNT] = {};
    uint32_t value[SETTINGS_VALUE_COUNT] = {};
};

// getopt codes from here up belong to the setting options.
const int SETTING_OPTION_CODES = 512;

// Adds one entry per setting, and -no-name for each switch.
void AppendSettingOptions(std::vector<option>* options);

// An option AppendSettingOptions added; a null value is a missing one. False, with the problem,
// for a value outside the range the settings file would accept.
bool TakeSettingOption(int code, const char* value, SettingOverrides* overrides, std::string* problem);

// The usage lines of the setting options, with their ranges from the settings table, under a heading.
std::string SettingOptionsUsage(const char* heading);

void ApplySettingOptions(const SettingOverrides& overrides, Settings* settings);

// Decimal digits only, up to 2^32 - 1: no sign, space or base prefix.
bool ParseUnsigned32(const char* text, uint32_t* value);
