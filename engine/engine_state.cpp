#include "engine/engine_state.h"

SaverWindow g_previewParent = nullptr;
int32_t g_windowWidth = 0;
int32_t g_windowHeight = 0;
bool g_showBorder = false;
bool g_showFrameRate = false;
SaverSurface g_hdc = nullptr;
SaverContext g_hglrc = nullptr;
