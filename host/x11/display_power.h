#pragma once
#include <X11/Xlib.h>

#include <cstdint>

// Whether DPMS has the display in standby, suspend or off, when the next frame would be drawn. DPMS
// sends no events, so the server is asked again only once a check period has passed.
const int64_t DISPLAY_POWER_CHECK_NANOS = 500 * 1000 * 1000;
const int DISPLAY_POWER_CHECK_MILLIS = 500;

bool DisplayPowerOff(Display* display, int64_t now);
