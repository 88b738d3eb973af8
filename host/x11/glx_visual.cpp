#include "host/x11/glx_visual.h"

#include <GL/glx.h>

#include "host/x11/x11_host.h"

static GLXFBConfig* s_configs = nullptr;
static int s_configCount = 0;

static int ConfigAttribute(GLXFBConfig config, int attribute) {
    int value = 0;
    glXGetFBConfigAttrib(g_x11.display, config, attribute, &value);
    return value;
}

static GLXFBConfig* AllConfigs(int* count) {
    if (!s_configs) s_configs = glXGetFBConfigs(g_x11.display, g_x11.screen, &s_configCount);
    *count = s_configs ? s_configCount : 0;
    return s_configs;
}

GLXFBConfig ConfigAt(int format) {
    int count = 0;
    GLXFBConfig* configs = AllConfigs(&count);
    return format >= 1 && format <= count ? configs[format - 1] : nullptr;
}

static bool DrawsDoubleBufferedRgbaWindows(GLXFBConfig config) {
    return (ConfigAttribute(config, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) &&
           (ConfigAttribute(config, GLX_RENDER_TYPE) & GLX_RGBA_BIT) && ConfigAttribute(config, GLX_DOUBLEBUFFER);
}

int FindConfig(VisualID visual, const PixelFormatRequest& request) {
    int count = 0;
    GLXFBConfig* configs = AllConfigs(&count);
    int best = 0;
    int bestScore = -1;
    int bestDepth = 0;
    for (int i = 0; i < count; ++i) {
        if (VisualID(ConfigAttribute(configs[i], GLX_VISUAL_ID)) != visual) continue;
        if (!DrawsDoubleBufferedRgbaWindows(configs[i])) continue;
        // Like ChoosePixelFormat, the closest match wins: depth buffer first, then alpha. Among
        // equals the smallest depth buffer: one the frame never reads still costs llvmpipe work.
        int depth = ConfigAttribute(configs[i], GLX_DEPTH_SIZE);
        int score = 0;
        if (depth >= request.depthBits) score += 4;
        if (ConfigAttribute(configs[i], GLX_ALPHA_SIZE) >= request.alphaBits) score += 2;
        if (ConfigAttribute(configs[i], GLX_CONFIG_CAVEAT) == GLX_NONE) score += 1;
        if (score > bestScore || (score == bestScore && depth < bestDepth)) {
            best = i + 1;
            bestScore = score;
            bestDepth = depth;
        }
    }
    return best;
}

bool VisualSupportsGL(VisualID visual) {
    return FindConfig(visual, PixelFormatRequest{0, 0, 0}) != 0;
}

// The window's own visual must be of the screen's depth: a 32-bit ARGB visual would let a
// compositor show the desktop through the sky wherever the frame's alpha stays 0.
static bool ChooseWithAlpha(int depthBits, int alphaBits, Visual** visual, int* depth) {
    const int attributes[] = {GLX_X_RENDERABLE, True,      GLX_DRAWABLE_TYPE, GLX_WINDOW_BIT,
                              GLX_RENDER_TYPE,  GLX_RGBA_BIT, GLX_DOUBLEBUFFER, True,
                              GLX_DEPTH_SIZE,   depthBits, GLX_ALPHA_SIZE,    alphaBits,
                              None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(g_x11.display, g_x11.screen, attributes, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        XVisualInfo* info = glXGetVisualFromFBConfig(g_x11.display, configs[i]);
        if (!info) continue;
        if (info->depth == DefaultDepth(g_x11.display, g_x11.screen)) {
            *visual = info->visual;
            *depth = info->depth;
            found = true;
        }
        XFree(info);
    }
    if (configs) XFree(configs);
    return found;
}

bool ChooseOwnVisual(int depthBits, Visual** visual, int* depth) {
    // Alpha blending reads the frame's alpha, so a visual with alpha bits comes first.
    return ChooseWithAlpha(depthBits, 1, visual, depth) || ChooseWithAlpha(depthBits, 0, visual, depth);
}
