#pragma once
// The three overlays. The border and the frame rate draw in the overlay mode (BeginOverlay), in
// window pixels; the title draws in the scene, under the camera.

#include "render/bitmap_font.h"

// The 0.6 grey loop round the window's outermost pixels.
void DrawWindowBorder(int width, int height);

// "FPS: n" for this frame's time step, near the top-left corner.
void DrawFrameRate(const BitmapFont& font, double dt, int width, int height);

// The program's title and version line of the opening show, faded for show time T.
void DrawTitle(const BitmapFont& font, double showTime);
