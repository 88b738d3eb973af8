#pragma once
#include <cstdint>

// The one frame timer. Windows delivers a timer no faster than every 10 ms (USER_TIMER_MINIMUM),
// and like WM_TIMER a tick never piles up: the next one is due a full period after the last.
const int64_t FRAME_TIMER_MINIMUM_NANOS = 10 * 1000 * 1000;

struct FrameTimer {
    bool running = false;
    uintptr_t id = 0;
    int64_t periodNanos = 0;
    int64_t dueNanos = 0;

    void Start(uintptr_t timerId, uint32_t periodMillis, int64_t now);
    void Stop();
    bool TakeTick(int64_t now);  // true when a tick is due; the next is then a period away
    int MillisUntilDue(int64_t now) const;  // -1 while stopped
};

extern FrameTimer g_frameTimer;
