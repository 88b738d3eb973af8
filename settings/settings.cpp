#include "settings/settings.h"

const SettingsValue SETTINGS_VALUES[SETTINGS_VALUE_COUNT] = {
    {"Frequency", &Settings::frequency, 30, 10, 60, true},
    {"Display Width", &Settings::displayWidth, 0, 0, 0, false},
    {"Display Height", &Settings::displayHeight, 0, 0, 0, false},
    {"Display Bits", &Settings::displayBits, 0, 0, 0, false},
    {"F1 Displays Window Border", &Settings::f1DisplaysWindowBorder, 1, 0, 1, true},
    {"F2 Displays Frame Rate", &Settings::f2DisplaysFrameRate, 1, 0, 1, true},
    {"Display Vesperglow", &Settings::displayTitle, 1, 0, 1, true},
    {"Alpha Blending", &Settings::alphaBlending, 1, 0, 1, true},
    {"Twilight Sky", &Settings::twilightSky, 1, 0, 1, true},
    {"Stars", &Settings::stars, 1, 0, 4, true},
    {"Spherical Weight", &Settings::sphericalWeight, 5, 0, 10, true},
    {"Blast Weight", &Settings::blastWeight, 5, 0, 10, true},
    {"Weeping Willow Weight", &Settings::weepingWillowWeight, 5, 0, 10, true},
    {"Sparkling Weight", &Settings::sparklingWeight, 5, 0, 10, true},
    {"Chain Reaction Weight", &Settings::chainReactionWeight, 5, 0, 10, true},
    {"Cork Screw Weight", &Settings::corkScrewWeight, 5, 0, 10, true},
    {"Waver Weight", &Settings::waverWeight, 5, 0, 10, true},
};
