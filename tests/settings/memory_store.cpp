#include "tests/settings/memory_store.h"

#include "settings/settings_store.h"

void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        auto stored = key->values.find(SETTINGS_VALUES[i].name);
        present[i] = stored != key->values.end();
        values[i] = present[i] ? stored->second : 0;
    }
}

void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT],
                       bool written[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const char* name = SETTINGS_VALUES[i].name;
        key->writes.push_back(name);
        written[i] = key->failing.count(name) == 0;
        if (written[i]) key->values[name] = values[i];
    }
}
