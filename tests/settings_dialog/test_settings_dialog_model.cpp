#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings.h"
#include "settings/settings_dialog_model.h"

// Every test runs in a process of its own with a fresh configuration folder, so the store behind
// g_settings starts empty and the model edits g_settings as the program does.

namespace {

// A display that reports a fixed list of modes. `duringEnumeration`, when set, runs once before
// the first mode is reported: after the model's load and before any reset it might do.
struct FakeDisplay {
    std::vector<DisplayMode> modes;
    void (*duringEnumeration)() = nullptr;
};

bool ReportMode(void* context, uint32_t index, DisplayMode* mode) {
    FakeDisplay& display = *static_cast<FakeDisplay*>(context);
    if (index == 0 && display.duringEnumeration) display.duringEnumeration();
    if (index >= display.modes.size()) return false;
    *mode = display.modes[index];
    return true;
}

void StoreMode(uint32_t width, uint32_t height, uint32_t bits) {
    g_settings.Load();
    g_settings.displayWidth = width;
    g_settings.displayHeight = height;
    g_settings.displayBits = bits;
    g_settings.Save();
}

// Changes the record without saving it: the store only sees the change if someone saves.
void MarkRecordUnsaved() { g_settings.frequency = 45; }

// What the store holds now, read without disturbing g_settings.
Settings Stored() {
    Settings edited = g_settings;
    g_settings.Load();
    Settings stored = g_settings;
    g_settings = edited;
    return stored;
}

std::string Entry(const SettingsDialogModel& model, int position) {
    char text[DIALOG_ENTRY_TEXT_SIZE];
    model.EntryText(position, text);
    return text;
}

std::vector<uint32_t> Fields(const Settings& settings) {
    std::vector<uint32_t> values;
    for (const SettingsValue& value : SETTINGS_VALUES) values.push_back(settings.*value.field);
    return values;
}

const DialogSlider& Slider(int id) {
    for (const DialogSlider& slider : DIALOG_SLIDERS)
        if (slider.id == id) return slider;
    ADD_FAILURE() << "no slider " << id;
    return DIALOG_SLIDERS[0];
}

}  // namespace

TEST(SettingsDialogModel, StoredDesktopModeSelectsFirstEntryAndSkipsTheReset) {
    StoreMode(0, 0, 0);
    FakeDisplay display;
    display.modes = {{1024, 768, 32}, {800, 600, 16}};
    display.duringEnumeration = MarkRecordUnsaved;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(3, model.ListSize());
    EXPECT_EQ("Same as Desktop", Entry(model, 0));
    EXPECT_EQ("1024 x 768 32bit", Entry(model, 1));
    EXPECT_EQ("800 x 600 16bit", Entry(model, 2));
    // The reset would have saved the whole record, unsaved change included.
    EXPECT_EQ(30u, Stored().frequency);
}

TEST(SettingsDialogModel, UnofferedStoredModeIsResetAndSavedOnOpening) {
    StoreMode(640, 480, 8);
    FakeDisplay display;
    display.modes = {{640, 480, 8}, {1024, 768, 32}, {640, 480, 15}};
    display.duringEnumeration = MarkRecordUnsaved;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    EXPECT_EQ(2, model.ListSize()) << "modes below 16 bits per pixel are never listed";
    EXPECT_EQ("1024 x 768 32bit", Entry(model, 1));
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, g_settings.displayWidth);
    EXPECT_EQ(0u, g_settings.displayHeight);
    EXPECT_EQ(0u, g_settings.displayBits);
    Settings stored = Stored();
    EXPECT_EQ(0u, stored.displayWidth);
    EXPECT_EQ(0u, stored.displayHeight);
    EXPECT_EQ(0u, stored.displayBits);
    EXPECT_EQ(45u, stored.frequency) << "the reset saves the whole record at once";
}

TEST(SettingsDialogModel, DisplayWithoutUsableModesOffersOnlyTheDesktop) {
    StoreMode(1024, 768, 32);
    FakeDisplay display;
    display.modes = {{1024, 768, 8}, {800, 600, 4}};
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    EXPECT_EQ(1, model.ListSize());
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, Stored().displayWidth);
}

TEST(SettingsDialogModel, RepeatsOfThePreviousEntryAreDroppedAndTheLastOccurrenceIsSelected) {
    StoreMode(1024, 768, 32);
    FakeDisplay display;
    display.modes = {{1024, 768, 32}, {1024, 768, 32}, {1024, 768, 8}, {1024, 768, 32},
                     {800, 600, 32},  {1024, 768, 32}, {1024, 768, 16}};
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    ASSERT_EQ(5, model.ListSize());
    EXPECT_EQ("1024 x 768 32bit", Entry(model, 1));
    EXPECT_EQ("800 x 600 32bit", Entry(model, 2));
    EXPECT_EQ("1024 x 768 32bit", Entry(model, 3));
    EXPECT_EQ("1024 x 768 16bit", Entry(model, 4));
    EXPECT_EQ(3, model.selection);
    EXPECT_EQ(1024u, Stored().displayWidth) << "an offered mode is kept";
}

TEST(SettingsDialogModel, AtMostDialogMaxModesAreListed) {
    StoreMode(1100, 1099, 32);  // offered, but past the table's end
    FakeDisplay display;
    for (uint32_t n = 1; n <= 1100; ++n) display.modes.push_back({n, n - 1, 32});
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    EXPECT_EQ(1024u, model.modeCount);
    EXPECT_EQ(1025, model.ListSize());
    EXPECT_EQ("1024 x 1023 32bit", Entry(model, 1024));
    EXPECT_EQ(0, model.selection);
    EXPECT_EQ(0u, g_settings.displayWidth) << "a mode that is not listed is not offered";
}

