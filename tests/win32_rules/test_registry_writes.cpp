#include <gtest/gtest.h>

#include <vector>

#include "host/win32/changed_values.h"

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
