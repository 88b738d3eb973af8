#include "engine/saver_window_proc.h"

#include <cstdlib>
#include <ctime>

// Mouse drift beyond this many pixels from the first position seen ends the saver.
const int SAVER_MOUSE_DRIFT_LIMIT = 5;

Show g_show(FrameClock({HostQueryCounterFrequency, HostQueryCounter, HostQueryMilliseconds}));

static SaverResult OnCreate(Show& show, SaverWindow window, SaverLParam lParam) {
    const SaverCreateParams* params = reinterpret_cast<const SaverCreateParams*>(lParam);
    const SaverShowRequest* request = static_cast<const SaverShowRequest*>(params->createParams);
    uint32_t seed = request && request->seedGiven ? request->seed : uint32_t(std::time(nullptr));
    // The random table comes first: creating the context sizes the window, and sizing places stars from it.
    show.Init(seed, g_settings);
    show.frameRateAlwaysShown = request && request->frameRateAlwaysShown;
    show.previewParent = params->parent;
    show.awaitingFirstMouseMove = true;
    CreateGLContext(window, show.settings, show.previewParent != nullptr, &show.font, &show.gl);
    show.timerId = HostSetTimer(window, SAVER_FRAME_TIMER_ID, SAVER_FRAME_TIMER_MILLIS);
    show.clock.Restart();
    return 0;
}

static void OnSize(Show& show, SaverLParam lParam) {
    int width = int(uint32_t(lParam) & 0xFFFF);
    int height = int((uint32_t(lParam) >> 16) & 0xFFFF);
    ResizeScene(width, height);
    show.Resize(width, height);
}

// The start position is never updated, so slow drift adds up until it passes the limit.
static void OnMouseMove(Show& show, SaverWindow window, SaverLParam lParam) {
    if (show.previewParent) return;
    int32_t x = int32_t(uint32_t(lParam) & 0xFFFF);
    int32_t y = int32_t((uint32_t(lParam) >> 16) & 0xFFFF);
    if (show.awaitingFirstMouseMove) {
        show.mouseStartX = x;
        show.mouseStartY = y;
        show.awaitingFirstMouseMove = false;
        return;
    }
    if (std::abs(show.mouseStartX - x) > SAVER_MOUSE_DRIFT_LIMIT ||
        std::abs(show.mouseStartY - y) > SAVER_MOUSE_DRIFT_LIMIT)
        HostSendMessage(window, SAVER_WM_CLOSE, 0, 0);
}

static void OnDestroy(Show& show, SaverWindow window) {
    if (show.timerId != 0) HostKillTimer(window, show.timerId);
    show.Destroy();
    ReleaseGLContext(window, &show.gl);
    HostPostQuitMessage(0);
}

SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    Show& show = g_show;
    switch (message) {
    case SAVER_WM_NCCREATE:
        g_settings.Load();
        break;
    case SAVER_WM_CREATE:
        return OnCreate(show, window, lParam);
    case SAVER_WM_SIZE:
        OnSize(show, lParam);
        break;
    case SAVER_WM_TIMER:
        show.RenderFrame();
        HostSwapBuffers(show.gl.surface);
        return 0;
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_KEYUP:
        if (show.HoldOverlayKey(wParam, message == SAVER_WM_KEYDOWN)) return 0;
        break;
    case SAVER_WM_MOUSEMOVE:
        OnMouseMove(show, window, lParam);
        return 0;
    case SAVER_WM_CLOSE:
        if (!show.previewParent && show.settings.displayWidth != 0) HostRestoreDisplayMode();
        break;
    case SAVER_WM_DESTROY:
        OnDestroy(show, window);
        return 0;
    default:
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
