#pragma once
#include "engine/show.h"
#include "seam/platform.h"

// The saver window's own procedure: it turns the window's messages into calls on the show, from
// creation to destruction. Whatever it does not consume goes to the host's DefaultSaverProc.
SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam);

// The show the saver window runs: one per process, as there is one saver window.
extern Show g_show;
