#include "host/win32/frame_pacer.h"

#include "engine/frame_beat.h"

void FramePacer::SetRefresh(int64_t countsPerSecond, uint32_t hertz) {
    if (hertz <= 1) hertz = PACER_DEFAULT_HERTZ;
    periodCounts = countsPerSecond / hertz;
}

bool FramePacer::TakeFrame(int64_t now) {
    if (beating && now < dueCounts) return false;
    dueCounts = beating ? NextFrameDue(dueCounts, now, periodCounts) : now + periodCounts;
    beating = true;
    return true;
}
