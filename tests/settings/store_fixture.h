#pragma once
#include <sys/types.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "settings/settings.h"

extern const char SETTINGS_GROUP[];

// A fresh folder under this test's HOME.
std::string MakeTempFolder();
void RemoveTree(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);
bool IsFolder(const std::string& path);
bool IsFile(const std::string& path);
ino_t Inode(const std::string& path);  // 0 when missing; a save replaces the file, so the inode changes

// The stored text of a value, nullopt when the file, the group or the key is missing.
std::optional<std::string> StoredText(const std::string& path, const std::string& group, const char* name);

// A valid record that differs from the defaults everywhere, with an explicit display mode so that
// loading it writes nothing back. An override replaces a value's text; nullopt leaves the value out.
typedef std::vector<std::pair<std::string, std::optional<std::string>>> Overrides;
std::string RecordFile(const Overrides& overrides = {});
uint32_t RecordValue(const char* name);

uint32_t& FieldOf(Settings& settings, const char* name);
::testing::AssertionResult EveryFieldInRange(const Settings& settings);

// A key file store of its own: XDG_CONFIG_HOME points at a fresh folder and the store is opened there.
class KeyFileStoreTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string configHome;
    std::string storeFolder;
    std::string path;
    Settings settings;
};
