#include <cmath>

#include <gtest/gtest.h>

#include "fireworks/angles.h"

TEST(Angles, DirectionAngleTakesEachCaseInTurn) {
    EXPECT_EQ(0.0, DirectionAngle(0, 0, 0, 0));
    EXPECT_EQ(0.0, DirectionAngle(1, 1, 5, 1));
    EXPECT_EQ(1.570795, DirectionAngle(0, 0, 0, 1));
    EXPECT_EQ(3.14159, DirectionAngle(0, 0, -1, 0));
    EXPECT_EQ(4.712385, DirectionAngle(0, 0, 0, -1));
    EXPECT_DOUBLE_EQ(std::atan(1.0), DirectionAngle(0, 0, 2, 2));
    EXPECT_DOUBLE_EQ(3.14159 - std::atan(0.5), DirectionAngle(0, 0, -2, 1));
    EXPECT_DOUBLE_EQ(3.14159 + std::atan(0.5), DirectionAngle(0, 0, -2, -1));
    EXPECT_DOUBLE_EQ(6.28318 - std::atan(0.5), DirectionAngle(0, 0, 2, -1));
    // Relative to the first point, not the origin.
    EXPECT_EQ(1.570795, DirectionAngle(3, -4, 3, 7));
}

TEST(Angles, AngleDifferenceTakesTheShortWayRound) {
    EXPECT_NEAR(0.18318, AngleDifference(0.1, 6.2), 1e-12);
    EXPECT_NEAR(0.18318, AngleDifference(6.2, 0.1), 1e-12);
    EXPECT_DOUBLE_EQ(1.0, AngleDifference(2.0, 1.0));
    EXPECT_EQ(0.0, AngleDifference(1.0, 1.0));
    EXPECT_NEAR(0.5, AngleDifference(0.25, 6.28318 * 3 + 0.75), 1e-9);
    EXPECT_LE(AngleDifference(0.0, 3.14159), 3.14159);
}

TEST(Angles, TurnTowardsMovesByTheFractionTheShortWayAndMayOvershoot) {
    EXPECT_EQ(1, TurnDirection(1.0, 1.0));  // equal angles give +1, as a turn towards larger angles
    EXPECT_EQ(1, TurnDirection(0.0, 1.0));
    EXPECT_EQ(-1, TurnDirection(1.0, 0.0));
    EXPECT_NEAR(0.00841, TurnTowards(0.1, 6.2, 0.5), 1e-12);
    EXPECT_DOUBLE_EQ(1.5, TurnTowards(1.0, 2.0, 0.5));
    EXPECT_DOUBLE_EQ(1.5, TurnTowards(2.0, 1.0, 0.5));
    EXPECT_DOUBLE_EQ(3.0, TurnTowards(1.0, 2.0, 2.0));
    // No wrapping of the result: a turn down from near zero goes negative.
    EXPECT_LT(TurnTowards(0.1, 6.2, 1.0), 0.0);
}
