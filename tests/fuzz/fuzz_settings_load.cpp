// The stored-value rules: Settings::Load over a store fed from the input (per value a presence
// byte and four value bytes). A value in range stays, anything else takes its default, a mode is
// all three values or none, the load writes back exactly when it changed something, and loading
// again gives the same record.
#include <algorithm>
#include <cstring>

#include "settings/settings_store.h"
#include "tests/fuzz/fuzz.h"

static uint32_t s_values[SETTINGS_VALUE_COUNT];
static bool s_present[SETTINGS_VALUE_COUNT];
static int s_writes = 0;

void ReadStoredValues(SettingsKey*, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    std::memcpy(values, s_values, sizeof s_values);
    std::memcpy(present, s_present, sizeof s_present);
}

void WriteStoredValues(SettingsKey*, const uint32_t values[SETTINGS_VALUE_COUNT]) {
    ++s_writes;
    std::memcpy(s_values, values, sizeof s_values);
    std::memset(s_present, true, sizeof s_present);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t input[SETTINGS_VALUE_COUNT * 5] = {};
    std::memcpy(input, data, std::min(size, sizeof input));
    uint32_t stored[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT], mode = true, changed = false;
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        present[i] = s_present[i] = input[5 * i] & 1;
        std::memcpy(&stored[i], input + 5 * i + 1, 4);
        s_values[i] = stored[i];
        if (!SETTINGS_VALUES[i].ranged) mode = mode && present[i] && stored[i] != 0;
    }
    s_writes = 0;
    Settings settings, again;
    settings.Load();
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        bool kept = value.ranged ? present[i] && stored[i] >= value.minimum && stored[i] <= value.maximum : mode;
        changed = changed || !kept;
        FUZZ_CHECK(settings.*value.field == (kept ? stored[i] : value.ranged ? value.defaultValue : 0));
    }
    FUZZ_CHECK(s_writes == int(changed));
    again.Load();
    for (const SettingsValue& value : SETTINGS_VALUES) FUZZ_CHECK(again.*value.field == settings.*value.field);
    return 0;
}
