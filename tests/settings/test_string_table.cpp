#include <gtest/gtest.h>

#include "seam/platform.h"

TEST(StringTable, HoldsTheApplicationNameAndTruncatesAsLoadStringA) {
    char buffer[40] = "x";
    EXPECT_EQ(10, HostLoadString(STRING_APP_NAME, buffer, sizeof buffer));
    EXPECT_STREQ("Vesperglow", buffer);
    EXPECT_EQ(4, HostLoadString(STRING_APP_NAME, buffer, 5));
    EXPECT_STREQ("Vesp", buffer);
    EXPECT_EQ(0, HostLoadString(4242, buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}
