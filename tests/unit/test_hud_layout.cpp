#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/engine_state.h"
#include "engine/hud_layout.h"

static std::string FrameRate(double dt) {
    return FormatFrameRate(dt).text;
}

TEST(HudLayout, FrameRateIsTheStepsReciprocalRoundedToNearest) {
    EXPECT_EQ(FrameRate(0.0), "FPS: 0");
    EXPECT_EQ(FrameRate(1.0 / 60), "FPS: 60");
    EXPECT_EQ(FrameRate(0.0125), "FPS: 80");
    EXPECT_EQ(FrameRate(0.0126), "FPS: 79");  // 79.37
    EXPECT_EQ(FrameRate(1.0), "FPS: 1");
    EXPECT_EQ(FrameRate(3.0), "FPS: 0");  // a third of a frame a second rounds down
    EXPECT_EQ(FramesPerSecond(1.0 / 59.5), 60);
}

TEST(HudLayout, AStepTooShortForAnIntShowsTheLargestCount) {
    EXPECT_EQ(FramesPerSecond(1e-10), INT32_MAX);
    EXPECT_EQ(FramesPerSecond(1e-300), INT32_MAX);
    EXPECT_EQ(FrameRate(1e-10), "FPS: 2147483647");
    EXPECT_EQ(FramesPerSecond(1e-9), 1000000000);
}

TEST(HudLayout, FrameRateIsShownWhileF2IsHeldOrWhileTheHostKeepsItOn) {
    g_showFrameRate = false;
    g_frameRateAlwaysShown = false;
    EXPECT_FALSE(FrameRateShown());
    g_showFrameRate = true;
    EXPECT_TRUE(FrameRateShown());
    g_showFrameRate = false;
    g_frameRateAlwaysShown = true;
    EXPECT_TRUE(FrameRateShown());
    g_frameRateAlwaysShown = false;
}

TEST(HudLayout, FrameRateSitsNearTheTopLeftAndScalesWithTheWidth) {
    FrameRatePlacement wide = PlaceFrameRate(1280, 1024);
    EXPECT_DOUBLE_EQ(wide.origin.x, 20);
    EXPECT_DOUBLE_EQ(wide.origin.y, 972.8);
    EXPECT_DOUBLE_EQ(wide.scale, 60);
    FrameRatePlacement small = PlaceFrameRate(1024, 768);
    EXPECT_DOUBLE_EQ(small.origin.y, 729.6);
    EXPECT_DOUBLE_EQ(small.scale, 48);
}

TEST(HudLayout, BorderRunsRoundTheOutermostPixels) {
    BorderLoop loop = WindowBorder(640, 480);
    const HudPoint expected[4] = {{0, 0}, {639, 0}, {639, 479}, {0, 479}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(loop.corners[i].x, expected[i].x) << "corner " << i;
        EXPECT_EQ(loop.corners[i].y, expected[i].y) << "corner " << i;
    }
}

TEST(HudLayout, TitleFadesInOverItsFirstSecondAndOutOverItsLast) {
    TitleLook rising = TitleAppearance(1.5);
    EXPECT_DOUBLE_EQ(rising.red, 0.4);
    EXPECT_DOUBLE_EQ(rising.green, 0.4);
    EXPECT_DOUBLE_EQ(rising.blue, 0.1);
    EXPECT_DOUBLE_EQ(rising.titleScale, 7.3);

    TitleLook full = TitleAppearance(3);
    EXPECT_DOUBLE_EQ(full.red, 0.8);
    EXPECT_DOUBLE_EQ(full.green, 0.8);
    EXPECT_DOUBLE_EQ(full.blue, 0.2);
    EXPECT_DOUBLE_EQ(full.titleScale, 7.6);

    EXPECT_DOUBLE_EQ(TitleAppearance(5.75).fade, 0.25);
    EXPECT_DOUBLE_EQ(TitleAppearance(1.0).fade, 0);
    EXPECT_DOUBLE_EQ(TitleAppearance(6.0).fade, 0);
    // The title grows from 7.2 to 8.2 while it is shown.
    EXPECT_DOUBLE_EQ(TitleAppearance(1.0).titleScale, 7.2);
    EXPECT_DOUBLE_EQ(TitleAppearance(6.0).titleScale, 8.2);
}
