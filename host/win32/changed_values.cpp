#include "host/win32/changed_values.h"

int WriteChangedValues(const uint32_t stored[SETTINGS_VALUE_COUNT], const bool present[SETTINGS_VALUE_COUNT],
                       const uint32_t values[SETTINGS_VALUE_COUNT], const std::function<bool(int)>& write) {
    int firstFailed = -1;
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        if (present[i] && stored[i] == values[i]) continue;
        if (!write(i) && firstFailed < 0) firstFailed = i;
    }
    return firstFailed;
}
