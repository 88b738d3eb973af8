#pragma once
// What each platform's store offers the load and save rules of Settings. Both work on every value
// of SETTINGS_VALUES at once, index for index, so a file-backed store can read and write it whole.
#include <cstdint>

#include "settings/settings.h"

// present[i] is false when value i is missing or is not a 32-bit unsigned number.
void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]);

// Stores every value that differs from what the store holds and reports what did not reach it in
// one message: the registry names the first value that failed, the key file the file and the reason.
void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT]);
