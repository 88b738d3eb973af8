#pragma once
// Real key files in fresh folders under this test's HOME, and a valid record to store in them.
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>

#include <gtest/gtest.h>

#include "host/linux/keyfile_store.h"
#include "settings/settings.h"
#include "tests/support/fake_platform.h"

inline const char SETTINGS_GROUP[] = "Control Panel\\Screen Saver.Vesperglow";

// A valid record that differs from the defaults everywhere, with an explicit display mode so that
// loading it writes nothing back.
inline const uint32_t RECORD_VALUES[SETTINGS_VALUE_COUNT] = {45, 800, 600, 32, 0, 0, 0, 0, 0, 3, 2, 3, 4, 6, 7, 8, 9};

inline std::string MakeTempFolder() {
    std::string pattern = std::string(getenv("HOME") ? getenv("HOME") : "/tmp") + "/store.XXXXXX";
    EXPECT_NE(nullptr, mkdtemp(pattern.data())) << pattern;
    return pattern;
}

inline void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

inline void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// What tells a file from its replacement or an edit of it: inode, type and mode, modification time
// (of a symlink itself, not its target). Zeros when missing.
typedef std::tuple<ino_t, mode_t, time_t, long> FileStamp;
inline FileStamp Stamp(const std::string& path) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) return {};
    return {info.st_ino, info.st_mode, info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
}

// The text with the last `from` in it replaced by `to`.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.rfind(from);
    EXPECT_NE(std::string::npos, at) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// The record as a key file.
inline std::string RecordFile() {
    std::string text = std::string("[") + SETTINGS_GROUP + "]\n";
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i)
        text += std::string(SETTINGS_VALUES[i].name) + "=" + std::to_string(RECORD_VALUES[i]) + "\n";
    return text;
}

// A key file store of its own: XDG_CONFIG_HOME points at a fresh folder and the store is opened there.
class KeyFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_reportedErrors.clear();
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        settings.key = OpenKeyFileStore();
        std::filesystem::create_directories(storeFolder);
    }
    void TearDown() override {
        CloseKeyFileStore(settings.key);
        RemoveTree(configHome);
    }

    const std::string configHome = MakeTempFolder();
    const std::string storeFolder = configHome + "/vesperglow";
    const std::string path = storeFolder + "/vesperglow.conf";
    Settings settings;
};
