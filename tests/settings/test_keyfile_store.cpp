#include <stdlib.h>

#include <cctype>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include <glib.h>
#include <gtest/gtest.h>

#include "host/platform.h"
#include "settings/keyfile_store.h"
#include "tests/settings/store_fixture.h"
#include "tests/support/fake_platform.h"

TEST_F(KeyFileStoreTest, FreshUserGetsTheFolderAtOpenAndAllSeventeenDefaultsAtLoad) {
    EXPECT_TRUE(IsFolder(storeFolder));
    EXPECT_FALSE(IsFile(path)) << "opening must not write";

    settings.frequency = 0;
    settings.stars = 99;
    settings.Load();

    GKeyFile* file = g_key_file_new();
    ASSERT_TRUE(g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr));
    gsize groupCount = 0;
    gchar** groups = g_key_file_get_groups(file, &groupCount);
    ASSERT_EQ(1u, groupCount);
    EXPECT_STREQ(SETTINGS_GROUP, groups[0]);
    gsize keyCount = 0;
    gchar** keys = g_key_file_get_keys(file, SETTINGS_GROUP, &keyCount, nullptr);
    ASSERT_EQ(size_t(SETTINGS_VALUE_COUNT), keyCount);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        const SettingsValue& value = SETTINGS_VALUES[i];
        EXPECT_STREQ(value.name, keys[i]) << "save order";
        EXPECT_EQ(value.defaultValue, settings.*value.field) << value.name;
        EXPECT_EQ(std::to_string(value.defaultValue), StoredText(path, SETTINGS_GROUP, value.name)) << value.name;
    }
    g_strfreev(keys);
    g_strfreev(groups);
    g_key_file_free(file);
    EXPECT_TRUE(g_reportedErrors.empty());
}

TEST_F(KeyFileStoreTest, AValidRecordLoadsAsStoredAndIsNotWrittenBack) {
    WriteFile(path, RecordFile());
    ino_t before = Inode(path);
    settings.Load();
    for (const SettingsValue& value : SETTINGS_VALUES) {
        EXPECT_EQ(RecordValue(value.name), settings.*value.field) << value.name;
    }
    EXPECT_EQ(before, Inode(path));
}

namespace {

struct StoredCase {
    const char* name;
    std::optional<std::string> text;  // nullopt: missing
    uint32_t loaded;
    bool writtenBack;
};

void PrintTo(const StoredCase& stored, std::ostream* out) {
    *out << stored.name << "=" << (stored.text ? "\"" + *stored.text + "\"" : "missing");
}

// Readable test names: the value's name and its stored text, letters and digits only.
std::string CaseName(const ::testing::TestParamInfo<StoredCase>& info) {
    std::string name = std::to_string(info.index) + "_" + info.param.name + "_" + info.param.text.value_or("missing");
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name;
}

}  // namespace

class StoredValueTest : public KeyFileStoreTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValueTest, LoadsInRangeAndWritesBackOnlyWhatItReplaced) {
    const StoredCase& stored = GetParam();
    WriteFile(path, RecordFile({{stored.name, stored.text}}));
    ino_t before = Inode(path);

    settings.Load();

