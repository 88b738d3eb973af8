#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/hud_layout.h"

TEST(HudLayout, FrameRateIsTheStepsReciprocalRoundedToNearest) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "FPS: 0"},  {1.0 / 60, "FPS: 60"}, {0.0125, "FPS: 80"}, {0.0126, "FPS: 79"},  // 79.37
        {1.0 / 59.5, "FPS: 60"}, {3.0, "FPS: 0"},  // a third of a frame a second rounds down
        {1e-9, "FPS: 1000000000"},
        // A step too short for an int shows the largest count rather than overflowing.
        {1e-10, "FPS: 2147483647"}, {1e-300, "FPS: 2147483647"}};
    for (const auto& c : cases) EXPECT_EQ(std::string(c.second), FormatFrameRate(c.first).text) << c.first;
}

TEST(HudLayout, FrameRateSitsNearTheTopLeftAndScalesWithTheWidth) {
    FrameRatePlacement wide = PlaceFrameRate(1280, 1024);
    EXPECT_DOUBLE_EQ(20, wide.origin.x);
    EXPECT_DOUBLE_EQ(972.8, wide.origin.y);
    EXPECT_DOUBLE_EQ(60, wide.scale);
    FrameRatePlacement small = PlaceFrameRate(1024, 768);
    EXPECT_DOUBLE_EQ(729.6, small.origin.y);
    EXPECT_DOUBLE_EQ(48, small.scale);
}

TEST(HudLayout, BorderRunsRoundTheOutermostPixels) {
    BorderLoop loop = WindowBorder(640, 480);
    const HudPoint expected[4] = {{0, 0}, {639, 0}, {639, 479}, {0, 479}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i].x, loop.corners[i].x) << "corner " << i;
        EXPECT_EQ(expected[i].y, loop.corners[i].y) << "corner " << i;
    }
}

TEST(HudLayout, TitleFadesInOverItsFirstSecondAndOutOverItsLastWhileItGrows) {
    struct Case {
        double time, fade, red, blue, scale;
    };
    const Case cases[] = {{1.0, 0, 0, 0, 7.2},          {1.5, 0.5, 0.4, 0.1, 7.3}, {3.0, 1, 0.8, 0.2, 7.6},
                          {5.75, 0.25, 0.2, 0.05, 8.15}, {6.0, 0, 0, 0, 8.2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "T = " << c.time);
        TitleLook look = TitleAppearance(c.time);
        EXPECT_DOUBLE_EQ(c.fade, look.fade);
        EXPECT_DOUBLE_EQ(c.red, look.red);
        EXPECT_DOUBLE_EQ(c.red, look.green);
        EXPECT_DOUBLE_EQ(c.blue, look.blue);
        EXPECT_DOUBLE_EQ(c.scale, look.titleScale);
    }
}
