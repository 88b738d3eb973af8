#include "engine/saver_window_proc.h"

#include <cstdlib>
#include <ctime>

#include "engine/engine_state.h"
#include "engine/frame_clock.h"
#include "engine/render_frame.h"
#include "engine/stars_for_window.h"
#include "fireworks/crt_rand.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/gl_context.h"
#include "render/star_field.h"
#include "seam/platform.h"
#include "settings/settings.h"

// Mouse drift beyond this many pixels from the first position seen ends the saver.
const int SAVER_MOUSE_DRIFT_LIMIT = 5;

bool g_awaitingFirstMouseMove = true;
int32_t g_mouseStartX = 0;
int32_t g_mouseStartY = 0;
uintptr_t g_timerId = 0;

static bool s_seedGiven = false;
static uint32_t s_seed = 0;

void SetSaverSeed(uint32_t seed) {
    s_seed = seed;
    s_seedGiven = true;
}

static SaverResult OnCreate(SaverWindow window, SaverLParam lParam) {
    g_previewParent = reinterpret_cast<const SaverCreateParams*>(lParam)->parent;
    // The table comes first: creating the context sizes the window, and sizing places stars from it.
    FillRandomTable();
    CreateGLContext(window, &g_hdc, &g_hglrc);
    g_timerId = HostSetTimer(window, SAVER_FRAME_TIMER_ID, SAVER_FRAME_TIMER_MILLIS);
    g_frameClock.Restart();
    return 0;
}

static void OnSize(SaverLParam lParam) {
    int width = int(uint32_t(lParam) & 0xFFFF);
    int height = int((uint32_t(lParam) >> 16) & 0xFFFF);
    g_windowWidth = width;
    g_windowHeight = height;
    ResizeScene(width, height);
    BuildStarsForWindow(width, height);
}

// F1 and F2 show their overlay while held, when the settings allow it; returns whether consumed.
static bool OnOverlayKey(SaverWParam key, bool down) {
    if (key == SAVER_VK_F1 && g_settings.f1DisplaysWindowBorder != 0) {
        g_showBorder = down;
        return true;
    }
    if (key == SAVER_VK_F2 && g_settings.f2DisplaysFrameRate != 0) {
        g_showFrameRate = down;
        return true;
    }
    return false;
}

// The start position is never updated, so slow drift adds up until it passes the limit.
static void OnMouseMove(SaverWindow window, SaverLParam lParam) {
    if (g_previewParent) return;
    int32_t x = int32_t(uint32_t(lParam) & 0xFFFF);
    int32_t y = int32_t((uint32_t(lParam) >> 16) & 0xFFFF);
    if (g_awaitingFirstMouseMove) {
        g_mouseStartX = x;
        g_mouseStartY = y;
        g_awaitingFirstMouseMove = false;
        return;
    }
    if (std::abs(g_mouseStartX - x) > SAVER_MOUSE_DRIFT_LIMIT || std::abs(g_mouseStartY - y) > SAVER_MOUSE_DRIFT_LIMIT)
        HostSendMessage(window, SAVER_WM_CLOSE, 0, 0);
}

static void OnDestroy(SaverWindow window) {
    if (g_timerId != 0) HostKillTimer(window, g_timerId);
    DeleteAllFireworks();
    if (g_settings.stars != 0) g_starField.Destroy();
    ReleaseGLContext(window, &g_hdc, &g_hglrc);
    HostPostQuitMessage(0);
}

SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam) {
    switch (message) {
    case SAVER_WM_NCCREATE:
        SeedRand(s_seedGiven ? s_seed : uint32_t(std::time(nullptr)));
        g_settings.Load();
        break;
    case SAVER_WM_CREATE:
        return OnCreate(window, lParam);
    case SAVER_WM_SIZE:
        OnSize(lParam);
        break;
    case SAVER_WM_TIMER:
        RenderFrame();
        HostSwapBuffers(g_hdc);
        return 0;
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_KEYUP:
        if (OnOverlayKey(wParam, message == SAVER_WM_KEYDOWN)) return 0;
        break;
    case SAVER_WM_MOUSEMOVE:
        OnMouseMove(window, lParam);
        return 0;
    case SAVER_WM_CLOSE:
        if (!g_previewParent && g_settings.displayWidth != 0) HostRestoreDisplayMode();
        break;
    case SAVER_WM_DESTROY:
        OnDestroy(window);
        return 0;
    default:
        break;
    }
    return DefaultSaverProc(window, message, wParam, lParam);
}