    EXPECT_EQ(stored.loaded, FieldOf(settings, stored.name));
    EXPECT_TRUE(EveryFieldInRange(settings));
    if (stored.writtenBack) {
        EXPECT_NE(before, Inode(path));
        EXPECT_EQ(std::to_string(stored.loaded), StoredText(path, SETTINGS_GROUP, stored.name));
    } else {
        EXPECT_EQ(before, Inode(path));
    }
    for (const SettingsValue& value : SETTINGS_VALUES) {
        if (std::string(value.name) == stored.name) continue;
        EXPECT_EQ(RecordValue(value.name), settings.*value.field) << value.name;
        EXPECT_EQ(std::to_string(RecordValue(value.name)), StoredText(path, SETTINGS_GROUP, value.name));
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

INSTANTIATE_TEST_SUITE_P(Ranges, StoredValueTest,
                         ::testing::Values(StoredCase{"Frequency", "9", 30, true},
                                           StoredCase{"Frequency", "61", 30, true},
                                           StoredCase{"Frequency", "10", 10, false},
                                           StoredCase{"Frequency", "60", 60, false},
                                           StoredCase{"Stars", "5", 1, true},
                                           StoredCase{"Stars", "4", 4, false},
                                           StoredCase{"Spherical Weight", "11", 5, true},
                                           StoredCase{"Waver Weight", "0", 0, false},
                                           StoredCase{"Blast Weight", "10", 10, false},
                                           StoredCase{"Twilight Sky", "2", 1, true},
                                           StoredCase{"F1 Displays Window Border", "1", 1, false},
                                           StoredCase{"Display Width", "4294967295", 4294967295u, false}),
                         CaseName);

// Numbers another tool wrote as signed: above 2^31 they are out of range, never negative and small.
INSTANTIATE_TEST_SUITE_P(Unsigned, StoredValueTest,
                         ::testing::Values(StoredCase{"Frequency", "4294967286", 30, true},
                                           StoredCase{"Stars", "4294967295", 1, true},
                                           StoredCase{"Cork Screw Weight", "2147483648", 5, true},
                                           StoredCase{"Alpha Blending", "2147483649", 1, true}),
                         CaseName);

INSTANTIATE_TEST_SUITE_P(WrongTypes, StoredValueTest,
                         ::testing::Values(StoredCase{"Frequency", "ten", 30, true},
                                           StoredCase{"Stars", "-1", 1, true},
                                           StoredCase{"Frequency", "0x10", 30, true},
                                           StoredCase{"Blast Weight", "", 5, true},
                                           StoredCase{"Frequency", "4294967296", 30, true},
                                           StoredCase{"Chain Reaction Weight", "99999999999999999999", 5, true},
                                           StoredCase{"Stars", "+2", 1, true},
                                           StoredCase{"Sparkling Weight", "3.0", 5, true},
                                           StoredCase{"Display Vesperglow", "true", 1, true},
                                           StoredCase{"Weeping Willow Weight", std::nullopt, 5, true},
                                           StoredCase{"F2 Displays Frame Rate", std::nullopt, 1, true}),
                         CaseName);

TEST_F(KeyFileStoreTest, APartlyZeroModeBecomesTheDesktopsAndIsWrittenBack) {
    const Overrides modes[] = {
        {{"Display Width", "1024"}, {"Display Height", "0"}, {"Display Bits", "32"}},
        {{"Display Width", "0"}, {"Display Height", "600"}, {"Display Bits", "0"}},
        {{"Display Width", "1024"}, {"Display Height", std::nullopt}, {"Display Bits", "32"}},
    };
    for (const Overrides& mode : modes) {
        WriteFile(path, RecordFile(mode));
        settings.Load();
        EXPECT_EQ(0u, settings.displayWidth);
        EXPECT_EQ(0u, settings.displayHeight);
        EXPECT_EQ(0u, settings.displayBits);
        for (const char* name : {"Display Width", "Display Height", "Display Bits"}) {
            EXPECT_EQ("0", StoredText(path, SETTINGS_GROUP, name)) << name;
        }
        EXPECT_EQ(45u, settings.frequency);
    }
}

TEST_F(KeyFileStoreTest, AStoredDesktopModeStaysAndIsWrittenBackOnEveryLoad) {
    WriteFile(path, RecordFile({{"Display Width", "0"}, {"Display Height", "0"}, {"Display Bits", "0"}}));
    for (int load = 0; load < 2; ++load) {
        ino_t before = Inode(path);
        settings.Load();
        EXPECT_NE(before, Inode(path)) << "load " << load;
        EXPECT_EQ(0u, settings.displayWidth + settings.displayHeight + settings.displayBits);
        EXPECT_EQ(3u, settings.stars);
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
    gchar* text = nullptr;
    ASSERT_TRUE(g_file_get_contents(path.c_str(), &text, nullptr, nullptr));
    EXPECT_NE(nullptr, std::strstr(text, "# kept at the top"));
    EXPECT_NE(nullptr, std::strstr(text, "# a note of the user"));
    g_free(text);
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

namespace {

std::vector<std::string> EveryWriteMessage() {
    std::vector<std::string> texts;
    for (const SettingsValue& value : SETTINGS_VALUES) {
        texts.push_back(std::string("Could Not Write '") + value.name + "' To Registry");
    }
    return texts;
}

std::vector<std::string> ReportedTexts(size_t from) {
    std::vector<std::string> texts;
    for (size_t i = from; i < g_reportedErrors.size(); ++i) {
        EXPECT_EQ("Error", g_reportedErrors[i].caption);
        EXPECT_EQ(REPORT_PLAIN, g_reportedErrors[i].icon);
        texts.push_back(g_reportedErrors[i].text);
    }
    return texts;
}

}  // namespace

// Root ignores permission bits, so a file where the folder should be is what makes opening fail.
TEST_F(KeyFileStoreTest, AStoreThatCannotBeOpenedReportsOnceAndEveryLoadFallsBackToTheDefaults) {
    WriteFile(configHome + "/blocked", "a file, not a folder");
    for (std::string blocked : {configHome + "/blocked", configHome + "/blocked/below"}) {
        g_reportedErrors.clear();
        setenv("XDG_CONFIG_HOME", blocked.c_str(), 1);
        Settings unopened;
        unopened.key = OpenKeyFileStore();
        ASSERT_EQ(nullptr, unopened.key);
        ASSERT_EQ(std::vector<std::string>{"Could Not Open Registry Key"}, ReportedTexts(0));

        unopened.frequency = 45;
        unopened.displayWidth = 800;
        unopened.Load();
        for (const SettingsValue& value : SETTINGS_VALUES) {
            EXPECT_EQ(value.defaultValue, unopened.*value.field) << value.name;
        }
        EXPECT_EQ(EveryWriteMessage(), ReportedTexts(1));
    }
}

TEST_F(KeyFileStoreTest, ASaveThatCannotBeWrittenReportsEveryValueAndGoesOn) {
    WriteFile(path, RecordFile());
    settings.Load();
    RemoveTree(storeFolder);
    WriteFile(storeFolder, "a file, not a folder");

    settings.Save();
    EXPECT_EQ(EveryWriteMessage(), ReportedTexts(0));
    EXPECT_EQ(45u, settings.frequency) << "the record is kept";

    g_reportedErrors.clear();
    settings.Load();
    EXPECT_EQ(30u, settings.frequency);
    EXPECT_EQ(EveryWriteMessage(), ReportedTexts(0));
}

// Screen-saver daemons often start hacks without XDG variables: HOME alone must find the store.
TEST_F(KeyFileStoreTest, WithoutAnAbsoluteXdgConfigHomeTheStoreLivesUnderHomeDotConfig) {
    std::string home = MakeTempFolder();
    std::string savedHome = getenv("HOME");
    setenv("HOME", home.c_str(), 1);
    for (const char* configHomeValue : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        if (configHomeValue) {
            setenv("XDG_CONFIG_HOME", configHomeValue, 1);
        } else {
            unsetenv("XDG_CONFIG_HOME");
        }
        Settings homeOnly;
        homeOnly.key = OpenKeyFileStore();
        homeOnly.Load();
        CloseKeyFileStore(homeOnly.key);
        std::string expected = home + "/.config/vesperglow/vesperglow.conf";
        EXPECT_EQ("30", StoredText(expected, SETTINGS_GROUP, "Frequency")) << (configHomeValue ? configHomeValue : "unset");
        RemoveTree(home + "/.config");
    }
    setenv("HOME", savedHome.c_str(), 1);
    RemoveTree(home);
    EXPECT_TRUE(g_reportedErrors.empty());
}
