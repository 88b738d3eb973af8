#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_dialog_model.h"

// Every test runs in a process of its own with a fresh configuration folder, so the store behind
// g_settings starts empty and the model edits g_settings as the program does.

namespace {

// A display that reports a fixed list of modes. With `unsavedEdit`, the record is changed (not
// saved) before the first mode is reported: after the model's load and before any reset it does,
// so the store shows whether the reset saved the record.
struct FakeDisplay {
    std::vector<DisplayMode> modes;
    bool unsavedEdit = false;
};

bool ReportMode(void* context, uint32_t index, DisplayMode* mode) {
    FakeDisplay& display = *static_cast<FakeDisplay*>(context);
    if (index == 0 && display.unsavedEdit) g_settings.frequency = 45;
    if (index >= display.modes.size()) return false;
    *mode = display.modes[index];
    return true;
}

// Stores the mode, then opens a model on a display with these modes.
void OpenWith(SettingsDialogModel& model, FakeDisplay display, DisplayMode stored = {0, 0, 0}) {
    g_settings.Load();
    g_settings.displayWidth = stored.width;
    g_settings.displayHeight = stored.height;
    g_settings.displayBits = stored.bitsPerPixel;
    g_settings.Save();
    model.Open(ReportMode, &display);
}

// What the store holds now, read without disturbing g_settings.
Settings Stored() {
    Settings edited = g_settings;
    g_settings.Load();
    Settings stored = g_settings;
    g_settings = edited;
    return stored;
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

std::vector<uint32_t> Fields(const Settings& settings) {
    std::vector<uint32_t> values;
    for (const SettingsValue& value : SETTINGS_VALUES) values.push_back(settings.*value.field);
    return values;
}

}  // namespace

TEST(SettingsDialogModel, StoredDesktopModeSelectsFirstEntryAndSkipsTheReset) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {{{1024, 768, 32}, {800, 600, 16}}, true});
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ((std::vector<std::string>{"Same as Desktop", "1024 x 768 32bit", "800 x 600 16bit"}), Entries(model));
    // The reset would have saved the whole record, unsaved change included.
    EXPECT_EQ(30u, Stored().frequency);
}

TEST(SettingsDialogModel, UnofferedStoredModeIsResetAndSavedOnOpening) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {{{640, 480, 8}, {1024, 768, 32}, {640, 480, 15}}, true}, {640, 480, 8});
    // Modes below 16 bits per pixel are never listed.
    EXPECT_EQ((std::vector<std::string>{"Same as Desktop", "1024 x 768 32bit"}), Entries(model));
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, g_settings.displayWidth + g_settings.displayHeight + g_settings.displayBits);
    Settings stored = Stored();
    EXPECT_EQ(0u, stored.displayWidth + stored.displayHeight + stored.displayBits);
    EXPECT_EQ(45u, stored.frequency) << "the reset saves the whole record at once";
}

TEST(SettingsDialogModel, RepeatsOfThePreviousEntryAreDroppedAndTheLastOccurrenceIsSelected) {
    SettingsDialogModel model(g_settings);
    OpenWith(model,
             {{{1024, 768, 32}, {1024, 768, 32}, {1024, 768, 8}, {1024, 768, 32}, {800, 600, 32}, {1024, 768, 32},
               {1024, 768, 16}}},
             {1024, 768, 32});
    EXPECT_EQ((std::vector<std::string>{"Same as Desktop", "1024 x 768 32bit", "800 x 600 32bit", "1024 x 768 32bit",
                                        "1024 x 768 16bit"}),
              Entries(model));
    EXPECT_EQ(3, model.selection);
    EXPECT_EQ(1024u, Stored().displayWidth) << "an offered mode is kept";
}

TEST(SettingsDialogModel, AtMostDialogMaxModesAreListed) {
    FakeDisplay display;
    for (uint32_t n = 1; n <= 1100; ++n) display.modes.push_back({n, n - 1, 32});
    SettingsDialogModel model(g_settings);
    OpenWith(model, display, {1100, 1099, 32});  // offered, but past the table's end

    EXPECT_EQ(1025, model.ListSize());
    EXPECT_EQ("1024 x 1023 32bit", Entries(model).back());
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, g_settings.displayWidth) << "a mode that is not listed is not offered";
}

