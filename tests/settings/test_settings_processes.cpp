#include <stdio.h>
#include <sys/wait.h>

#include <string>

#include "tests/settings/store_fixture.h"

namespace {

// Starts the settings helper in `home` with these `env` settings and HOME there, its stdout on a pipe.
FILE* StartHelper(const std::string& home, const std::string& environment, const std::string& arguments) {
    std::string command = "cd '" + home + "' && env " + environment + " HOME='" + home + "' " + VG_SETTINGS_HELPER +
                          " " + arguments;
    FILE* helper = popen(command.c_str(), "r");
    EXPECT_NE(nullptr, helper) << command;
    return helper;
}

// Waits for the helper; returns its exit status (-1 when it did not exit normally) and its stdout.
int FinishHelper(FILE* helper, std::string* output) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, helper)) > 0) output->append(buffer, got);
    int status = pclose(helper);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

// The store finds its file from HOME alone, as under a screen-saver daemon that passes no XDG
// variables (an empty or relative XDG_CONFIG_HOME counts as none), and the first load stores one
// group with every default, making the folder.
TEST(SettingsProcess, TheStoreFindsItsFileFromHomeAloneAndTheFirstLoadStoresTheDefaults) {
    std::string defaults;
    for (const SettingsValue& value : SETTINGS_VALUES)
        defaults += std::string(value.name) + "=" + std::to_string(value.defaultValue) + "\n";
    for (const char* configHome : {"-u XDG_CONFIG_HOME", "XDG_CONFIG_HOME=", "XDG_CONFIG_HOME=relative/config"}) {
        SCOPED_TRACE(configHome);
        std::string home = MakeTempFolder();
        std::string output;
        EXPECT_EQ(0, FinishHelper(StartHelper(home, configHome, "load"), &output));
        EXPECT_EQ(defaults, output);
        EXPECT_EQ(std::string("[") + SETTINGS_GROUP + "]\n" + defaults, ReadFile(home + "/.config/vesperglow/vesperglow.conf"));
        RemoveTree(home);
    }
}

// Two savers of different records in tight loops and a reader between them: every read sees one
// record whole, never a mix or a short file.
TEST(SettingsProcess, TwoWritersAndAReaderNeverSeeATornFile) {
    std::string home = MakeTempFolder();
    std::string environment = "XDG_CONFIG_HOME='" + home + "/config'";
    std::string ignored, report;
    ASSERT_EQ(0, FinishHelper(StartHelper(home, environment, "save a 1"), &ignored));

    FILE* reader = StartHelper(home, environment, "check stop");
    FILE* writerA = StartHelper(home, environment, "save a 300");
    FILE* writerB = StartHelper(home, environment, "save b 300");
    EXPECT_EQ(0, FinishHelper(writerA, &ignored));
    EXPECT_EQ(0, FinishHelper(writerB, &ignored));
    WriteFile(home + "/stop", "");
    EXPECT_EQ(0, FinishHelper(reader, &report)) << report;
    EXPECT_NE(std::string::npos, report.find("torn=0")) << report;
    std::cout << "reader: " << report;
    RemoveTree(home);
}
