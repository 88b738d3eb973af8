#pragma once
#include <GL/glx.h>
#include <X11/Xlib.h>

#include "seam/platform.h"

// A visual of the screen's own depth whose GLX configs draw double-buffered RGBA into windows,
// for a window the host creates itself, with at least depthBits of depth buffer (llvmpipe lists
// those without one first). False when the display offers none.
bool ChooseOwnVisual(int depthBits, Visual** visual, int* depth);

// Whether a window of this visual can take a double-buffered RGBA GLX context.
bool VisualSupportsGL(VisualID visual);

// The best GLX config of this visual for the request, as an index from 1; 0 when there is none.
int FindConfig(VisualID visual, const PixelFormatRequest& request);

// The config a format index from FindConfig stands for; null when the index is out of range.
GLXFBConfig ConfigAt(int format);
