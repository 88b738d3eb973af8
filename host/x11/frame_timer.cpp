#include "host/x11/frame_timer.h"

#include <algorithm>

#include "engine/frame_beat.h"

FrameTimer g_frameTimer;

void FrameTimer::Start(uintptr_t timerId, uint32_t periodMillis, int64_t now) {
    running = true;
    id = timerId;
    periodNanos = std::max({int64_t(periodMillis) * 1000 * 1000, FRAME_TIMER_MINIMUM_NANOS, displayPeriodNanos});
    dueNanos = now + periodNanos;
}

void FrameTimer::Stop() {
    running = false;
}

bool FrameTimer::TakeTick(int64_t now) {
    if (!running || now < dueNanos) return false;
    dueNanos = NextFrameDue(dueNanos, now, periodNanos);
    return true;
}

int FrameTimer::MillisUntilDue(int64_t now) const {
    if (!running) return -1;
    if (now >= dueNanos) return 0;
    return int((dueNanos - now + 999999) / 1000000);
}