TEST(SettingsDialogModel, SliderUpdatesItsFieldAndBoxAtOnceAndCancelRestores) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {});
    ASSERT_EQ(5u, g_settings.sphericalWeight);

    char box[DIALOG_NUMBER_TEXT_SIZE];
    for (int position : {6, 7}) {  // a drag reports every position on the way
        const DialogSlider* moved = model.MoveSlider(3011, position);
        ASSERT_NE(nullptr, moved);
        EXPECT_EQ(3021, moved->numberBoxId);
        EXPECT_EQ(uint32_t(position), g_settings.sphericalWeight);
        model.NumberText(*moved, box);
        EXPECT_EQ(std::to_string(position), box);
    }
    EXPECT_EQ(5u, Stored().sphericalWeight) << "nothing is saved before OK";

    EXPECT_EQ(DIALOG_CLOSES, model.Command(DIALOG_CANCEL));
    EXPECT_EQ(0, model.Result());
    EXPECT_EQ(5u, g_settings.sphericalWeight);
    EXPECT_EQ(5u, Stored().sphericalWeight);
}

// Sliders clamp to the store's ranges, every check box reaches its own field, the list sets the
// mode (ignoring positions it does not have), and OK saves it all with result 1.
TEST(SettingsDialogModel, OkSavesEveryKindOfEditAndReturnsOne) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {{{1024, 768, 32}, {800, 600, 16}}});
    model.MoveSlider(3010, 3);
    EXPECT_EQ(10u, g_settings.frequency);
    model.MoveSlider(3010, 61);
    model.MoveSlider(3015, 9);
    model.MoveSlider(3018, -4);
    for (int id : {1028, 1032, 1034, 1019, 1031}) model.SetCheckBox(id, false);
    model.ChooseResolution(2);
    model.ChooseResolution(0);
    EXPECT_EQ(0u, g_settings.displayWidth + g_settings.displayHeight + g_settings.displayBits);
    model.ChooseResolution(2);
    model.ChooseResolution(3);
    model.ChooseResolution(-1);
    EXPECT_EQ(2, model.selection);
    EXPECT_EQ(DIALOG_CLOSES, model.Command(DIALOG_OK));
    EXPECT_EQ(1, model.Result());

    Settings expected;
    expected.frequency = 60;
    expected.stars = 4;
    expected.waverWeight = 0;
    expected.f1DisplaysWindowBorder = expected.f2DisplaysFrameRate = expected.displayTitle = 0;
    expected.alphaBlending = expected.twilightSky = 0;
    expected.displayWidth = 800;
    expected.displayHeight = 600;
    expected.displayBits = 16;
    EXPECT_EQ(Fields(expected), Fields(Stored()));
}

TEST(SettingsDialogModel, EscapeAndUnknownCommandsOrControlsKeepTheDialogOpenAndChangeNothing) {
    SettingsDialogModel model(g_settings);
    OpenWith(model, {});
    model.MoveSlider(3013, 9);  // an edit in progress must survive
    const std::vector<uint32_t> before = Fields(g_settings);

    EXPECT_EQ(DIALOG_STAYS_OPEN, model.Command(DIALOG_ESCAPE));
    for (int id : {0, 1, 1024, 1017, 3010, 3020, 9999, -1}) EXPECT_EQ(DIALOG_STAYS_OPEN, model.Command(id)) << id;
    EXPECT_EQ(DIALOG_SHOWS_ABOUT, model.Command(DIALOG_ABOUT));
    EXPECT_EQ(nullptr, model.MoveSlider(3020, 1)) << "a number box is no slider";
    model.SetCheckBox(3011, false);
    EXPECT_EQ(before, Fields(g_settings));
    EXPECT_EQ(5u, Stored().weepingWillowWeight);
}
