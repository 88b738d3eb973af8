#pragma once
// Steering helpers. They use the decimal constants 3.14159 and 6.28318 on purpose:
// the show's motion is defined with them, not with the exact pi.

const double ANGLE_HALF_TURN = 3.14159;
const double ANGLE_FULL_TURN = 6.28318;
const double ANGLE_QUARTER_TURN = 1.570795;
const double ANGLE_THREE_QUARTER_TURN = 4.712385;

double AngleDifference(double a, double b);
int TurnDirection(double a, double b);
double TurnTowards(double angle, double target, double fraction);
double DirectionAngle(double x1, double y1, double x2, double y2);
