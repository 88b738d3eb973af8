#pragma once
// What each platform's store offers the load and save rules of Settings. Both work on every value
// of SETTINGS_VALUES at once, index for index, so a file-backed store can read and write it whole.
#include <cstdint>

#include "settings/settings.h"

// present[i] is false when value i is missing or is not a 32-bit unsigned number.
void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]);

// Writes every value in table order and reports what did not reach the store: the registry one
// message per value, the key file one message naming the file and the system's reason.
void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT]);
