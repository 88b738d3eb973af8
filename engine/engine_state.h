#pragma once
#include <cstdint>

#include "seam/platform.h"

// Window state written by the saver window procedure and read by the frame and the overlays.
extern SaverWindow g_previewParent;  // non-null: the show runs in a preview, not full screen
extern int32_t g_windowWidth;
extern int32_t g_windowHeight;
extern bool g_showBorder;
extern bool g_showFrameRate;
extern SaverSurface g_hdc;
extern SaverContext g_hglrc;
