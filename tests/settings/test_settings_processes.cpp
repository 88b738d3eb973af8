#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "settings/settings_store.h"
#include "tests/settings/store_fixture.h"

// The store finds its file from HOME alone, as under a screen-saver daemon that passes no XDG
// variables (an empty or relative XDG_CONFIG_HOME counts as none), and the first load stores one
// group with every default, making the folder.
TEST(SettingsProcess, TheStoreFindsItsFileFromHomeAloneAndTheFirstLoadStoresTheDefaults) {
    std::string defaults = std::string("[") + SETTINGS_GROUP + "]\n";
    for (const SettingsValue& value : SETTINGS_VALUES)
        defaults += std::string(value.name) + "=" + std::to_string(value.defaultValue) + "\n";
    const std::string homes = MakeTempFolder();
    int count = 0;
    for (const char* configHome : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(configHome ? configHome : "(unset)");
        const std::string home = homes + "/" + std::to_string(++count);
        ASSERT_EQ(0, mkdir(home.c_str(), 0700));
        ASSERT_EQ(0, chdir(home.c_str()));  // where a relative folder would land
        setenv("HOME", home.c_str(), 1);
        configHome ? setenv("XDG_CONFIG_HOME", configHome, 1) : unsetenv("XDG_CONFIG_HOME");
        Settings settings;
        settings.key = OpenKeyFileStore();
        settings.frequency = 45;
        settings.Load();
        CloseKeyFileStore(settings.key);
        EXPECT_EQ(30u, settings.frequency);
        EXPECT_EQ(defaults, ReadFile(home + "/.config/vesperglow/vesperglow.conf"));
        EXPECT_FALSE(std::filesystem::exists(home + "/relative"));
    }
    RemoveTree(homes);
}

namespace {

// Two valid records that differ in every value, with explicit modes so a load writes nothing back.
const uint32_t PROFILES[2][SETTINGS_VALUE_COUNT] = {
    {10, 640, 480, 16, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 6, 7},
    {60, 1024, 768, 32, 1, 1, 1, 1, 1, 4, 10, 9, 8, 7, 6, 5, 3},
};

bool IsAProfile(const uint32_t values[SETTINGS_VALUE_COUNT]) {
    return std::memcmp(values, PROFILES[0], sizeof PROFILES[0]) == 0 ||
           std::memcmp(values, PROFILES[1], sizeof PROFILES[1]) == 0;
}

// Saves the two records in turn, starting with `first`: each save changes the file.
void SaveProfiles(int first, int times) {
    Settings settings;
    settings.key = OpenKeyFileStore();
    for (int save = 0; save < times; ++save) {
        for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
            settings.*SETTINGS_VALUES[i].field = PROFILES[(first + save) % 2][i];
        settings.Save();
    }
    CloseKeyFileStore(settings.key);
}

}  // namespace

// Two processes save records in tight loops while this one reads between them: every read sees one
// record whole, never a mix or a short file.
TEST(SettingsProcess, TwoWritersAndAReaderNeverSeeATornFile) {
    const std::string configHome = MakeTempFolder();
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    SaveProfiles(0, 1);
    pid_t writers[2];
    for (int profile : {0, 1}) {
        if ((writers[profile] = fork()) == 0) {
            SaveProfiles(profile, 300);
            _exit(g_reportedErrors.empty() ? 0 : 1);
        }
    }
    Settings reader;
    reader.key = OpenKeyFileStore();
    int loads = 0, torn = 0, running = 2;
    for (; running > 0; ++loads) {
        uint32_t values[SETTINGS_VALUE_COUNT];
        bool present[SETTINGS_VALUE_COUNT];
        ReadStoredValues(reader.key, values, present);
        torn += !IsAProfile(values) || std::count(present, present + SETTINGS_VALUE_COUNT, false) != 0;
        reader.Load();
        for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) values[i] = reader.*SETTINGS_VALUES[i].field;
        torn += !IsAProfile(values);
        for (pid_t& writer : writers) {
            int status = -1;
            if (writer > 0 && waitpid(writer, &status, WNOHANG) == writer) {
                EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
                writer = 0;
                --running;
            }
        }
    }
    CloseKeyFileStore(reader.key);
    EXPECT_EQ(0, torn) << "of " << loads << " reads";
    EXPECT_TRUE(g_reportedErrors.empty());
    std::cout << loads << " reads while two processes saved 300 times each, " << torn << " torn\n";
    RemoveTree(configHome);
}
