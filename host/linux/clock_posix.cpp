#include <time.h>

#include "seam/platform.h"

// CLOCK_MONOTONIC in nanoseconds plays the part of the performance counter.
bool HostQueryCounterFrequency(int64_t* countsPerSecond) {
    *countsPerSecond = 1000000000;
    return true;
}

int64_t HostQueryCounter() {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

uint32_t HostQueryMilliseconds() {
    return uint32_t(HostQueryCounter() / 1000000);
}
