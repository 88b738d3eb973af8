#pragma once
// A frame clock driven by hand: a counter at one count per nanosecond, or a 32-bit millisecond count.
#include <cstdint>

#include "engine/frame_clock.h"

struct ManualTime {
    int64_t counter = 0;
    int64_t frequency = 1000000000;
    bool counterAvailable = true;
    uint64_t millis = 0;  // wider than the source, so a test can run past the 32-bit wrap
};

inline ManualTime g_manualTime;

inline bool ManualFrequency(int64_t* countsPerSecond) {
    *countsPerSecond = g_manualTime.frequency;
    return g_manualTime.counterAvailable;
}
inline int64_t ManualCounter() { return g_manualTime.counter; }
inline uint32_t ManualMilliseconds() { return uint32_t(g_manualTime.millis); }

// Installs a fresh manual clock as g_frameClock.
inline void UseManualClock(const ManualTime& start) {
    g_manualTime = start;
    g_frameClock = FrameClock({ManualFrequency, ManualCounter, ManualMilliseconds});
}

// Moves both sources on by the given number of nanoseconds.
inline void AdvanceManualClock(int64_t nanoseconds) {
    g_manualTime.counter += nanoseconds;
    g_manualTime.millis = uint64_t(g_manualTime.counter / 1000000);
}
