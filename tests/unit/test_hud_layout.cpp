#include <gtest/gtest.h>

#include <string>

#include "engine/hud_layout.h"

TEST(HudLayout, FrameRateIsTheStepsReciprocalRoundedAndNeverOverflows) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "FPS: 0"}, {1.0 / 60, "FPS: 60"}, {0.0126, "FPS: 79"}, {3.0, "FPS: 0"},
        {1e-9, "FPS: 1000000000"}, {1e-10, "FPS: 2147483647"}, {1e-300, "FPS: 2147483647"}};
    for (const auto& c : cases) EXPECT_EQ(std::string(c.second), FormatFrameRate(c.first).text) << c.first;
}

TEST(HudLayout, TitleFadesInOverItsFirstSecondAndOutOverItsLastWhileItGrows) {
    const struct {
        double time, fade, scale;
    } cases[] = {{1.0, 0, 7.2}, {1.5, 0.5, 7.3}, {3.0, 1, 7.6}, {5.75, 0.25, 8.15}, {6.0, 0, 8.2}};
    for (const auto& c : cases) {
        TitleLook look = TitleAppearance(c.time);
        EXPECT_DOUBLE_EQ(c.fade, look.fade) << c.time;
        EXPECT_DOUBLE_EQ(0.8 * c.fade, look.red) << c.time;
        EXPECT_DOUBLE_EQ(c.scale, look.titleScale) << c.time;
    }
}
