#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/settings/store_fixture.h"

namespace {

struct Helper {
    pid_t pid = -1;
    int output = -1;
};

// Starts the helper with this HOME and XDG_CONFIG_HOME (empty: unset), its stdout on a pipe.
Helper StartHelper(const std::vector<std::string>& args, const std::string& home, const std::string& configHome) {
    int pipeEnds[2];
    EXPECT_EQ(0, pipe(pipeEnds));
    Helper helper;
    helper.pid = fork();
    if (helper.pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        setenv("HOME", home.c_str(), 1);
        if (configHome.empty()) {
            unsetenv("XDG_CONFIG_HOME");
        } else {
            setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(VG_SETTINGS_HELPER)};
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(VG_SETTINGS_HELPER, argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    helper.output = pipeEnds[0];
    return helper;
}

// Waits for the helper; returns its exit status (-1 when it did not exit normally) and its stdout.
int FinishHelper(const Helper& helper, std::string* output) {
    char buffer[4096];
    ssize_t got;
    while ((got = read(helper.output, buffer, sizeof buffer)) > 0) output->append(buffer, size_t(got));
    close(helper.output);
    int status = 0;
    waitpid(helper.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunHelper(const std::vector<std::string>& args, const std::string& home, const std::string& configHome,
              std::string* output) {
    return FinishHelper(StartHelper(args, home, configHome), output);
}

}  // namespace

// The store opens before main from HOME alone, as under a screen-saver daemon that passes no XDG variables.
TEST(SettingsProcess, OpensBeforeMainWritingNothingAndTheFirstLoadStoresTheDefaults) {
    std::string home = MakeTempFolder();
    std::string folder = home + "/.config/vesperglow";
    std::string output;

    EXPECT_EQ(0, RunHelper({"open"}, home, "", &output));
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_FALSE(IsFile(folder + "/vesperglow.conf"));

    EXPECT_EQ(0, RunHelper({"load"}, home, "", &output));
    std::string expected;
    for (const SettingsValue& value : SETTINGS_VALUES) {
        expected += std::string(value.name) + "=" + std::to_string(value.defaultValue) + "\n";
        EXPECT_EQ(std::to_string(value.defaultValue), StoredText(folder + "/vesperglow.conf", SETTINGS_GROUP, value.name));
    }
    EXPECT_EQ(expected, output);
    RemoveTree(home);
}

// Two savers of different records in tight loops and a reader between them: every read sees one
// record whole, never a mix or a short file.
TEST(SettingsProcess, TwoWritersAndAReaderNeverSeeATornFile) {
    std::string home = MakeTempFolder();
    std::string configHome = home + "/config";
    std::string stopFile = home + "/stop";
    std::string ignored;
    ASSERT_EQ(0, RunHelper({"save", "a", "1"}, home, configHome, &ignored));

    Helper reader = StartHelper({"check", stopFile}, home, configHome);
    Helper writerA = StartHelper({"save", "a", "300"}, home, configHome);
    Helper writerB = StartHelper({"save", "b", "300"}, home, configHome);
    std::string outputA, outputB, report;
    EXPECT_EQ(0, FinishHelper(writerA, &outputA));
    EXPECT_EQ(0, FinishHelper(writerB, &outputB));
    WriteFile(stopFile, "");
    EXPECT_EQ(0, FinishHelper(reader, &report)) << report;
    EXPECT_NE(std::string::npos, report.find("torn=0")) << report;
    std::cout << "reader: " << report;
    RemoveTree(home);
}
