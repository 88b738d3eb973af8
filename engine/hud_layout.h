#pragma once
#include <cstdint>

#include "seam/version.h"

// What the overlays draw and where, worked out without GL.

// Whole frames per second for one time step, rounded to the nearest; 0 for a step of exactly 0.
int32_t FramesPerSecond(double dt);

// "FPS: 60" and the like, long enough for any 32-bit count.
struct FrameRateText {
    char text[24];
};
FrameRateText FormatFrameRate(double dt);

struct HudPoint {
    double x, y;
};

// Where the frame rate starts (its left end, glyphs centred on it vertically) and its glyph size,
// in window pixels: 60 pixels for a window 1280 wide.
struct FrameRatePlacement {
    HudPoint origin;
    double scale;
};
FrameRatePlacement PlaceFrameRate(int32_t width, int32_t height);

// The corner pixels of the border's line loop round the outermost rows and columns, in drawing
// order.
struct BorderLoop {
    HudPoint corners[4];
};
BorderLoop WindowBorder(int32_t width, int32_t height);

const char* const HUD_TITLE_TEXT = "Vesperglow";
const char* const HUD_VERSION_TEXT = "Version " VESPERGLOW_VERSION;

// The opening title at show time T: a yellow that fades in over its first second and out over
// its last, and a title that grows slowly while it is shown.
struct TitleLook {
    double fade;
    double red, green, blue;
    double titleScale;
};
TitleLook TitleAppearance(double showTime);
