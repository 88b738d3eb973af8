#pragma once

// The three overlays. The border and the frame rate draw in the overlay mode (BeginOverlay), in
// window pixels; the title draws in the scene, under the camera.

// The 0.6 grey loop round the window's outermost pixels.
void DrawWindowBorder();

// "FPS: n" for this frame's time step, near the top-left corner.
void DrawFrameRate(double dt);

// The program's title and version line of the opening show, faded for show time T.
void DrawTitle(double showTime);
