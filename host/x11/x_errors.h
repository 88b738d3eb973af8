#pragma once
#include <X11/Xlib.h>

// X errors never reach the user as Xlib's raw dump. Inside a trap they are only counted; outside
// one, an error about a window that someone else destroyed is expected, and any other ends the
// program through HostFatalExit.
void InstallXErrorHandlers();

void BeginErrorTrap();
bool EndErrorTrap(Display* display);  // syncs with the server; true when a request in the trap failed

bool WindowExists(Window window);

// Called by the event loop once queued events are handled, so a DestroyNotify that explains an
// error has been seen first.
void HandlePendingXError();
