#pragma once
#include "host/linux/options.h"

// -window and -fullscreen go to the Wayland program when a compositor answers on WAYLAND_DISPLAY
// (or when -wayland says so); everything else stays here. A plain socket connect decides, so the
// X11 program maps no Wayland library.
bool ChoosesWayland(const HostOptions& options);

// Replaces this process with vesperglow-wayland, the same arguments given; returns only on failure.
void RunWaylandProgram(char** argv);
