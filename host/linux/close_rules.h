#pragma once
#include "seam/platform.h"

// What ends a full-screen saver on Linux, as DefaultSaverProc sees it: a key (the F1 and F2 the
// core takes never come here), a click, or the saver losing the focus.
inline bool EndsFullScreenSaver(uint32_t message, SaverWParam wParam) {
    switch (message) {
    case SAVER_WM_ACTIVATEAPP:
        return wParam == 0;
    case SAVER_WM_KEYDOWN:
    case SAVER_WM_SYSKEYDOWN:
    case SAVER_WM_LBUTTONDOWN:
    case SAVER_WM_RBUTTONDOWN:
    case SAVER_WM_MBUTTONDOWN:
        return true;
    default:
        return false;
    }
}
