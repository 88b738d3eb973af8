#include <algorithm>

#include <gtest/gtest.h>

#include "engine/stars_for_window.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, StarCountFollowsTheWindowAreaAndTheStarsSettingAtSixTableValuesAStar) {
    struct Case {
        int width, height;
        uint32_t stars;
        int expected;
    };
    // 1024 x 768 holds (768 / 60) x (1024 / 60) = 12 x 17 cells; under 60 pixels there are none.
    const Case cases[] = {{1024, 768, 0, 0},   {1024, 768, 1, 204}, {1024, 768, 2, 408}, {1024, 768, 3, 612},
                          {1024, 768, 4, 816}, {59, 768, 4, 0},     {1024, 59, 4, 0},    {119, 119, 4, 4}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " stars " << c.stars);
        g_settings.stars = c.stars;
        int cursor = g_randomTable.cursor;
        BuildStarsForWindow(c.width, c.height);
        EXPECT_EQ(c.expected, g_starField.count);
        EXPECT_EQ((cursor + 6 * c.expected) % 10000, g_randomTable.cursor);
        EXPECT_EQ(c.expected == 0, g_starField.starArray == nullptr);
    }
}

TEST_F(SimTest, StarsLieInsideTheWindowWithTintedGreysThatTwilightDimsLowDown) {
    g_settings.stars = 4;
    g_settings.twilightSky = 0;
    int cursor = g_randomTable.cursor;
    BuildStarsForWindow(1024, 768);
    EXPECT_EQ(0, g_starField.skyHeight);
    std::vector<Star> plain(g_starField.starArray, g_starField.starArray + g_starField.count);
    for (const Star& star : plain) {
        ASSERT_TRUE(star.position.x >= 0 && star.position.x <= 1024);
        ASSERT_TRUE(star.position.y >= 0 && star.position.y <= 768);
        ASSERT_EQ(0.0, star.position.z);
        double low = std::min({star.color.x, star.color.y, star.color.z});
        double high = std::max({star.color.x, star.color.y, star.color.z});
        ASSERT_GE(low, 0.0);
        ASSERT_LE(high, 0.8);
        ASSERT_LE(high - low, 0.2 + 1e-12);  // a grey with at most 0.2 of tint
    }

    // The same draws with twilight: half brightness at the bottom edge, full at the top.
    g_settings.twilightSky = 1;
    g_randomTable.cursor = cursor;
    BuildStarsForWindow(1024, 768);
    EXPECT_EQ(768, g_starField.skyHeight);
    ASSERT_EQ(plain.size(), size_t(g_starField.count));
    double lowestRatio = 1, highestRatio = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
        const Star& dim = g_starField.starArray[i];
        ASSERT_EQ(plain[i].position.x, dim.position.x);
        ASSERT_EQ(plain[i].position.y, dim.position.y);
        double factor = dim.position.y * 0.5 / 768 + 0.5;
        ASSERT_NEAR(plain[i].color.x * factor, dim.color.x, 1e-12);
        ASSERT_NEAR(plain[i].color.z * factor, dim.color.z, 1e-12);
        if (plain[i].color.x > 0.05) {
            lowestRatio = std::min(lowestRatio, dim.color.x / plain[i].color.x);
            highestRatio = std::max(highestRatio, dim.color.x / plain[i].color.x);
        }
    }
    EXPECT_LT(lowestRatio, 0.52);
    EXPECT_GT(highestRatio, 0.98);
}
