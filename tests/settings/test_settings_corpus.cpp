#include <algorithm>
#include <cstring>
#include <random>

#include "host/linux/keyfile_lines.h"
#include "tests/settings/store_fixture.h"

namespace {

// Pieces of key files, and numbers at the edges of what the loader accepts.
const char* const TOKENS[] = {
    "", "=", "[", "]", "\n", "\r\n", "#", ";", "\\", " ", "\t", "\xff\xfe", "\xc3\x28", "[Other]\n", "Stars=",
    "[Control Panel\\Screen Saver.Vesperglow]\n", "Display Width=0\n", "Alpha Blending[de]=1\n", "0", "1", "4", "10",
    "11", "60", "61", "-1", "+3", " 5", "5 ", "0x10", "1e3", "007", "\\s", "five", "3;4", "2147483648", "4294967295",
    "4294967296", "18446744073709551616"};

// One random edit: bytes changed or inserted, a range cut, a token inserted, a line repeated, or a
// value replaced by a token or digits (which keeps a value readable more often).
void Mangle(std::string& text, std::mt19937& random) {
    const char* token = TOKENS[random() % (sizeof TOKENS / sizeof TOKENS[0])];
    size_t from = random() % (text.size() + 1);
    size_t lineEnd = std::min(text.find('\n', from), text.size());
    size_t equals = text.find('=', from);
    std::string digits = std::to_string(random() % 100000) + std::to_string(random());
    switch (random() % 6) {
    case 0:
        text.insert(from, std::string(random() % 8 + 1, char(random())));
        break;
    case 1:
        text.erase(from, random() % 40);
        break;
    case 2:
        text.insert(from, token);
        break;
    case 3:
        text.insert(random() % (text.size() + 1), text.substr(from, lineEnd + 1 - from));
        break;
    default:
        if (equals != std::string::npos)
            text.replace(equals + 1, text.find('\n', equals) - equals - 1,
                         random() % 2 ? token : digits.substr(0, random() % 12 + 1));
    }
}

// Where GLib's own parser accepts a text, the store reads exactly the values GLib reads. False when
// GLib rejects it.
bool ReadsAsGLibDoes(const std::string& text, int round) {
    GKeyFile* file = g_key_file_new();
    bool parsed = g_key_file_load_from_data(file, text.data(), text.size(), G_KEY_FILE_NONE, nullptr);
    uint32_t values[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT];
    ReadGroupValues(text, SETTINGS_GROUP, values, present);
    for (int i = 0; parsed && i < SETTINGS_VALUE_COUNT; ++i) {
        gchar* stored = g_key_file_get_value(file, SETTINGS_GROUP, SETTINGS_VALUES[i].name, nullptr);
        bool number = stored && stored[0] && std::strspn(stored, "0123456789") == std::strlen(stored) &&
                      std::strtoull(stored, nullptr, 10) <= UINT32_MAX;
        EXPECT_EQ(number, present[i]) << SETTINGS_VALUES[i].name << ", round " << round;
        if (number && present[i]) {
            EXPECT_EQ(std::strtoull(stored, nullptr, 10), values[i]) << SETTINGS_VALUES[i].name;
        }
        g_free(stored);
    }
    g_key_file_free(file);
    return parsed;
}

// Each round writes and loads a file, and most loads write back (with an fsync): a few hundred
// rounds already meet every kind of edit many times.
const int ROUNDS = 400;

}  // namespace

// Whatever bytes the file holds, a load ends in range, and loading again gives the same record:
// whatever the first load wrote back is read back unchanged. Where GLib can read the file, the
// store reads the same values.
TEST_F(KeyFileStoreTest, MangledFilesAlwaysLoadInRangeAndSettleAfterOneLoad) {
    const std::string seeds[] = {
        RecordFile(),
        RecordFile({{"Display Width", "0"}, {"Stars", "4"}}),
        "# comment\n[Other]\nkey=value\n\n" + RecordFile() + "Extra=1\n",
    };
    std::mt19937 random(20240611);
    int keptSomething = 0;
    int readByGLib = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        std::string text = seeds[round % 3];
        if (round % 10 == 9) {
            text.resize(random() % 1500);
            for (char& byte : text) byte = char(random());
        } else {
            for (unsigned edits = random() % 8 + 1; edits > 0; --edits) Mangle(text, random);
        }
        WriteFile(path, text);
        readByGLib += ReadsAsGLibDoes(text, round);

        settings.Load();
        ASSERT_TRUE(EveryFieldInRange(settings)) << "round " << round;
        Settings first = settings;
        settings.Load();
        bool kept = false;
        for (const SettingsValue& value : SETTINGS_VALUES) {
            ASSERT_EQ(first.*value.field, settings.*value.field) << value.name << ", round " << round;
            kept = kept || first.*value.field != value.defaultValue;
        }
        keptSomething += kept;
    }
    EXPECT_TRUE(g_reportedErrors.empty());
    // Enough edits must leave values that still read, or the corpus would only test the defaults.
    EXPECT_GT(keptSomething, ROUNDS / 6);
    EXPECT_GT(readByGLib, ROUNDS / 6);
    std::cout << keptSomething << " of " << ROUNDS << " mangled files kept a stored value, " << readByGLib
              << " were read by GLib too\n";
}
