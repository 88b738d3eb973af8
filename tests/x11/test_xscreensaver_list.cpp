#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "host/x11/xscreensaver_list.h"

// Real files in this test's own HOME, in the layouts xscreensaver writes: tabs, "\n\" continuations,
// disabled entries, a blank line after the list.
class XscreensaverList : public ::testing::Test {
protected:
    std::string folder = std::string(std::getenv("HOME")) + "/list";
    std::string user = folder + "/.xscreensaver";
    std::string backup = user + ".before-vesperglow";
    std::string systemList = folder + "/XScreenSaver";
    std::string problem;

    void SetUp() override {
        ASSERT_EQ(0, system(("rm -rf " + folder + " && mkdir -p " + folder).c_str()));
        Write(systemList, "*lock:\tFalse\n*programs:\t\t\\\n\t\tmaze --root\t\\n\\\n- GL:\t\tgears --root\t\\n\n\n*fade:\tTrue\n");
    }
    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string Read(const std::string& path) {
        std::stringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    }
    ListEdit Add() { return AddToXscreensaverList(user, systemList, backup, &problem); }
};

// In the layout xscreensaver writes. (A symlink and the file's mode are kept by the file
// replacement the settings store shares, and tested there.)
TEST_F(XscreensaverList, KeepsEveryOtherLineAndABackup) {
    const std::string old =
        "# my settings\ntimeout:\t0:05:00\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n"
        "- \"Gears\" GL:\tgears --root\t\\n\\\n\n\nselected:\t1\n";
    Write(user, old);
    ASSERT_EQ(LIST_EDIT_ADDED, Add()) << problem;
    EXPECT_EQ("# my settings\ntimeout:\t0:05:00\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n"
              "- \"Gears\" GL:\tgears --root\t\\n\\\n  GL: vesperglow --root \\n\\\n\n\nselected:\t1\n",
              Read(user));
    EXPECT_EQ(old, Read(backup));
}

TEST_F(XscreensaverList, AnEntryRunningItAlreadyCountsEvenDisabledOrWithAPath) {
    for (const char* entry : {"- GL: /usr/bin/vesperglow --root", "\"Fireworks\" vesperglow --root --stars 3",
                              "vesperglow"}) {
        const std::string text = std::string("programs: \\\n  maze --root \\n\\\n") + entry + " \\n\n";
        Write(user, text);
        EXPECT_EQ(LIST_EDIT_ALREADY_THERE, Add()) << entry;
        EXPECT_EQ(text, Read(user));
    }
    Write(user, "programs: vesperglowing --root\n");
    EXPECT_EQ(LIST_EDIT_ADDED, Add());
}

TEST_F(XscreensaverList, WithNeitherFileNothingIsWritten) {
    unlink(systemList.c_str());
    EXPECT_EQ(LIST_EDIT_FAILED, Add());
    EXPECT_EQ("cannot read " + systemList + ": No such file or directory", problem);
    EXPECT_NE(0, access(user.c_str(), F_OK));
}

// The daemon reads continued lines as one and takes the last programs resource.
TEST_F(XscreensaverList, TheListIsTheOneTheDaemonReads) {
    const std::string entry = "  GL: vesperglow --root \\n";
    const std::string system = "programs:\t\t\\\n\t\tmaze --root\t\\n\\\n- GL:\t\tgears --root\t\\n\\\n" + entry + "\n";
    const std::pair<std::string, std::string> cases[] = {
        {"programs: a\nprograms: b\n", "programs: a\nprograms: b \\n\\\n" + entry + "\n"},
        {"\\\nprograms:s", "\\\nprograms:s \\n\\\n" + entry},
        {"progr\\\nams:", "progr\\\nams:\\\n" + entry},
        {":\\", ":\\\n\n" + system}};
    for (const auto& [old, added] : cases) {
        Write(user, old);
        EXPECT_EQ(LIST_EDIT_ADDED, Add()) << old;
        EXPECT_EQ(added, Read(user)) << old;
    }
}
