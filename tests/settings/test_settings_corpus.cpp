#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/settings/store_fixture.h"
#include "tests/support/fake_platform.h"

namespace {

const char* const TOKENS[] = {
    "=", "[", "]", "\n", "\r\n", "#", ";", "\\", " ", "\t", "-1", "0x10", "4294967295", "4294967296",
    "99999999999999999999", "\xff\xfe", "\xc3\x28", "[Control Panel\\Screen Saver.Vesperglow]\n", "[Other]\n",
    "Stars=", "Frequency=9\n", "Display Width=0\n", "Waver Weight=11\n", "Alpha Blending[de]=1\n",
};

const char* const VALUE_TOKENS[] = {"", "0", "1", "4", "10", "11", "60", "61", "-1", "+3", " 5", "5 ", "0x10", "1e3",
                                    "2147483648", "4294967295", "4294967296", "18446744073709551616", "007", "\\s",
                                    "five", "3;4"};

// Replaces the text after the '=' of a random line with a value token or random digits.
void ReplaceValue(std::string& text, std::mt19937& random) {
    size_t equals = text.find('=', random() % (text.size() + 1));
    if (equals == std::string::npos) return;
    size_t end = text.find('\n', equals);
    std::string value;
    if (random() % 2) {
        value = VALUE_TOKENS[random() % (sizeof VALUE_TOKENS / sizeof VALUE_TOKENS[0])];
    } else {
        for (unsigned digits = random() % 12 + 1; digits > 0; --digits) value += char('0' + random() % 10);
    }
    text.replace(equals + 1, end == std::string::npos ? std::string::npos : end - equals - 1, value);
}

// One random edit of the text: a byte changed, bytes inserted, a range cut, a token or a line
// repeated, the text cut short, or a value replaced (which keeps the file parseable more often).
void Mangle(std::string& text, std::mt19937& random) {
    auto at = [&](size_t limit) { return limit == 0 ? 0 : size_t(random() % (limit + 1)); };
    switch (random() % 9) {
    case 0:
        if (!text.empty()) text[at(text.size() - 1)] = char(random() % 256);
        break;
    case 1:
        for (unsigned count = random() % 8 + 1; count > 0; --count) text.insert(at(text.size()), 1, char(random() % 256));
        break;
    case 2: {
        size_t from = at(text.size());
        text.erase(from, random() % 40);
        break;
    }
    case 3:
        text.insert(at(text.size()), TOKENS[random() % (sizeof TOKENS / sizeof TOKENS[0])]);
        break;
    case 4: {
        size_t from = at(text.size());
        size_t end = text.find('\n', from);
        text.insert(at(text.size()), text.substr(from, end == std::string::npos ? end : end - from + 1));
        break;
    }
    case 5:
        text.resize(at(text.size()));
        break;
    default:
        ReplaceValue(text, random);
        break;
    }
}

}  // namespace

// Whatever bytes the file holds, a load ends in range, and loading again gives the same record:
// whatever the first load wrote back is read back unchanged.
TEST_F(KeyFileStoreTest, MangledFilesAlwaysLoadInRangeAndSettleAfterOneLoad) {
    const std::string seeds[] = {
        RecordFile(),
        RecordFile({{"Display Width", "0"}, {"Stars", "4"}}),
        "# comment\n[Other]\nkey=value\n\n" + RecordFile() + "Extra=1\n",
    };
    std::mt19937 random(20240611);
    int keptSomething = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string text;
        if (round % 10 == 9) {
            text.resize(random() % 1500);
            for (char& byte : text) byte = char(random() % 256);
        } else {
            text = seeds[round % 3];
            for (unsigned edits = random() % 8 + 1; edits > 0; --edits) Mangle(text, random);
        }
        WriteFile(path, text);

        settings.Load();
        ASSERT_TRUE(EveryFieldInRange(settings)) << "round " << round;
        Settings first = settings;
        for (const SettingsValue& value : SETTINGS_VALUES) {
            if (first.*value.field != value.defaultValue) {
                ++keptSomething;
                break;
            }
        }
        settings.Load();
        for (const SettingsValue& value : SETTINGS_VALUES) {
            ASSERT_EQ(first.*value.field, settings.*value.field) << value.name << ", round " << round;
        }
    }
    EXPECT_TRUE(g_reportedErrors.empty());
    // Enough edits must leave a file GLib still parses, or the corpus would only test the defaults.
    EXPECT_GT(keptSomething, 330);
    std::cout << keptSomething << " of 2000 mangled files kept a stored value\n";
}
