#pragma once
// A saver window with no screen behind it: the host side of the show for snapshots, benchmarks
// and tests. The window's pixels live in an EGL pbuffer; frames come when the driver ticks.
#include "host/headless/offscreen_egl.h"
#include "seam/platform.h"

typedef SaverResult (*SaverWindowProcedure)(SaverWindow, uint32_t, SaverWParam, SaverLParam);

struct HeadlessWindow {
    SaverWindowProcedure procedure = nullptr;
    SaverWindow parent = nullptr;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool destroyed = false;
    bool closeRequested = false;  // posted by DefaultSaverProc, delivered by the next pump
    uintptr_t timerId = 0;
    OffscreenSurface surface;
    bool surfaceTaken = false;
    void* data = nullptr;  // the window procedure's
};

// Creates the window as the window manager would: WM_NCCREATE, WM_CREATE with the parent and the
// request in its creation parameters, then WM_SIZE. A null parent gives a full-screen saver window.
HeadlessWindow* HeadlessCreateWindow(SaverWindowProcedure procedure, int width, int height, SaverWindow parent,
                                     const SaverShowRequest& request);

// Delivers a posted close, then one WM_TIMER when the frame timer runs. False once the window is gone.
bool HeadlessPump(HeadlessWindow* window);

// The close button: WM_CLOSE, which destroys the window when the saver passes it on.
void HeadlessClose(HeadlessWindow* window);

// Frees a destroyed window.
void HeadlessFreeWindow(HeadlessWindow* window);

// The desktop the host pretends to run on, and the monitors a full-screen window covers (none
// listed: one show fills the window).
void HeadlessSetDesktopSize(int width, int height);
void HeadlessSetMonitors(const SaverMonitor* monitors, int count);

// True once the saver posted its quit message.
bool HeadlessQuitPosted(int* exitCode);

// A window that stands for the desktop, to be a preview's parent.
SaverWindow HeadlessDesktopWindow();
