#include <cstdio>

#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

void Settings::Load() {
    uint32_t stored[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT];
    ReadStoredValues(key, stored, present);

    bool changed = false;
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        // Unsigned comparisons: a negative number stored by another tool lies above every maximum.
        bool accepted = present[i] && (!value.ranged || (stored[i] >= value.minimum && stored[i] <= value.maximum));
        this->*value.field = accepted ? stored[i] : value.defaultValue;
        if (!accepted) changed = true;
    }

    // A display mode is all three values or "Same as Desktop". The stored 0/0/0 counts as a change
    // too, so a load with the desktop's mode always writes the record back.
    if (displayWidth == 0 || displayHeight == 0 || displayBits == 0) {
        displayWidth = 0;
        displayHeight = 0;
        displayBits = 0;
        changed = true;
    }

    if (changed) Save();
}

void Settings::Save() {
    uint32_t values[SETTINGS_VALUE_COUNT];
    bool written[SETTINGS_VALUE_COUNT];
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) values[i] = this->*SETTINGS_VALUES[i].field;
    WriteStoredValues(key, values, written);

    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        if (written[i]) continue;
        char text[96];
        std::snprintf(text, sizeof text, "Could Not Write '%s' To Registry", SETTINGS_VALUES[i].name);
        ReportError("Error", text, REPORT_PLAIN);
    }
}
