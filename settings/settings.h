#pragma once
#include <cstdint>

// Opaque handle of the open settings store: an HKEY on Windows, the key file on Linux.
struct SettingsKey;

// Every user choice of the saver. Consumers read the fields directly.
struct Settings {
    SettingsKey* key = nullptr;
    uint32_t f1DisplaysWindowBorder = 1;
    uint32_t f2DisplaysFrameRate = 1;
    uint32_t displayTitle = 1;
    uint32_t alphaBlending = 1;
    uint32_t twilightSky = 1;
    uint32_t stars = 1;
    uint32_t frequency = 30;
    uint32_t displayWidth = 0;
    uint32_t displayHeight = 0;
    uint32_t displayBits = 0;
    uint32_t sphericalWeight = 5;
    uint32_t blastWeight = 5;
    uint32_t weepingWillowWeight = 5;
    uint32_t sparklingWeight = 5;
    uint32_t chainReactionWeight = 5;
    uint32_t corkScrewWeight = 5;
    uint32_t waverWeight = 5;

    void Load();
    void Save();
};

// One row per stored value, in the order values are loaded and saved.
// The three display-mode values accept anything; the mode rule keeps them all zero or all non-zero.
struct SettingsValue {
    const char* name;
    uint32_t Settings::*field;
    uint32_t defaultValue;
    uint32_t minimum;
    uint32_t maximum;
    bool ranged;
};

const int SETTINGS_VALUE_COUNT = 17;
extern const SettingsValue SETTINGS_VALUES[SETTINGS_VALUE_COUNT];
