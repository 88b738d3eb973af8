#pragma once
// The screen's monitors, for the windows that cover the whole screen: the full-screen window and
// the real root. Both sit at the root's origin, so root and window coordinates are the same.
#include <X11/Xlib.h>

#include "seam/platform.h"

// The screen's size now, asked from the server.
void RootSize(Display* display, int* width, int* height);

// The monitors in root coordinates, the primary first, then the rest in the server's order: from
// XRandR 1.5, else the lit CRTCs, else Xinerama, else the root window alone. At least one.
int ScreenMonitors(Display* display, SaverMonitor* monitors, int capacity);

// The index in `monitors` of the one holding the point; 0 when none does.
int MonitorIndexAt(const SaverMonitor* monitors, int count, int x, int y);

// Whether the drawing window covers the screen and holds one show per monitor.
bool CoversScreen();

// Where a window of one show lies: the index of the monitor holding its centre, so a daemon's
// processes, one per monitor, play the shows one process would play on all of them.
int DrawingWindowMonitorIndex();

// Frames are paced to the refresh of the output under the window, or of the primary when the
// window holds several shows.
void PaceToOutput();

// Asks the server for its layout changes, when the window covers the screen.
void WatchScreenLayout();

// True when the event is one of the layout changes asked for.
bool IsLayoutEvent(XEvent& event);

// Reads the layout again: the full-screen window takes the screen's size (WM_SIZE when it changed)
// and the core hears WM_DISPLAYCHANGE, so shows follow their monitors.
void FollowScreenLayout();
