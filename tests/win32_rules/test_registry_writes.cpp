#include <gtest/gtest.h>

#include <vector>

#include "host/win32/changed_values.h"

// A store that fails two writes: only values that differ are written, each of them is still tried
// after a failure, and the first failure is the one named.
TEST(RegistryWrites, OnlyDifferingValuesAllTriedFirstFailureNamed) {
    uint32_t stored[SETTINGS_VALUE_COUNT] = {}, values[SETTINGS_VALUE_COUNT] = {};
    bool present[SETTINGS_VALUE_COUNT] = {true, true, true, false, true, true, true, true, true, true, true, true, true,
                                          true, true, true, true};
    values[9] = 3;    // differs
    stored[12] = 7;   // differs
    values[16] = 4;   // differs; value 3 is missing, so written although the numbers agree
    std::vector<int> written;
    auto failTwo = [&written](int i) { return written.push_back(i), i != 9 && i != 12; };
    EXPECT_EQ(9, WriteChangedValues(stored, present, values, failTwo));
    EXPECT_EQ(std::vector<int>({3, 9, 12, 16}), written);
    present[3] = true;
    values[9] = values[16] = stored[12] = 0;
    written.clear();
    EXPECT_EQ(-1, WriteChangedValues(stored, present, values, failTwo));
    EXPECT_TRUE(written.empty());
}
