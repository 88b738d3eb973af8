#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/show.h"
#include "render/gl_context.h"

// A show and the part of the window it draws in.
struct PlacedShow {
    SaverMonitor monitor;  // in window pixels from the top-left
    std::unique_ptr<Show> show;
};

// What the window procedure keeps of one saver window: what belongs to the window itself (its
// context, timer, the mouse's starting point, in window pixels) and its shows, one per monitor.
struct SaverWindowState {
    Settings settings;  // as the host handed them over
    uint32_t seed = 0;  // the first monitor's
    int32_t monitorIndex = 0;
    bool frameRateAlwaysShown = false;
    SaverWindow previewParent = nullptr;  // null full screen
    GLHandles gl;
    BitmapFont font;  // one set of textures in the window's one context
    uintptr_t timerId = 0;
    bool awaitingFirstMouseMove = true;
    int32_t mouseStartX = 0;
    int32_t mouseStartY = 0;
    int32_t width = 0;  // the client area, from the last WM_SIZE
    int32_t height = 0;
    std::vector<PlacedShow> shows;
};

// The window's state, once WM_CREATE made it; null before and after.
SaverWindowState* SaverWindowStateOf(SaverWindow window);

// Reads the window's monitors and gives each its show: a show whose monitor stays keeps running, a
// new monitor starts a show with its own seed, a monitor that went takes its show along. Monitors
// that mirror one rectangle share a show. With `resizeAll` every show builds its sky afresh, as a
// window that changed size does; otherwise only the shows whose size changed.
void LayOutShows(SaverWindow window, SaverWindowState& state, bool resizeAll);

// One frame of every show, each in its own part of the window, with one clear before them.
void RenderShows(SaverWindowState& state);
