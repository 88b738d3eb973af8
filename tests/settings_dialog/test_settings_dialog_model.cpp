#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_dialog_model.h"

// Each test runs in a process of its own with a fresh configuration folder, and the model edits the
// store's record as the program does. Cancel, Escape, About, OK and the reset of a mode the display
// does not offer are shown end to end on the GTK form and the Win32 dialog; these are the rules a
// real display cannot be made to show.

namespace {

bool ReportMode(void* context, uint32_t index, DisplayMode* mode) {
    const std::vector<DisplayMode>& modes = *static_cast<const std::vector<DisplayMode>*>(context);
    if (index >= modes.size()) return false;
    *mode = modes[index];
    return true;
}

// Stores the mode, then opens a model on a display with these modes.
void OpenWith(SettingsDialogModel& model, std::vector<DisplayMode> modes, DisplayMode stored = {0, 0, 0}) {
    g_settings.Load();
    g_settings.displayWidth = stored.width;
    g_settings.displayHeight = stored.height;
    g_settings.displayBits = stored.bitsPerPixel;
    g_settings.Save();
    model.Open(ReportMode, &modes);
}

std::vector<std::string> Entries(const SettingsDialogModel& model) {
    std::vector<std::string> entries;
    char text[DIALOG_ENTRY_TEXT_SIZE];
    for (int position = 0; position < model.ListSize(); ++position) {
        model.EntryText(position, text);
        entries.push_back(text);
    }
    return entries;
}

}  // namespace

// Modes below 16 bits are never listed, and a repeat of the entry just listed (the same mode at
// another refresh rate) is dropped; the stored mode selects its last occurrence.
TEST(SettingsDialogModel, TheListDropsRepeatsAndShallowModesAndSelectsTheStoredOne) {
    SettingsDialogModel model(g_settings);
    OpenWith(model,
             {{1024, 768, 32}, {1024, 768, 32}, {1024, 768, 8}, {1024, 768, 32}, {800, 600, 32}, {1024, 768, 32},
              {1024, 768, 16}},
             {1024, 768, 32});
    EXPECT_EQ((std::vector<std::string>{"Same as Desktop", "1024 x 768 32bit", "800 x 600 32bit", "1024 x 768 32bit",
                                        "1024 x 768 16bit"}),
              Entries(model));
    EXPECT_EQ(3, model.selection);
}

TEST(SettingsDialogModel, AtMostDialogMaxModesAreListedAndAModeBeyondThemIsReset) {
    std::vector<DisplayMode> modes;
    for (uint32_t n = 1; n <= 1100; ++n) modes.push_back({n, n - 1, 32});
    SettingsDialogModel model(g_settings);
    OpenWith(model, modes, {1100, 1099, 32});
    EXPECT_EQ(1025, model.ListSize());
    EXPECT_EQ("1024 x 1023 32bit", Entries(model).back());
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, g_settings.displayWidth);
}

// Sliders clamp to the store's ranges and every drag position lands at once; the list ignores
// positions it does not have; ids that are no control, and commands other than OK, Cancel and About,
// change nothing and keep the dialog open.
TEST(SettingsDialogModel, EditsStayInRangeAndUnknownControlsChangeNothing) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {{1024, 768, 32}, {800, 600, 16}});
    const struct {
        int id, position;
        uint32_t Settings::*field;
        uint32_t expected;
    } moves[] = {{3010, 3, &Settings::frequency, 10}, {3010, 61, &Settings::frequency, 60},
                 {3015, 9, &Settings::stars, 4},      {3018, -4, &Settings::waverWeight, 0},
                 {3011, 7, &Settings::sphericalWeight, 7}};
    char box[DIALOG_NUMBER_TEXT_SIZE];
    for (const auto& move : moves) {
        const DialogSlider* moved = model.MoveSlider(move.id, move.position);
        ASSERT_NE(nullptr, moved);
        EXPECT_EQ(move.expected, g_settings.*move.field) << move.id;
        model.NumberText(*moved, box);
        EXPECT_EQ(std::to_string(move.expected), box);
    }
    model.ChooseResolution(2);
    model.ChooseResolution(3);
    model.ChooseResolution(-1);
    EXPECT_EQ(2, model.selection);
    EXPECT_TRUE(g_settings.displayWidth == 800 && g_settings.displayBits == 16);

    const Settings before = g_settings;
    for (int id : {DIALOG_ESCAPE, 0, 1024, 1017, 3010, 3020, -1}) EXPECT_EQ(DIALOG_STAYS_OPEN, model.Command(id)) << id;
    EXPECT_EQ(nullptr, model.MoveSlider(3020, 1)) << "a number box is no slider";
    model.SetCheckBox(3011, false);
    for (const SettingsValue& value : SETTINGS_VALUES) EXPECT_EQ(before.*value.field, g_settings.*value.field);
}
