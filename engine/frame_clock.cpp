#include "engine/frame_clock.h"

#include "seam/platform.h"

FrameClockSource HostFrameClockSource() {
    return {HostQueryCounterFrequency, HostQueryCounter, HostQueryMilliseconds};
}

FrameClock g_frameClock;

FrameClock::FrameClock(const FrameClockSource& source) : source_(source) {
    bool reported = source_.queryCounterFrequency(&countsPerSecond);
    usesPerformanceCounter = reported && countsPerSecond != 0;
    Restart();
}

double FrameClock::SecondsSinceStart(int64_t* nowCount, uint32_t* nowMillis) const {
    if (usesPerformanceCounter) {
        *nowCount = source_.queryCounter();
        return double(*nowCount - startCount) / double(countsPerSecond);
    }
    *nowMillis = source_.queryMilliseconds();
    uint32_t delta = *nowMillis - startMillis;  // unsigned, so one wrap still gives the right difference
    return delta * 0.001;
}

double FrameClock::Restart() {
    int64_t nowCount = 0;
    uint32_t nowMillis = 0;
    double seconds = SecondsSinceStart(&nowCount, &nowMillis);
    if (usesPerformanceCounter) {
        startCount = nowCount;
    } else {
        startMillis = nowMillis;
    }
    return seconds;
}

double FrameClock::Elapsed() const {
    int64_t nowCount = 0;
    uint32_t nowMillis = 0;
    return SecondsSinceStart(&nowCount, &nowMillis);
}
