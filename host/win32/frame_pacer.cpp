#include "host/win32/frame_pacer.h"

void FramePacer::SetRefresh(int64_t countsPerSecond, uint32_t hertz) {
    if (hertz <= 1) hertz = PACER_DEFAULT_HERTZ;
    periodCounts = countsPerSecond / hertz;
}

bool FramePacer::TakeFrame(int64_t now) {
    if (beating && now < dueCounts) return false;
    bool onBeat = beating && now - dueCounts < periodCounts;
    dueCounts = (onBeat ? dueCounts : now) + periodCounts;
    beating = true;
    return true;
}
