#include "seam/platform.h"
#include "tests/settings/store_fixture.h"

// One value of a valid record stored as some text: it loads as `loaded`, is written back exactly
// when the text is not already that number, and the other sixteen values load and stay as stored.
TEST_F(KeyFileStoreTest, EachStoredTextLoadsInRangeAndOnlyAReplacedValueIsWrittenBack) {
    struct Case {
        const char* name;
        std::optional<std::string> text;  // nullopt: missing
        uint32_t loaded;
    };
    const Case cases[] = {
        {"Frequency", "9", 30}, {"Frequency", "61", 30}, {"Frequency", "10", 10}, {"Frequency", "60", 60},
        {"Stars", "5", 1}, {"Stars", "4", 4}, {"Spherical Weight", "11", 5}, {"Waver Weight", "0", 0},
        {"Blast Weight", "10", 10}, {"Twilight Sky", "2", 1}, {"Display Width", "4294967295", 4294967295u},
        // Numbers another tool wrote as signed: above 2^31 they are out of range, never negative and small.
        {"Frequency", "4294967286", 30}, {"Cork Screw Weight", "2147483648", 5},
        // Not a decimal number that fits 32 bits.
        {"Frequency", "ten", 30}, {"Stars", "-1", 1}, {"Frequency", "0x10", 30}, {"Blast Weight", "", 5},
        {"Frequency", "4294967296", 30}, {"Stars", "4294967298", 1}, {"Stars", "+2", 1},
        {"Chain Reaction Weight", "99999999999999999999", 5}, {"Sparkling Weight", "3.0", 5},
        {"Display Vesperglow", "true", 1}, {"F2 Displays Frame Rate", std::nullopt, 1}};
    for (const Case& stored : cases) {
        SCOPED_TRACE(std::string(stored.name) + "=" + stored.text.value_or("(missing)"));
        WriteFile(path, RecordFile({{stored.name, stored.text}}));
        ino_t before = Inode(path);
        settings.Load();

        EXPECT_EQ(stored.loaded, settings.*ValueNamed(stored.name).field);
        EXPECT_TRUE(EveryFieldInRange(settings));
        EXPECT_EQ(stored.text != std::to_string(stored.loaded), before != Inode(path)) << "written back";
        EXPECT_EQ(std::to_string(stored.loaded), StoredText(path, SETTINGS_GROUP, stored.name));
        for (const SettingsValue& value : SETTINGS_VALUES) {
            if (std::string(value.name) == stored.name) continue;
            EXPECT_EQ(RecordValue(value.name), settings.*value.field) << value.name;
            EXPECT_EQ(std::to_string(RecordValue(value.name)), StoredText(path, SETTINGS_GROUP, value.name));
        }
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

// A mode is all three values or none: a partly zero one becomes the desktop's, and the desktop's
// 0/0/0 is written back on every load, stored or not.
TEST_F(KeyFileStoreTest, APartlyZeroModeBecomesTheDesktopsAndEveryLoadWritesTheDesktopsBack) {
    const Overrides modes[] = {
        {{"Display Width", "1024"}, {"Display Height", "0"}, {"Display Bits", "32"}},
        {{"Display Width", "0"}, {"Display Height", "600"}, {"Display Bits", "0"}},
        {{"Display Width", "1024"}, {"Display Height", std::nullopt}, {"Display Bits", "32"}},
        {{"Display Width", "0"}, {"Display Height", "0"}, {"Display Bits", "0"}},
    };
    for (const Overrides& mode : modes) {
        WriteFile(path, RecordFile(mode));
        for (int load = 0; load < 2; ++load) {
            ino_t before = Inode(path);
            settings.Load();
            EXPECT_NE(before, Inode(path)) << "load " << load;
            for (const char* name : {"Display Width", "Display Height", "Display Bits"}) {
                EXPECT_EQ(0u, settings.*ValueNamed(name).field) << name;
                EXPECT_EQ("0", StoredText(path, SETTINGS_GROUP, name)) << name;
            }
            EXPECT_EQ(45u, settings.frequency);
        }
    }
}

TEST_F(KeyFileStoreTest, ASaveKeepsForeignGroupsKeysAndComments) {
    WriteFile(path, "# kept at the top\n[Another Program]\ncolour=blue\n\n" + RecordFile({{"Stars", "9"}}) +
                        "# a note of the user\nNot A Setting=hello\n");
    settings.Load();
    ASSERT_EQ(1u, settings.stars);
    settings.frequency = 12;
    settings.Save();

    EXPECT_EQ("blue", StoredText(path, "Another Program", "colour"));
    EXPECT_EQ("hello", StoredText(path, SETTINGS_GROUP, "Not A Setting"));
    EXPECT_EQ("12", StoredText(path, SETTINGS_GROUP, "Frequency"));
    EXPECT_EQ("1", StoredText(path, SETTINGS_GROUP, "Stars"));
    std::string text = ReadFile(path);
    EXPECT_NE(std::string::npos, text.find("# kept at the top"));
    EXPECT_NE(std::string::npos, text.find("# a note of the user"));
}

TEST_F(KeyFileStoreTest, AFileGLibCannotParseIsReplacedByTheDefaults) {
    WriteFile(path, "this line is no key file\n" + RecordFile());
    settings.Load();
    for (const SettingsValue& value : SETTINGS_VALUES) {
        EXPECT_EQ(value.defaultValue, settings.*value.field) << value.name;
        EXPECT_EQ(std::to_string(value.defaultValue), StoredText(path, SETTINGS_GROUP, value.name));
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

// The errors reported since `from`, each a plain "Error" box, by their texts.
static std::vector<std::string> ReportedTexts(size_t from = 0) {
    std::vector<std::string> texts;
    for (size_t i = from; i < g_reportedErrors.size(); ++i) {
        EXPECT_EQ("Error", g_reportedErrors[i].caption);
        EXPECT_EQ(REPORT_PLAIN, g_reportedErrors[i].icon);
        texts.push_back(g_reportedErrors[i].text);
    }
    return texts;
}

static std::vector<std::string> EveryWriteMessage() {
    std::vector<std::string> texts;
    for (const SettingsValue& value : SETTINGS_VALUES)
        texts.push_back(std::string("Could Not Write '") + value.name + "' To Registry");
    return texts;
}

// Root ignores permission bits, so a file where the folder should be is what makes opening fail.
TEST_F(KeyFileStoreTest, AStoreThatCannotBeOpenedReportsOnceAndEveryLoadFallsBackToTheDefaults) {
    WriteFile(configHome + "/blocked", "a file, not a folder");
    for (std::string blocked : {configHome + "/blocked", configHome + "/blocked/below"}) {
        g_reportedErrors.clear();
        setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
        Settings unopened;
        unopened.key = OpenKeyFileStore();
        ASSERT_EQ(nullptr, unopened.key);
        ASSERT_EQ(std::vector<std::string>{"Could Not Open Registry Key"}, ReportedTexts());

        unopened.frequency = 45;
        unopened.displayWidth = 800;
        unopened.Load();
        for (const SettingsValue& value : SETTINGS_VALUES)
            EXPECT_EQ(value.defaultValue, unopened.*value.field) << value.name;
        EXPECT_EQ(EveryWriteMessage(), ReportedTexts(1));
    }
}

TEST_F(KeyFileStoreTest, ASaveThatCannotBeWrittenReportsEveryValueAndGoesOn) {
    WriteFile(path, RecordFile());
    settings.Load();
    RemoveTree(storeFolder);
    WriteFile(storeFolder, "a file, not a folder");

    settings.Save();
    EXPECT_EQ(EveryWriteMessage(), ReportedTexts());
    EXPECT_EQ(45u, settings.frequency) << "the record is kept";

    g_reportedErrors.clear();
    settings.Load();
    EXPECT_EQ(30u, settings.frequency);
    EXPECT_EQ(EveryWriteMessage(), ReportedTexts());
}
