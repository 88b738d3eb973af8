#pragma once
#include <cstddef>
#include <cstdint>

#include "settings/settings.h"

// The settings dialog's behaviour, free of any toolkit. A view turns its toolkit's events into
// calls on SettingsDialogModel and shows the model's state in its widgets; every rule lives here.
// Controls are named by their ids in dialog template 2003, so both views speak the same language.

const int SETTINGS_DIALOG_TEMPLATE = 2003;

const int DIALOG_RESOLUTION_LIST = 1017;
const int DIALOG_OK = 3000;
const int DIALOG_CANCEL = 3001;
const int DIALOG_ABOUT = 3002;
// The command a dialog manager sends for the Escape key (IDCANCEL); it must not close the dialog.
const int DIALOG_ESCAPE = 2;

const char* const DIALOG_SAME_AS_DESKTOP = "Same as Desktop";
const char* const DIALOG_ABOUT_CAPTION = "About Vesperglow";
extern const char* const DIALOG_ABOUT_TEXT;

// A slider and the read-only box that mirrors it (numberBoxId 0: none). Its range is the
// field's accepted range in SETTINGS_VALUES.
struct DialogSlider {
    int id;
    uint32_t Settings::*field;
    int numberBoxId;

    uint32_t Minimum() const;
    uint32_t Maximum() const;
};

struct DialogCheckBox {
    int id;
    uint32_t Settings::*field;
};

// Sliders in the order a scroll message is matched against them.
const int DIALOG_SLIDER_COUNT = 9;
extern const DialogSlider DIALOG_SLIDERS[DIALOG_SLIDER_COUNT];

const int DIALOG_CHECK_BOX_COUNT = 5;
extern const DialogCheckBox DIALOG_CHECK_BOXES[DIALOG_CHECK_BOX_COUNT];

struct DisplayMode {
    uint32_t width;
    uint32_t height;
    uint32_t bitsPerPixel;
};

// The resolution list keeps at most this many modes. A display that reports more distinct modes
// is no error: the further ones are simply not offered.
const uint32_t DIALOG_MAX_MODES = 1024;

// Reports the display's mode number `index` into *mode; false once there are no more.
typedef bool (*DisplayModeSource)(void* context, uint32_t index, DisplayMode* mode);

// A list entry, "Same as Desktop" or "%d x %d %dbit", fits in this many characters.
const size_t DIALOG_ENTRY_TEXT_SIZE = 48;
// A number box's text, "%d" of a 32-bit value.
const size_t DIALOG_NUMBER_TEXT_SIZE = 12;

enum DialogOutcome {
    DIALOG_STAYS_OPEN,
    DIALOG_SHOWS_ABOUT,
    DIALOG_CLOSES,  // Result() holds the exit code
};

// Edits `settings` (the store's record in the program) in place; it keeps no copy of it.
class SettingsDialogModel {
public:
    Settings& settings;
    DisplayMode displayModes[DIALOG_MAX_MODES];
    uint32_t modeCount = 0;
    int selection = 0;  // list position; 0 is "Same as Desktop", p is displayModes[p - 1]

    explicit SettingsDialogModel(Settings& edited) : settings(edited) {}

    // Loads the settings and builds the resolution list from the modes the display reports.
    void Open(DisplayModeSource source, void* context);

    int ListSize() const { return int(modeCount) + 1; }
    void EntryText(int position, char (&text)[DIALOG_ENTRY_TEXT_SIZE]) const;

    // Every scroll message, intermediate drag positions included, lands here. Returns the
    // slider, whose number box (if any) the view refreshes; null when `id` is no slider.
    const DialogSlider* MoveSlider(int id, int position);
    uint32_t SliderValue(const DialogSlider& slider) const { return settings.*slider.field; }
    void NumberText(const DialogSlider& slider, char (&text)[DIALOG_NUMBER_TEXT_SIZE]) const;

    void SetCheckBox(int id, bool checked);
    bool CheckBoxValue(const DialogCheckBox& box) const { return settings.*box.field != 0; }

    void ChooseResolution(int position);

    // Push buttons and any other command. Only OK and Cancel close the dialog.
    DialogOutcome Command(int id);
    int Result() const { return result_; }

private:
    void OfferMode(const DisplayMode& mode, bool* storedModeFound);

    int result_ = 0;
};
