#include "tests/settings/store_fixture.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include <glib.h>

#include "settings/keyfile_store.h"
#include "tests/support/fake_platform.h"

const char SETTINGS_GROUP[] = "Control Panel\\Screen Saver.Vesperglow";

namespace {

const uint32_t RECORD_VALUES[SETTINGS_VALUE_COUNT] = {45, 800, 600, 32, 0, 0, 0, 0, 0, 3, 2, 3, 4, 6, 7, 8, 9};

int IndexOf(const char* name) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        if (std::strcmp(SETTINGS_VALUES[i].name, name) == 0) return i;
    }
    ADD_FAILURE() << "no setting named " << name;
    return 0;
}

}  // namespace

std::string MakeTempFolder() {
    const char* home = getenv("HOME");
    std::string pattern = std::string(home && home[0] ? home : "/tmp") + "/store.XXXXXX";
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp " << pattern;
    return pattern;
}

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

ino_t Inode(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

std::optional<std::string> StoredText(const std::string& path, const std::string& group, const char* name) {
    GKeyFile* file = g_key_file_new();
    std::optional<std::string> text;
    if (g_key_file_load_from_file(file, path.c_str(), G_KEY_FILE_NONE, nullptr)) {
        gchar* value = g_key_file_get_value(file, group.c_str(), name, nullptr);
        if (value) text = value;
        g_free(value);
    }
    g_key_file_free(file);
    return text;
}

std::string RecordFile(const Overrides& overrides) {
    std::string text = std::string("[") + SETTINGS_GROUP + "]\n";
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        std::optional<std::string> value = std::to_string(RECORD_VALUES[i]);
        for (const auto& [name, replacement] : overrides) {
            if (name == SETTINGS_VALUES[i].name) value = replacement;
        }
        if (value) text += std::string(SETTINGS_VALUES[i].name) + "=" + *value + "\n";
    }
    return text;
}

uint32_t RecordValue(const char* name) {
    return RECORD_VALUES[IndexOf(name)];
}

uint32_t& FieldOf(Settings& settings, const char* name) {
    return settings.*SETTINGS_VALUES[IndexOf(name)].field;
}

::testing::AssertionResult EveryFieldInRange(const Settings& settings) {
    for (const SettingsValue& value : SETTINGS_VALUES) {
        uint32_t field = settings.*value.field;
        if (value.ranged && (field < value.minimum || field > value.maximum)) {
            return ::testing::AssertionFailure() << value.name << " is " << field;
        }
    }
    int zeros = (settings.displayWidth == 0) + (settings.displayHeight == 0) + (settings.displayBits == 0);
    if (zeros != 0 && zeros != 3) {
        return ::testing::AssertionFailure() << "mode " << settings.displayWidth << "x" << settings.displayHeight
                                             << "x" << settings.displayBits;
    }
    return ::testing::AssertionSuccess();
}

void KeyFileStoreTest::SetUp() {
    g_reportedErrors.clear();
    configHome = MakeTempFolder();
    storeFolder = configHome + "/vesperglow";
    path = storeFolder + "/vesperglow.conf";
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    settings.key = OpenKeyFileStore();
    ASSERT_NE(nullptr, settings.key);
}

void KeyFileStoreTest::TearDown() {
    CloseKeyFileStore(settings.key);
    RemoveTree(configHome);
}
