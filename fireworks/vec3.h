#pragma once
#include <cmath>

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;

    Vec3() = default;
    Vec3(double x, double y, double z) : x(x), y(y), z(z) {}

    double Length() const { return std::sqrt(x * x + y * y + z * z); }
};

inline Vec3 operator*(const Vec3& v, double s) {
    return Vec3(s * v.x, s * v.y, s * v.z);
}
