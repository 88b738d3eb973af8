#pragma once
#include <cstdint>

// The one frame timer. Windows delivers a timer no faster than every 10 ms (USER_TIMER_MINIMUM),
// and like WM_TIMER a tick never piles up: a late tick is not made up for.
const int64_t FRAME_TIMER_MINIMUM_NANOS = 10 * 1000 * 1000;

// The display's refresh when nothing tells it: Xvfb, for one, reports no rate.
const int64_t FRAME_TIMER_DEFAULT_DISPLAY_NANOS = 1000 * 1000 * 1000 / 60;

struct FrameTimer {
    bool running = false;
    uintptr_t id = 0;
    int64_t periodNanos = 0;
    int64_t dueNanos = 0;
    // No frame comes faster than the output shows them: drawing more only burns the CPU.
    int64_t displayPeriodNanos = FRAME_TIMER_DEFAULT_DISPLAY_NANOS;

    void Start(uintptr_t timerId, uint32_t periodMillis, int64_t now);
    void Stop();
    bool TakeTick(int64_t now);  // true when a tick is due; the next is then a period away
    int MillisUntilDue(int64_t now) const;  // -1 while stopped
};

extern FrameTimer g_frameTimer;
