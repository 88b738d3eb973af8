#pragma once
// What the display-mode switch and the settings form must agree on: which output the saver
// switches, and the bits per pixel of the screen's one depth.
#include <cstdint>

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

// The primary output, else the first connected one that is lit; 0 when there is none.
RROutput SwitchedOutput(Display* display, XRRScreenResources* resources);

// The pixmap format's bits per pixel for the screen's depth (32 for depth 24 on most servers).
uint32_t ScreenBitsPerPixel(Display* display);

// The refresh rate, in hertz, of the lit CRTC holding the point (root coordinates), else of the
// output the saver switches; 0 when it is unknown or reported as 0.
double OutputRefreshAt(Display* display, int x, int y);
