#include "settings/settings_dialog_model.h"

#include <cstdio>

#include "seam/version.h"

const char* const DIALOG_ABOUT_TEXT =
    "Vesperglow " VESPERGLOW_VERSION "\n\n"
    "A fireworks show for your idle screen: shells rise, burst in seven kinds "
    "and fade over a violet twilight and a field of stars.\n\n"
    "Drawn with OpenGL. Written by the Vesperglow developers.";

const DialogSlider DIALOG_SLIDERS[DIALOG_SLIDER_COUNT] = {
    {3010, &Settings::frequency, 3020},
    {3015, &Settings::stars, 0},
    {3011, &Settings::sphericalWeight, 3021},
    {3012, &Settings::blastWeight, 3022},
    {3013, &Settings::weepingWillowWeight, 3023},
    {3014, &Settings::sparklingWeight, 3024},
    {3016, &Settings::chainReactionWeight, 3025},
    {3017, &Settings::corkScrewWeight, 3026},
    {3018, &Settings::waverWeight, 3027},
};

const DialogCheckBox DIALOG_CHECK_BOXES[DIALOG_CHECK_BOX_COUNT] = {
    {1028, &Settings::f1DisplaysWindowBorder},
    {1032, &Settings::f2DisplaysFrameRate},
    {1034, &Settings::displayTitle},
    {1019, &Settings::alphaBlending},
    {1031, &Settings::twilightSky},
};

// Every bound field has a row in the store's table; the dialog takes its ranges from there.
static const SettingsValue& ValueOf(uint32_t Settings::*field) {
    int row = 0;
    while (row < SETTINGS_VALUE_COUNT - 1 && SETTINGS_VALUES[row].field != field) ++row;
    return SETTINGS_VALUES[row];
}

uint32_t DialogSlider::Minimum() const { return ValueOf(field).minimum; }
uint32_t DialogSlider::Maximum() const { return ValueOf(field).maximum; }

static bool SameMode(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.bitsPerPixel == b.bitsPerPixel;
}

static DisplayMode StoredMode(const Settings& settings) {
    return {settings.displayWidth, settings.displayHeight, settings.displayBits};
}

void SettingsDialogModel::Open(DisplayModeSource source, void* context) {
    settings.Load();
    modeCount = 0;
    selection = 0;
    result_ = 0;
    const DisplayMode desktop = {0, 0, 0};
    bool storedModeFound = SameMode(StoredMode(settings), desktop);

    DisplayMode mode;
    for (uint32_t index = 0; modeCount < DIALOG_MAX_MODES && source(context, index, &mode); ++index)
        OfferMode(mode, &storedModeFound);

    if (!storedModeFound) {
        settings.displayWidth = 0;
        settings.displayHeight = 0;
        settings.displayBits = 0;
        settings.Save();
        selection = 0;
    }
}

// Repeats of the entry just listed (the same mode at other refresh rates) are dropped; the
// comparison starts from 0/0/0 and looks only at the previous listed entry.
void SettingsDialogModel::OfferMode(const DisplayMode& mode, bool* storedModeFound) {
    if (mode.bitsPerPixel < 16) return;
    const DisplayMode none = {0, 0, 0};
    const DisplayMode& previous = modeCount == 0 ? none : displayModes[modeCount - 1];
    if (SameMode(mode, previous)) return;
    displayModes[modeCount++] = mode;
    if (SameMode(mode, StoredMode(settings))) {
        selection = int(modeCount);
        *storedModeFound = true;
    }
}

void SettingsDialogModel::EntryText(int position, char (&text)[DIALOG_ENTRY_TEXT_SIZE]) const {
    if (position <= 0 || position > int(modeCount)) {
        snprintf(text, sizeof text, "%s", DIALOG_SAME_AS_DESKTOP);
        return;
    }
    const DisplayMode& mode = displayModes[position - 1];
    snprintf(text, sizeof text, "%u x %u %ubit", unsigned(mode.width), unsigned(mode.height),
             unsigned(mode.bitsPerPixel));
}

const DialogSlider* SettingsDialogModel::MoveSlider(int id, int position) {
    for (const DialogSlider& slider : DIALOG_SLIDERS) {
        if (slider.id != id) continue;
        // A toolkit never reports a position outside the range it was given; clamp all the same,
        // so the record never leaves the range the store accepts.
        uint32_t value = position < 0 ? 0 : uint32_t(position);
        if (value < slider.Minimum()) value = slider.Minimum();
        if (value > slider.Maximum()) value = slider.Maximum();
        settings.*slider.field = value;
        return &slider;
    }
    return nullptr;
}

void SettingsDialogModel::NumberText(const DialogSlider& slider,
                                     char (&text)[DIALOG_NUMBER_TEXT_SIZE]) const {
    snprintf(text, sizeof text, "%u", unsigned(settings.*slider.field));
}

void SettingsDialogModel::SetCheckBox(int id, bool checked) {
    for (const DialogCheckBox& box : DIALOG_CHECK_BOXES)
        if (box.id == id) settings.*box.field = checked ? 1 : 0;
}

void SettingsDialogModel::ChooseResolution(int position) {
    if (position < 0 || position > int(modeCount)) return;
    selection = position;
    DisplayMode mode = {0, 0, 0};
    if (position > 0) mode = displayModes[position - 1];
    settings.displayWidth = mode.width;
    settings.displayHeight = mode.height;
    settings.displayBits = mode.bitsPerPixel;
}

DialogOutcome SettingsDialogModel::Command(int id) {
    switch (id) {
    case DIALOG_OK:
        settings.Save();
        result_ = 1;
        return DIALOG_CLOSES;
    case DIALOG_CANCEL:
        settings.Load();
        result_ = 0;
        return DIALOG_CLOSES;
    case DIALOG_ABOUT:
        return DIALOG_SHOWS_ABOUT;
    default:
        return DIALOG_STAYS_OPEN;
    }
}