TEST(SettingsDialogModel, ChoosingAnEntrySetsTheModeFields) {
    FakeDisplay display;
    display.modes = {{1024, 768, 32}, {800, 600, 16}};
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    model.ChooseResolution(2);
    EXPECT_EQ(2, model.selection);
    EXPECT_EQ(800u, g_settings.displayWidth);
    EXPECT_EQ(600u, g_settings.displayHeight);
    EXPECT_EQ(16u, g_settings.displayBits);
    model.ChooseResolution(3);  // no such entry: nothing changes
    model.ChooseResolution(-1);
    EXPECT_EQ(2, model.selection);
    EXPECT_EQ(800u, g_settings.displayWidth);
    model.ChooseResolution(0);
    EXPECT_EQ(0u, g_settings.displayWidth);
    EXPECT_EQ(0u, g_settings.displayHeight);
    EXPECT_EQ(0u, g_settings.displayBits);
}

TEST(SettingsDialogModel, SliderUpdatesItsFieldAndBoxAtOnceAndCancelRestores) {
    FakeDisplay display;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);
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

TEST(SettingsDialogModel, OkSavesEveryEditAndReturnsOne) {
    FakeDisplay display;
    display.modes = {{1024, 768, 32}};
    SettingsDialogModel model;
    model.Open(ReportMode, &display);

    model.MoveSlider(3011, 7);
    model.MoveSlider(3010, 42);
    model.MoveSlider(3015, 4);
    model.SetCheckBox(1019, false);
    model.SetCheckBox(1034, false);
    model.ChooseResolution(1);
    EXPECT_EQ(DIALOG_CLOSES, model.Command(DIALOG_OK));
    EXPECT_EQ(1, model.Result());

    Settings stored = Stored();
    EXPECT_EQ(7u, stored.sphericalWeight);
    EXPECT_EQ(42u, stored.frequency);
    EXPECT_EQ(4u, stored.stars);
    EXPECT_EQ(0u, stored.alphaBlending);
    EXPECT_EQ(0u, stored.displayTitle);
    EXPECT_EQ(1u, stored.twilightSky);
    EXPECT_EQ(1024u, stored.displayWidth);
    EXPECT_EQ(768u, stored.displayHeight);
    EXPECT_EQ(32u, stored.displayBits);
}

TEST(SettingsDialogModel, EscapeAndUnknownCommandsKeepTheDialogOpenAndChangeNothing) {
    FakeDisplay display;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);
    model.MoveSlider(3013, 9);  // an edit in progress must survive
    const std::vector<uint32_t> before = Fields(g_settings);

    EXPECT_EQ(DIALOG_STAYS_OPEN, model.Command(DIALOG_ESCAPE));
    for (int id : {0, 1, 1024, 1017, 3010, 3020, 9999, -1})
        EXPECT_EQ(DIALOG_STAYS_OPEN, model.Command(id)) << id;
    EXPECT_EQ(DIALOG_SHOWS_ABOUT, model.Command(DIALOG_ABOUT));
    EXPECT_EQ(before, Fields(g_settings));
    EXPECT_EQ(5u, Stored().weepingWillowWeight);
}

TEST(SettingsDialogModel, SlidersTakeTheStoreRangesAndKeepFieldsInsideThem) {
    EXPECT_EQ(10u, Slider(3010).Minimum());
    EXPECT_EQ(60u, Slider(3010).Maximum());
    EXPECT_EQ(0u, Slider(3015).Minimum());
    EXPECT_EQ(4u, Slider(3015).Maximum());
    EXPECT_EQ(0, Slider(3015).numberBoxId) << "the Stars slider has no number box";
    for (int id : {3011, 3012, 3013, 3014, 3016, 3017, 3018}) {
        EXPECT_EQ(0u, Slider(id).Minimum()) << id;
        EXPECT_EQ(10u, Slider(id).Maximum()) << id;
    }

    FakeDisplay display;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);
    model.MoveSlider(3010, 3);
    EXPECT_EQ(10u, g_settings.frequency);
    model.MoveSlider(3010, 61);
    EXPECT_EQ(60u, g_settings.frequency);
    model.MoveSlider(3018, -4);
    EXPECT_EQ(0u, g_settings.waverWeight);
    const std::vector<uint32_t> before = Fields(g_settings);
    EXPECT_EQ(nullptr, model.MoveSlider(3020, 1)) << "a number box is no slider";
    model.SetCheckBox(3011, false);
    EXPECT_EQ(before, Fields(g_settings));
}

TEST(SettingsDialogModel, CheckBoxesFollowTheirFields) {
    FakeDisplay display;
    SettingsDialogModel model;
    model.Open(ReportMode, &display);
    const std::pair<int, uint32_t Settings::*> boxes[] = {
        {1028, &Settings::f1DisplaysWindowBorder}, {1032, &Settings::f2DisplaysFrameRate},
        {1034, &Settings::displayTitle},           {1019, &Settings::alphaBlending},
        {1031, &Settings::twilightSky}};
    for (const auto& box : boxes) {
        model.SetCheckBox(box.first, false);
        EXPECT_EQ(0u, g_settings.*box.second) << box.first;
        model.SetCheckBox(box.first, true);
        EXPECT_EQ(1u, g_settings.*box.second) << box.first;
    }
}
