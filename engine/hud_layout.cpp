#include "engine/hud_layout.h"

#include <cmath>
#include <cstdio>

int32_t FramesPerSecond(double dt) {
    if (dt == 0) return 0;
    double rate = 1 / dt + 0.5;
    // A counter finer than a nanosecond can measure a step whose rate no int holds; converting
    // that would be undefined, so it shows the largest count instead.
    if (!(rate < double(INT32_MAX))) return INT32_MAX;
    if (!(rate > double(INT32_MIN))) return INT32_MIN;
    return int32_t(rate);
}

FrameRateText FormatFrameRate(double dt) {
    FrameRateText label;
    std::snprintf(label.text, sizeof label.text, "FPS: %d", int(FramesPerSecond(dt)));
    return label;
}

FrameRatePlacement PlaceFrameRate(int32_t width, int32_t height) {
    FrameRatePlacement placement;
    placement.origin = {20, 0.95 * height};
    placement.scale = width * 0.00078125 * 60;
    return placement;
}

BorderLoop WindowBorder(int32_t width, int32_t height) {
    double right = width - 1;
    double top = height - 1;
    return BorderLoop{{{0, 0}, {right, 0}, {right, top}, {0, top}}};
}

TitleLook TitleAppearance(double showTime) {
    double fade = std::fmin(std::fmin(std::fabs(showTime - 1), std::fabs(showTime - 6)), 1.0);
    TitleLook look;
    look.fade = fade;
    look.red = 0.8 * fade;
    look.green = 0.8 * fade;
    look.blue = 0.2 * fade;
    look.titleScale = 7 + 0.2 * showTime;
    return look;
}
