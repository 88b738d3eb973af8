#pragma once

// The 2D overlay mode: window pixels with the origin at the bottom-left, no depth test,
// alpha blending. EndOverlay restores everything BeginOverlay changed.
void BeginOverlay(int width, int height);
void EndOverlay();
