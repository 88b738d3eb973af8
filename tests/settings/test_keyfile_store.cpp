#include <sys/stat.h>
#include <unistd.h>

#include <functional>

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
        FileStamp before = Stamp(path);
        settings.Load();

        EXPECT_EQ(stored.loaded, settings.*ValueNamed(stored.name).field);
        EXPECT_TRUE(EveryFieldInRange(settings));
        EXPECT_EQ(stored.text != std::to_string(stored.loaded), before != Stamp(path)) << "written back";
        EXPECT_EQ(std::to_string(stored.loaded), StoredText(path, SETTINGS_GROUP, stored.name));
        for (const SettingsValue& value : SETTINGS_VALUES) {
            if (std::string(value.name) == stored.name) continue;
            const uint32_t recorded = RECORD_VALUES[&value - SETTINGS_VALUES];
            EXPECT_EQ(recorded, settings.*value.field) << value.name;
            EXPECT_EQ(std::to_string(recorded), StoredText(path, SETTINGS_GROUP, value.name));
        }
    }
    EXPECT_TRUE(g_reportedErrors.empty());
}

// A mode is all three values or none: a partly zero one becomes the desktop's and is written back.
// The desktop's 0/0/0 is written back on every load too, but that changes no byte, so the file is
// not touched at all (a package's tests and a dotfile repository rely on that).
TEST_F(KeyFileStoreTest, APartlyZeroModeBecomesTheDesktopsAndAnUnchangedFileIsNeverRewritten) {
    const Overrides modes[] = {
        {{"Display Width", "1024"}, {"Display Height", "0"}, {"Display Bits", "32"}},
        {{"Display Width", "0"}, {"Display Height", "600"}, {"Display Bits", "0"}},
        {{"Display Width", "1024"}, {"Display Height", std::nullopt}, {"Display Bits", "32"}},
        {{"Display Width", "0"}, {"Display Height", "0"}, {"Display Bits", "0"}},
    };
    for (const Overrides& mode : modes) {
        WriteFile(path, RecordFile(mode));
        bool desktops = &mode == &modes[3];
        for (int load = 0; load < 2; ++load) {
            FileStamp before = Stamp(path);
            settings.Load();
            EXPECT_EQ(load == 0 && !desktops, before != Stamp(path)) << "load " << load << " rewrote the file";
            for (const char* name : {"Display Width", "Display Height", "Display Bits"}) {
                EXPECT_EQ(0u, settings.*ValueNamed(name).field) << name;
                EXPECT_EQ("0", StoredText(path, SETTINGS_GROUP, name)) << name;
            }
            EXPECT_EQ(45u, settings.frequency);
        }
        EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(storeFolder), {})) << "a file was left";
    }
}

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
// comments, other groups, a byte-order mark, CRLF endings.
TEST_F(KeyFileStoreTest, DamagedFilesLoadWhatParsesAndASaveChangesOnlyOurValues) {
    const std::string group = std::string("[") + SETTINGS_GROUP + "]";
    const std::string record = RecordFile();  // Frequency=45, Stars=3
    std::string crlf;
    for (char c : record) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    struct Case {
        std::string text;
        uint32_t frequency;
        uint32_t stars;
        std::string saved;  // empty: the text with its last "Frequency=45" made "Frequency=12"
    };
    const Case cases[] = {
        {"this line has no equals sign\n" + record, 45, 3, ""},
        {"\xEF\xBB\xBF# written by Notepad\n" + record, 45, 3, ""},
        {"# mine\n[Another Program]\ncolour=blue\nFrequency 45\n[Broken\nFrequency=50\n\n" + record +
             "# a note\nNot A Setting=hello\n[Bad[Name]\nStars=4\n",
         45, 3, ""},
        {"Frequency=50\n" + record + "Frequency[de]=50\nStars=4\n[Other]\nx=1\n  " + group + " \t\n  Frequency =  50\n",
         50, 4, "Frequency=50\n" + record + "Frequency[de]=50\nStars=4\n[Other]\nx=1\n  " + group + " \t\n  Frequency =  12\n"},
        {crlf, 45, 3, ""},
        {"# no group and no line feed", 30, 1, "# no group and no line feed\n\n" + group + "\n" + AddedLines("\n")},
        {group + "\r\nStars=3", 30, 3, group + "\r\nStars=3\r\n" + AddedLines("\r\n", "Stars")},
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
