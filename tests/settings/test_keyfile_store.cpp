#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "seam/platform.h"
#include "tests/settings/store_fixture.h"

// The lines the first load adds to a group that lacks them (the defaults), after a save of Frequency 12.
static std::string AddedLines(const char* newline, const std::string& present = "") {
    std::string lines;
    for (const SettingsValue& value : SETTINGS_VALUES) {
        if (value.name == present) continue;
        lines += std::string(value.name) + "=" + (value.field == &Settings::frequency ? "12" : std::to_string(value.defaultValue)) + newline;
    }
    return lines;
}

// Whatever else the file holds, the values that parse count (the last of duplicates), a save of
// Frequency 12 changes only that value's text, and every other byte stays: lines GLib would reject,
// comments, other groups. (What GLib accepts, a byte-order mark or CRLF endings, its fuzz target shows.)
TEST_F(KeyFileStoreTest, DamagedFilesLoadWhatParsesAndASaveChangesOnlyOurValues) {
    const std::string group = std::string("[") + SETTINGS_GROUP + "]";
    const std::string record = RecordFile();  // Frequency=45, Stars=3
    struct Case {
        std::string text;
        uint32_t frequency;
        uint32_t stars;
        std::string saved;  // empty: the text with its last "Frequency=45" made "Frequency=12"
    };
    const Case cases[] = {
        {"this line has no equals sign\n" + record, 45, 3, ""},
        {"# mine\n[Another Program]\ncolour=blue\nFrequency 45\n[Broken\nFrequency=50\n\n" + record +
             "# a note\nNot A Setting=hello\n[Bad[Name]\nStars=4\n",
         45, 3, ""},
        {"Frequency=50\n" + record + "Frequency[de]=50\nStars=4\n[Other]\nx=1\n  " + group + " \t\n  Frequency =  50\n",
         50, 4, "Frequency=50\n" + record + "Frequency[de]=50\nStars=4\n[Other]\nx=1\n  " + group + " \t\n  Frequency =  12\n"},
        {"# no group and no line feed", 30, 1, "# no group and no line feed\n\n" + group + "\n" + AddedLines("\n")},
        {group + "\r\nStars=3", 30, 3, group + "\r\nStars=3\r\n" + AddedLines("\r\n", "Stars")},
        // GLib keeps the CR of a last line without an ending in its value: a lone LF would drop it.
        {"[C]\nt=w\r", 30, 1, "[C]\nt=w\r\r\n\n" + group + "\n" + AddedLines("\n")},
    };
    for (const Case& stored : cases) {
        SCOPED_TRACE(stored.text);
        WriteFile(path, stored.text);
        settings.Load();
        EXPECT_EQ(stored.frequency, settings.frequency);
        EXPECT_EQ(stored.stars, settings.stars);
        settings.frequency = 12;
        settings.Save();
        EXPECT_EQ(stored.saved.empty() ? Replaced(stored.text, "Frequency=45", "Frequency=12") : stored.saved,
                  ReadFile(path));
        FileStamp saved = Stamp(path);
        settings.Load();  // writes back the desktop's mode where the file has none: the same bytes
        EXPECT_EQ(saved, Stamp(path)) << "an unchanged file was rewritten";
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

// A save goes through a symlink (dotfile managers keep them) to its target, which keeps its
// permission bits whatever the umask; the link stays, and no temporary file is left beside either.
TEST_F(KeyFileStoreTest, ASaveEditsASymlinksTargetAndKeepsItsPermissionBits) {
    umask(022);
    const std::string dotfiles = configHome + "/dotfiles";
    std::filesystem::create_directories(dotfiles);
    for (mode_t mode : {0600, 0666}) {
        WriteFile(dotfiles + "/vesperglow.conf", RecordFile());
        chmod((dotfiles + "/vesperglow.conf").c_str(), mode);
        std::filesystem::remove(path);
        ASSERT_EQ(0, symlink("../dotfiles/vesperglow.conf", path.c_str()));
        FileStamp link = Stamp(path);
        settings.Load();
        settings.frequency = 12;
        settings.Save();

        EXPECT_EQ(link, Stamp(path)) << "the link was replaced";
        EXPECT_EQ(Replaced(RecordFile(), "Frequency=45", "Frequency=12"), ReadFile(dotfiles + "/vesperglow.conf"));
        EXPECT_EQ(mode, std::get<1>(Stamp(dotfiles + "/vesperglow.conf")) & 07777);
        for (const std::string& folder : {dotfiles, storeFolder})
            EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(folder), {})) << folder;
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

// What is no regular file is never read (a FIFO would block an ordinary open) and never replaced:
// the load falls back to the defaults, and its write-back says once which file and why. So does any
// save that fails, instead of one message per value.
TEST_F(KeyFileStoreTest, WhatIsNoRegularFileLoadsTheDefaultsStaysAsItIsAndIsReportedOnce) {
    const std::string elsewhere = configHome + "/fifo";
    ASSERT_EQ(0, mkfifo(elsewhere.c_str(), 0600));
    struct Case {
        std::function<int()> make;
        std::string made;  // what stands where the file or its folder should be
        const char* reason;
    };
    const Case cases[] = {
        {[&] { return mkfifo(path.c_str(), 0600); }, path, "not a regular file"},
        {[&] { return mkdir(path.c_str(), 0700); }, path, "not a regular file"},
        {[&] { return symlink(elsewhere.c_str(), path.c_str()); }, path, "not a regular file"},
        {[&] { return rmdir(storeFolder.c_str()) || !(std::ofstream(storeFolder) << "a file, not a folder"); },
         storeFolder, "Not a directory"},
    };
    for (const Case& blocked : cases) {
        SCOPED_TRACE(blocked.made + ": " + blocked.reason);
        RemoveTree(storeFolder);
        std::filesystem::create_directories(storeFolder);
        ASSERT_EQ(0, blocked.make());
        FileStamp before = Stamp(blocked.made);
        g_reportedErrors.clear();
        settings.frequency = 45;
        settings.Load();

        for (const SettingsValue& value : SETTINGS_VALUES)
            EXPECT_EQ(value.defaultValue, settings.*value.field) << value.name;
        ASSERT_EQ(1u, g_reportedErrors.size());
        EXPECT_EQ("Could Not Write '" + path + "': " + blocked.reason, g_reportedErrors[0].text);
        EXPECT_EQ("Error", g_reportedErrors[0].caption);
        EXPECT_EQ(REPORT_PLAIN, g_reportedErrors[0].icon);
        EXPECT_EQ(before, Stamp(blocked.made));
    }
}
