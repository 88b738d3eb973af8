#pragma once
#include <cstdint>

// When the frame after one taken at `now` is due: a frame a little late keeps the beat, so the rate
// stays the display's; one a whole period late starts a new beat instead of catching up.
inline int64_t NextFrameDue(int64_t due, int64_t now, int64_t period) {
    return now - due < period ? due + period : now + period;
}
