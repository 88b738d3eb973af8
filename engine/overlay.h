#pragma once

// What BeginOverlay changed that the attribute stack does not keep: the blend function.
struct SavedBlend {
    int source;
    int destination;
};

// The 2D overlay mode: window pixels with the origin at the bottom-left, no depth test,
// alpha blending. EndOverlay restores everything BeginOverlay changed.
SavedBlend BeginOverlay(int width, int height);
void EndOverlay(const SavedBlend& saved);
