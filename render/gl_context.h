#pragma once
#include "seam/platform.h"

// Makes the window a GL surface with its context current, sets the fixed GL state, loads the
// glyph textures, sizes the full-screen window and switches the display mode. Failures are
// reported to the user; the result tells whether the context works.
bool CreateGLContext(SaverWindow window, SaverSurface* surface, SaverContext* context);

// Switches the display to the stored mode; a mode the display cannot set ends the process.
void ChangeDisplayMode();

// Releases the context and the surface, reporting each failure and going on.
void ReleaseGLContext(SaverWindow window, SaverSurface* surface, SaverContext* context);

// Viewport and perspective for a window of this size.
void ResizeScene(int width, int height);
