#pragma once
// The registry store writes only what differs from what the key holds: a key that policy makes
// read-only then costs nothing when its values are complete and valid. No windows.h here.
#include <cstdint>
#include <functional>

#include "settings/settings.h"

// Calls write(i) for every value i that is missing from the store or holds another number, even
// after one failed. The index of the first that failed, or -1.
int WriteChangedValues(const uint32_t stored[SETTINGS_VALUE_COUNT], const bool present[SETTINGS_VALUE_COUNT],
                       const uint32_t values[SETTINGS_VALUE_COUNT], const std::function<bool(int)>& write);
