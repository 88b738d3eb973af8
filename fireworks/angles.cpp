#include "fireworks/angles.h"

#include <cmath>

double AngleDifference(double a, double b) {
    while (b - a > ANGLE_HALF_TURN) b -= ANGLE_FULL_TURN;
    while (a - b > ANGLE_HALF_TURN) a -= ANGLE_FULL_TURN;
    return std::fabs(a - b);
}

int TurnDirection(double a, double b) {
    return std::sin(a - b) > 0 ? -1 : 1;
}

double TurnTowards(double angle, double target, double fraction) {
    double difference = AngleDifference(angle, target);
    if (TurnDirection(angle, target) == 1) return angle + difference * fraction;
    return angle - difference * fraction;
}

double DirectionAngle(double x1, double y1, double x2, double y2) {
    double dx = x2 - x1;
    double dy = y2 - y1;
    if (dx >= 0 && dy == 0) return 0;
    if (dx > 0 && dy > 0) return std::atan(dy / dx);
    if (dx == 0 && dy > 0) return ANGLE_QUARTER_TURN;
    if (dx < 0 && dy > 0) return ANGLE_HALF_TURN - std::atan(dy / -dx);
    if (dx < 0 && dy == 0) return ANGLE_HALF_TURN;
    if (dx < 0 && dy < 0) return ANGLE_HALF_TURN + std::atan(dy / dx);
    if (dx == 0 && dy < 0) return ANGLE_THREE_QUARTER_TURN;
    if (dx > 0 && dy < 0) return ANGLE_FULL_TURN - std::atan(-dy / dx);
    return 0;  // a NaN component: no direction
}
