#include "engine/saver_window_proc.h"

#include <cstdlib>
#include <ctime>

#include "engine/saver_window.h"

// Mouse drift beyond this many pixels from the first position seen ends the saver.
const int SAVER_MOUSE_DRIFT_LIMIT = 5;

static SaverResult OnCreate(SaverWindow window, SaverLParam lParam) {
    const SaverCreateParams* params = reinterpret_cast<const SaverCreateParams*>(lParam);
    const SaverShowRequest* request = static_cast<const SaverShowRequest*>(params->createParams);
    SaverWindowState* state = new SaverWindowState;
    HostSetWindowData(window, state);
    state->settings = *request->settings;
    state->seed = request->seedGiven ? request->seed : uint32_t(std::time(nullptr));
    state->monitorIndex = request->monitorIndex;
    state->frameRateAlwaysShown = request->frameRateAlwaysShown;
    state->previewParent = params->parent;
    // The random tables come first: creating the context sizes the window, and sizing places stars from them.
    LayOutShows(window, *state, false);
    WindowSizing sizing = state->previewParent ? SIZING_PREVIEW
                          : state->shows.size() > 1 ? SIZING_SEVERAL_MONITORS
                                                    : SIZING_ONE_MONITOR;
    CreateGLContext(window, state->settings, sizing, &state->font, &state->gl);
    for (PlacedShow& placed : state->shows) placed.show->font = state->font;
    state->timerId = HostSetTimer(window, SAVER_FRAME_TIMER_ID, SAVER_FRAME_TIMER_MILLIS);
    for (PlacedShow& placed : state->shows) placed.show->clock.Restart();
    return 0;
}

// A new window size, or a new set of monitors: the shows follow, and one show fills the window.
static void OnLayoutChange(SaverWindow window, SaverWindowState& state, bool resized) {
    LayOutShows(window, state, resized);
    if (state.shows.size() == 1) ResizeScene(0, 0, state.width, state.height);
}

// The start position is never updated, so slow drift adds up until it passes the limit.
static void OnMouseMove(SaverWindowState& state, SaverWindow window, SaverLParam lParam) {
    if (state.previewParent) return;
    int32_t x = int32_t(uint32_t(lParam) & 0xFFFF);
    int32_t y = int32_t((uint32_t(lParam) >> 16) & 0xFFFF);
    if (state.awaitingFirstMouseMove) {
        state.mouseStartX = x;
        state.mouseStartY = y;
        state.awaitingFirstMouseMove = false;
        return;
    }
    if (std::abs(state.mouseStartX - x) > SAVER_MOUSE_DRIFT_LIMIT ||
        std::abs(state.mouseStartY - y) > SAVER_MOUSE_DRIFT_LIMIT)
        HostSendMessage(window, SAVER_WM_CLOSE, 0, 0);
}

// Every show holds its overlay key alike, each drawing the overlay in its own part of the window.
static bool OnOverlayKey(SaverWindowState& state, SaverWParam key, bool down) {
    bool consumed = false;
    for (PlacedShow& placed : state.shows) consumed = placed.show->HoldOverlayKey(key, down) || consumed;
    return consumed;
}

static void OnDestroy(SaverWindowState* state, SaverWindow window) {
    if (state->timerId != 0) HostKillTimer(window, state->timerId);
    for (PlacedShow& placed : state->shows) placed.show->Destroy();
    ReleaseGLContext(window, &state->gl);
    HostSetWindowData(window, nullptr);
    delete state;
    HostPostQuitMessage(0);
}

SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    if (message == SAVER_WM_CREATE) return OnCreate(window, lParam);
    SaverWindowState* state = SaverWindowStateOf(window);
    if (!state) return DefaultSaverProc(window, message, wParam, lParam);
    switch (message) {
    case SAVER_WM_SIZE:
        state->width = int32_t(uint32_t(lParam) & 0xFFFF);
        state->height = int32_t((uint32_t(lParam) >> 16) & 0xFFFF);
        OnLayoutChange(window, *state, true);
        break;
    case SAVER_WM_DISPLAYCHANGE:
        // The window may move under a pointer that stayed, or the system may move the pointer with the
        // monitors: drift counts from the next position.
        state->awaitingFirstMouseMove = true;
        OnLayoutChange(window, *state, false);
        break;
    case SAVER_WM_TIMER:
        RenderShows(*state);
        HostSwapBuffers(state->gl.surface);
        return 0;
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_KEYUP:
        if (OnOverlayKey(*state, wParam, message == SAVER_WM_KEYDOWN)) return 0;
        break;
    case SAVER_WM_MOUSEMOVE:
        OnMouseMove(*state, window, lParam);
        return 0;
    case SAVER_WM_CLOSE:
        if (!state->previewParent && state->settings.displayWidth != 0) HostRestoreDisplayMode();
        break;
    case SAVER_WM_DESTROY:
        OnDestroy(state, window);
        return 0;
    default:
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
