#include <gtest/gtest.h>

#include "host/win32/saver_switches.h"

static void ExpectCommand(const char* arguments, SaverSwitch kind, uint32_t window) {
    SaverCommand command = ParseSaverSwitches(arguments);
    EXPECT_EQ(command.kind, kind) << arguments;
    EXPECT_EQ(command.window, window) << arguments;
}

TEST(SaverSwitches, NoArgumentMeansSettingsWithoutOwner) {
    ExpectCommand("", SWITCH_SETTINGS_UNOWNED, 0);
    ExpectCommand("  ", SWITCH_SETTINGS_UNOWNED, 0);
    ExpectCommand("/", SWITCH_SETTINGS_UNOWNED, 0);
}

TEST(SaverSwitches, RunInAnySpelling) {
    ExpectCommand("/s", SWITCH_RUN, 0);
    ExpectCommand("-S", SWITCH_RUN, 0);
    ExpectCommand(" s", SWITCH_RUN, 0);
    ExpectCommand("//--s trailing", SWITCH_RUN, 0);
}

TEST(SaverSwitches, PreviewReadsTheHandleAfterSpaces) {
    ExpectCommand("/p 1234", SWITCH_PREVIEW, 1234);
    ExpectCommand("/P1234", SWITCH_PREVIEW, 1234);
    ExpectCommand("-l   77x", SWITCH_PREVIEW, 77);
    ExpectCommand("/p", SWITCH_PREVIEW, 0);
    ExpectCommand("/p -5", SWITCH_PREVIEW, 0);  // no sign: the handle is missing
}

TEST(SaverSwitches, SettingsOwnerOnlyAfterAColon) {
    ExpectCommand("/c:1234", SWITCH_SETTINGS, 1234);
    ExpectCommand("/c 1234", SWITCH_SETTINGS, 0);
    ExpectCommand("/C", SWITCH_SETTINGS, 0);
    ExpectCommand("/c:", SWITCH_SETTINGS, 0);
}

TEST(SaverSwitches, PasswordChangeTakesAHandle) {
    ExpectCommand("/a 99", SWITCH_CHANGE_PASSWORD, 99);
    ExpectCommand("/A", SWITCH_CHANGE_PASSWORD, 0);
}

TEST(SaverSwitches, AnythingElseIsInvalid) {
    ExpectCommand("/x", SWITCH_INVALID, 0);
    ExpectCommand("1234", SWITCH_INVALID, 0);
    ExpectCommand("\xE9", SWITCH_INVALID, 0);
}

TEST(SaverSwitches, DecimalWrapsModuloTwoToTheThirtyTwo) {
    ExpectCommand("/p 4294967295", SWITCH_PREVIEW, 4294967295u);
    ExpectCommand("/p 4294967296", SWITCH_PREVIEW, 0);
    ExpectCommand("/p 4294967297", SWITCH_PREVIEW, 1);
    ExpectCommand("/p 99999999999999999999", SWITCH_PREVIEW, 1661992959u);  // the number modulo 2^32
}

TEST(SaverSwitches, DecimalStopsAtTheFirstNonDigit) {
    const char* text = "12\xB3" "4";
    const char* cursor = text;
    EXPECT_EQ(ReadDecimal(&cursor), 12u);
    EXPECT_EQ(cursor, text + 2);
}
