// The stored-value rules, Settings::Load over a store fed from the input (17 times a presence byte
// and a 32-bit value): a value in range stays and anything else takes its default; a mode is all
// three values or none; the load writes back exactly when it changed something, and a second load
// finds the same record.
#include <cstring>

#include "settings/settings.h"
#include "settings/settings_store.h"
#include "tests/fuzz/fuzz.h"

namespace {

uint32_t s_values[SETTINGS_VALUE_COUNT];
bool s_present[SETTINGS_VALUE_COUNT];
int s_writes = 0;

}  // namespace

void ReadStoredValues(SettingsKey*, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    std::memcpy(values, s_values, sizeof s_values);
    std::memcpy(present, s_present, sizeof s_present);
}

void WriteStoredValues(SettingsKey*, const uint32_t values[SETTINGS_VALUE_COUNT]) {
    ++s_writes;
    std::memcpy(s_values, values, sizeof s_values);
    for (bool& present : s_present) present = true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    uint8_t input[SETTINGS_VALUE_COUNT * 5] = {};
    std::memcpy(input, data, size < sizeof input ? size : sizeof input);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        s_present[i] = input[5 * i] & 1;
        std::memcpy(&s_values[i], input + 5 * i + 1, 4);
    }
    bool mode = true;
    for (int i = 1; i <= 3; ++i) mode = mode && s_present[i] && s_values[i] != 0;
    uint32_t stored[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT];
    ReadStoredValues(nullptr, stored, present);
    s_writes = 0;
    Settings settings;
    settings.Load();
    bool changed = !mode;
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        bool kept = present[i] && (!value.ranged || (stored[i] >= value.minimum && stored[i] <= value.maximum));
        if (!value.ranged) kept = mode;
        changed = changed || !kept;
        FUZZ_CHECK(settings.*value.field == (kept ? stored[i] : value.ranged ? value.defaultValue : 0));
    }
    FUZZ_CHECK(s_writes == (changed ? 1 : 0));
    Settings again;
    again.Load();
    for (const SettingsValue& value : SETTINGS_VALUES) FUZZ_CHECK(again.*value.field == settings.*value.field);
    return 0;
}
