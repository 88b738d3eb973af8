#pragma once
// What the EGL hosts (offscreen and Wayland) ask of a config for a pixel format request.
#include <EGL/egl.h>

#include "seam/platform.h"

// A 16-bit desktop is 5-6-5; anything else, the desktop's own included, gets 8 per channel.
inline EGLint EglChannelBits(uint8_t colorBits, int channel) {
    if (colorBits == 16) return channel == 1 ? 6 : 5;
    return 8;
}

// The attribute list of a desktop-GL config for this kind of surface, EGL_NONE-terminated.
struct EglConfigAttributes {
    EGLint list[15];
};

inline EglConfigAttributes EglConfigFor(EGLint surfaceType, const PixelFormatRequest& request) {
    return {{EGL_SURFACE_TYPE, surfaceType, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT,
             EGL_RED_SIZE, EglChannelBits(request.colorBits, 0), EGL_GREEN_SIZE, EglChannelBits(request.colorBits, 1),
             EGL_BLUE_SIZE, EglChannelBits(request.colorBits, 2), EGL_ALPHA_SIZE, request.alphaBits,
             EGL_DEPTH_SIZE, request.depthBits, EGL_NONE}};
}
