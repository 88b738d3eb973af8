#pragma once
#include "render/bitmap_font.h"
#include "seam/platform.h"
#include "settings/settings.h"

// The saver window's device context (or GLX drawable) and rendering context.
struct GLHandles {
    SaverSurface surface = nullptr;
    SaverContext context = nullptr;
};

// Makes the window a GL surface with its context current, sets the fixed GL state, loads the
// font's textures, sizes the full-screen window and switches the display mode, and sets the
// blend state. Failures are reported to the user; the result tells whether the context works.
bool CreateGLContext(SaverWindow window, const Settings& settings, bool preview, BitmapFont* font, GLHandles* gl);

// Switches the display to the stored mode; a mode the display cannot set ends the process.
void ChangeDisplayMode(const Settings& settings);

// Releases the context and the surface, reporting each failure and going on.
void ReleaseGLContext(SaverWindow window, GLHandles* gl);

// Viewport and perspective for a window of this size.
void ResizeScene(int width, int height);
