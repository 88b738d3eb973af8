#include <gtest/gtest.h>

#include <vector>

#include "host/win32/changed_values.h"
#include "host/win32/saver_switches.h"

TEST(SaverSwitches, EverySpellingOfEverySwitch) {
    struct Case {
        const char* arguments;
        SaverSwitch kind;
        uint32_t window;
    };
    const Case cases[] = {
        // No argument: the settings without an owner.
        {"", SWITCH_SETTINGS_UNOWNED, 0}, {"  ", SWITCH_SETTINGS_UNOWNED, 0}, {"/", SWITCH_SETTINGS_UNOWNED, 0},
        {"/s", SWITCH_RUN, 0}, {"-S", SWITCH_RUN, 0}, {" s", SWITCH_RUN, 0}, {"//--s trailing", SWITCH_RUN, 0},
        // The preview's handle may follow after spaces or none; a sign means it is missing.
        {"/p 1234", SWITCH_PREVIEW, 1234}, {"/P1234", SWITCH_PREVIEW, 1234}, {"-l   77x", SWITCH_PREVIEW, 77},
        {"/p", SWITCH_PREVIEW, 0}, {"/p -5", SWITCH_PREVIEW, 0},
        // The settings' owner only after a colon.
        {"/c:1234", SWITCH_SETTINGS, 1234}, {"/c 1234", SWITCH_SETTINGS, 0}, {"/C", SWITCH_SETTINGS, 0},
        {"/c:", SWITCH_SETTINGS, 0}, {"/a 99", SWITCH_CHANGE_PASSWORD, 99}, {"/A", SWITCH_CHANGE_PASSWORD, 0},
        {"/x", SWITCH_INVALID, 0}, {"1234", SWITCH_INVALID, 0}, {"\xE9", SWITCH_INVALID, 0},
        // Decimal handles wrap modulo 2^32.
        {"/p 4294967295", SWITCH_PREVIEW, 4294967295u}, {"/p 4294967296", SWITCH_PREVIEW, 0},
        {"/p 4294967297", SWITCH_PREVIEW, 1}, {"/p 99999999999999999999", SWITCH_PREVIEW, 1661992959u}};
    for (const Case& expected : cases) {
        SaverCommand command = ParseSaverSwitches(expected.arguments);
        EXPECT_EQ(expected.kind, command.kind) << '"' << expected.arguments << '"';
        EXPECT_EQ(expected.window, command.window) << '"' << expected.arguments << '"';
    }
}

TEST(SaverSwitches, DecimalStopsAtTheFirstNonDigit) {
    const char* text = "12\xB3" "4";
    const char* cursor = text;
    EXPECT_EQ(ReadDecimal(&cursor), 12u);
    EXPECT_EQ(cursor, text + 2);
}

// A store that fails two writes: only values that differ are written, each of them is still tried
// after a failure, and the first failure is the one named.
TEST(RegistryWrites, OnlyDifferingValuesAllTriedFirstFailureNamed) {
    uint32_t stored[SETTINGS_VALUE_COUNT] = {};
    bool present[SETTINGS_VALUE_COUNT] = {};
    uint32_t values[SETTINGS_VALUE_COUNT] = {};
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) stored[i] = values[i] = SETTINGS_VALUES[i].defaultValue;
    std::vector<int> written;
    auto record = [&written](int i) {
        written.push_back(i);
        return i != 9 && i != 12;
    };
    for (bool& held : present) held = true;
    EXPECT_EQ(-1, WriteChangedValues(stored, present, values, record));
    EXPECT_TRUE(written.empty());
    present[3] = false;  // missing: written even where the buffer holds the same number
    values[9] = 3;
    stored[12] = 7;
    values[16] = 0;
    EXPECT_EQ(9, WriteChangedValues(stored, present, values, record));
    EXPECT_EQ(std::vector<int>({3, 9, 12, 16}), written);
}
