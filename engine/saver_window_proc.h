#pragma once
#include "seam/platform.h"

// The saver window's own procedure: it turns the window's messages into calls on the window's
// shows, one per monitor it covers, from creation to destruction. Whatever it does not consume
// goes to the host's DefaultSaverProc.
SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam);
