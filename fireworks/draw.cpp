#include <cmath>

#include "fireworks/draw_list.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"

const double DRAW_FADE_THRESHOLD = 0.00001;
const double DRAW_OCTAGON_AXIS = 1.414;
const double DRAW_TRAIL_HALF_WIDTH = 0.1;
const double DRAW_SPEED_CLAMP = 20.0;
const double DRAW_TAIL_FACTOR = -0.2;
const double DRAW_RADIANS_TO_DEGREES = 57.29582790879778;
const double DRAW_DEGREES_TO_RADIANS = 3.14159265358979323846 / 180.0;  // what glRotated does

static double FadeFactor(const Firework& f) {
    return f.fadeTime > DRAW_FADE_THRESHOLD ? f.fadeLeft / f.fadeTime : 0.0;
}

static Vec3 SteadyColor(const Firework& f) {
    return f.holdTime > 0 ? f.color : f.color * FadeFactor(f);
}

// A polygon of n vertices becomes a fan from its first vertex, as GL splits it.
static void AppendFan(DrawList& list, const Vec3* corners, const Vec3* colors, int n) {
    DrawVertex* v = list.Append(3 * (n - 2));
    for (int i = 1; i + 1 < n; ++i) {
        SetVertex(v++, corners[0], colors[0]);
        SetVertex(v++, corners[i], colors[i]);
        SetVertex(v++, corners[i + 1], colors[i + 1]);
    }
}

static void AppendStar(DrawList& list, const Vec3& at, double size, const Vec3& color) {
    double s = size;
    double axis = DRAW_OCTAGON_AXIS * s;
    const Vec3 offsets[8] = {{s, 0, s},  {axis, 0, 0},  {s, 0, -s},  {0, 0, -axis},
                             {-s, 0, -s}, {-axis, 0, 0}, {-s, 0, s}, {0, 0, axis}};
    Vec3 corners[8];
    Vec3 colors[8];
    for (int i = 0; i < 8; ++i) {
        corners[i] = Vec3(at.x + offsets[i].x, at.y + offsets[i].y, at.z + offsets[i].z);
        colors[i] = color;
    }
    AppendFan(list, corners, colors, 8);
}

// The trail quad shades to the linked spark's colour and leaves that colour current.
static void AppendTrail(DrawList& list, const FireworkPool& pool, Firework& f, const Vec3& a, const Vec3& current, Vec3* leftCurrent) {
    if (f.linkSlot < 0 || f.linkSlot >= POOL_SIZE) return;
    const Firework* linked = pool.slots[f.linkSlot];
    if (!linked || linked->randomId != f.linkId) {
        f.linkSlot = -1;
        f.linkId = 0;
        return;
    }
    Vec3 b = linked->GetDrawPosition();
    double v = a.x < b.x ? -DRAW_TRAIL_HALF_WIDTH : DRAW_TRAIL_HALF_WIDTH;
    double u = f.flipTrailOffset == 1 ? -DRAW_TRAIL_HALF_WIDTH : DRAW_TRAIL_HALF_WIDTH;
    Vec3 linkedColor = SteadyColor(*linked);
    const Vec3 corners[4] = {{a.x + v, a.y, a.z + u}, {a.x - v, a.y, a.z - u},
                             {b.x - v, b.y, b.z - u}, {b.x + v, b.y, b.z + u}};
    const Vec3 colors[4] = {current, current, linkedColor, linkedColor};
    AppendFan(list, corners, colors, 4);
    *leftCurrent = linkedColor;
}

static void AppendRocket(DrawList& list, const Firework& f, const Vec3& at, const Vec3& current) {
    double speed = f.velocity.Length();
    if (speed > DRAW_SPEED_CLAMP) speed = DRAW_SPEED_CLAMP;
    double angle = f.heading * DRAW_RADIANS_TO_DEGREES * DRAW_DEGREES_TO_RADIANS;
    double c = std::cos(angle);
    double s = std::sin(angle);
    // Rotation about (0, -1, 0): +x turns into (cos, 0, sin).
    const Vec3 local[4] = {{0.1, 0, 0.1}, {0.2, 0, 0}, {0.1, 0, -0.1}, {DRAW_TAIL_FACTOR * speed, 0, 0}};
    Vec3 corners[4];
    for (int i = 0; i < 4; ++i)
        corners[i] = Vec3(at.x + (local[i].x * c - local[i].z * s), at.y, at.z + (local[i].x * s + local[i].z * c));
    const Vec3 colors[4] = {current, current, current, Vec3(0, 0, 0)};
    AppendFan(list, corners, colors, 4);
}

void Firework::Draw(FireworkWorld& world, DrawList& list) {
    Vec3 current;
    if (colorMode == COLOR_FLICKER) {
        double n = world.NextRandom();
        current = holdTime > 0 ? color * n : color * (FadeFactor(*this) * n);
    } else {
        current = SteadyColor(*this);
    }
    Vec3 at = GetDrawPosition();
    if (flags & FF_STAR) AppendStar(list, at, starSize, current);
    if (flags & FF_TRAIL) AppendTrail(list, world.pool, *this, at, current, &current);
    if (flags & FF_ROCKET) AppendRocket(list, *this, at, current);
}
