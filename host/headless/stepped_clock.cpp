#include "host/headless/stepped_clock.h"

#include <cmath>
#include <cstdint>

#include "engine/frame_clock.h"

const int64_t STEPPED_COUNTS_PER_SECOND = 1000000000;

static int64_t s_counter = 0;

static bool SteppedFrequency(int64_t* countsPerSecond) {
    *countsPerSecond = STEPPED_COUNTS_PER_SECOND;
    return true;
}

static int64_t SteppedCounter() {
    return s_counter;
}

static uint32_t SteppedMilliseconds() {
    return uint32_t(s_counter / 1000000);
}

void UseSteppedFrameClock() {
    g_frameClock = FrameClock({SteppedFrequency, SteppedCounter, SteppedMilliseconds});
}

void AdvanceSteppedClock(double seconds) {
    s_counter += std::llround(seconds * double(STEPPED_COUNTS_PER_SECOND));
}
