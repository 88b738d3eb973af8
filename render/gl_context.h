#pragma once
#include "render/bitmap_font.h"
#include "seam/platform.h"
#include "settings/settings.h"

// The saver window's device context (or GLX drawable) and rendering context.
struct GLHandles {
    SaverSurface surface = nullptr;
    SaverContext context = nullptr;
};

// How the window is placed before the display mode switches under it.
enum WindowSizing {
    SIZING_PREVIEW,           // someone else's window decides its size; no mode switch
    SIZING_ONE_MONITOR,       // sized to the stored mode, or to the desktop
    SIZING_SEVERAL_MONITORS,  // keeps covering every monitor; only the primary's mode switches
};

// Makes the window a GL surface with its context current, sets the fixed GL state, loads the
// font's textures, sizes the full-screen window and switches the display mode, and sets the
// blend state. Failures are reported to the user; the result tells whether the context works.
bool CreateGLContext(SaverWindow window, const Settings& settings, WindowSizing sizing, BitmapFont* font,
                     GLHandles* gl);

// Switches the display to the stored mode; a mode the display cannot set ends the process.
void ChangeDisplayMode(const Settings& settings);

// Releases the context and the surface, reporting each failure and going on.
void ReleaseGLContext(SaverWindow window, GLHandles* gl);

// Viewport and perspective for a scene in this rectangle of the window (GL's origin: bottom-left).
void ResizeScene(int left, int bottom, int width, int height);

// The whole window to black, once a frame before any show draws.
void ClearFrame(const Settings& settings);
