#pragma once
#include "seam/platform.h"

// The saver window's own procedure: the show's life cycle from creation to destruction.
// Whatever it does not consume goes to the host's DefaultSaverProc.
SaverResult SaverWindowProc(SaverWindow window, uint32_t message, SaverWParam wParam, SaverLParam lParam);

// A fixed seed for the show instead of the calendar time (a reproducible show on request).
void SetSaverSeed(uint32_t seed);
