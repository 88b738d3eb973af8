#pragma once
#include <X11/Xlib.h>

// The full-screen saver takes the keyboard and the pointer, as a Windows saver owns the desktop.
// Another client may hold a grab for a moment (a menu, a drag), so grabbing retries for a while.
void GrabInput(Window window, Cursor cursor);
void ReleaseGrabs();

// An invisible cursor for the saver window.
Cursor BlankCursor();
