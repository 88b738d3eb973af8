#include <gtest/gtest.h>

#include "engine/stars_for_window.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"
#include "tests/unit/sim_fixture.h"

TEST_F(SimTest, StarCountFollowsTheWindowAreaAndTheStarsSetting) {
    const int expected[5] = {0, 204, 408, 612, 816};  // (768 / 60) x (1024 / 60) = 12 x 17, times the level
    for (uint32_t level = 0; level <= 4; ++level) {
        g_settings.stars = level;
        int cursor = g_randomTable.cursor;
        BuildStarsForWindow(1024, 768);
        EXPECT_EQ(expected[level], g_starField.count) << level;
        EXPECT_EQ(1024, g_starField.width);
        EXPECT_EQ(768, g_starField.height);
        // Six table values a star.
        EXPECT_EQ((cursor + 6 * expected[level]) % 10000, g_randomTable.cursor);
        EXPECT_EQ(level == 0, g_starField.starArray == nullptr);
    }
}

TEST_F(SimTest, WindowsUnderSixtyPixelsHaveNoStars) {
    g_settings.stars = 4;
    BuildStarsForWindow(59, 768);
    EXPECT_EQ(0, g_starField.count);
    BuildStarsForWindow(1024, 59);
    EXPECT_EQ(0, g_starField.count);
    BuildStarsForWindow(60, 60);
    EXPECT_EQ(4, g_starField.count);
    BuildStarsForWindow(119, 119);
    EXPECT_EQ(4, g_starField.count);
}

TEST_F(SimTest, StarsLieInsideTheWindowWithTintedGreyColours) {
    g_settings.stars = 4;
    g_settings.twilightSky = 0;
    BuildStarsForWindow(1024, 768);
    EXPECT_FALSE(g_starField.twilight);
    EXPECT_EQ(0, g_starField.skyHeight);
    for (int i = 0; i < g_starField.count; ++i) {
        const Star& star = g_starField.starArray[i];
        ASSERT_GE(star.position.x, 0.0);
        ASSERT_LE(star.position.x, 1024.0);
        ASSERT_GE(star.position.y, 0.0);
        ASSERT_LE(star.position.y, 768.0);
        ASSERT_EQ(0.0, star.position.z);
        double low = std::min({star.color.x, star.color.y, star.color.z});
        double high = std::max({star.color.x, star.color.y, star.color.z});
        ASSERT_GE(low, 0.0);
        ASSERT_LE(high, 0.8);
        ASSERT_LE(high - low, 0.2 + 1e-12);  // a grey with at most 0.2 of tint
    }
}

TEST_F(SimTest, TwilightDimsLowStarsFromHalfAtTheBottomToFullAtTheTop) {
    g_settings.stars = 4;
    g_settings.twilightSky = 0;
    int cursor = g_randomTable.cursor;
    BuildStarsForWindow(1024, 768);
    std::vector<Star> plain(g_starField.starArray, g_starField.starArray + g_starField.count);

    g_settings.twilightSky = 1;
    g_randomTable.cursor = cursor;
    BuildStarsForWindow(1024, 768);
    EXPECT_TRUE(g_starField.twilight);
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

TEST_F(SimTest, DimmingRunsOverTheSkyHeightOnly) {
    // A band half as high as the window: a star half-way up the band is at three quarters.
    g_randomTable.cursor = 0;
    g_randomTable.values[1] = 0.25;
    g_randomTable.values[2] = 0.25;
    g_randomTable.values[3] = 0.5;
    g_randomTable.values[4] = 1.0;
    g_randomTable.values[5] = 0.0;
    g_randomTable.values[6] = 0.5;
    g_starField.Build(100, 200, 1, true, 100);
    const Star& star = g_starField.starArray[0];
    EXPECT_EQ(25.0, star.position.x);
    EXPECT_EQ(50.0, star.position.y);
    EXPECT_DOUBLE_EQ((0.2 + 0.3) * 0.75, star.color.x);
    EXPECT_DOUBLE_EQ(0.3 * 0.75, star.color.y);
    EXPECT_DOUBLE_EQ((0.1 + 0.3) * 0.75, star.color.z);

    g_randomTable.cursor = 0;
    g_randomTable.values[2] = 0.0;  // on the bottom edge: half
    g_starField.Build(100, 200, 1, true, 100);
    EXPECT_DOUBLE_EQ(0.5 * 0.5, g_starField.starArray[0].color.x);

    g_randomTable.cursor = 0;
    g_randomTable.values[2] = 0.75;  // above the band: full
    g_starField.Build(100, 200, 1, true, 100);
    EXPECT_DOUBLE_EQ(0.5, g_starField.starArray[0].color.x);
}

TEST_F(SimTest, DestroyEmptiesTheField) {
    g_settings.stars = 2;
    BuildStarsForWindow(800, 600);
    ASSERT_GT(g_starField.count, 0);
    g_starField.Destroy();
    EXPECT_EQ(0, g_starField.count);
    EXPECT_EQ(nullptr, g_starField.starArray);
    EXPECT_EQ(0, g_starField.width);
    EXPECT_EQ(0, g_starField.height);
    EXPECT_EQ(0, g_starField.skyHeight);
    EXPECT_FALSE(g_starField.twilight);
    g_starField.Destroy();  // twice is harmless
    BuildStarsForWindow(800, 600);
    EXPECT_EQ(260, g_starField.count);
}
