#pragma once
// Where the full-screen window's monitors lie in it. No windows.h here, so the rule is tested on every build.
#include <cstdint>

#include "seam/platform.h"

// A monitor as the system enumerates it, in screen coordinates.
struct ScreenMonitor {
    int32_t left, top, right, bottom;
    bool primary;
    const char* device;  // its name, such as \\.\DISPLAY2, which stays while it stays connected
};

// The monitors in the client coordinates of a window whose client area starts at (originX, originY)
// on the screen: the primary first, then the others in the order given, each keyed by its device
// name. Gives how many were written, at most capacity.
int ClientMonitors(const ScreenMonitor* screen, int count, int32_t originX, int32_t originY, SaverMonitor* monitors,
                   int capacity);
