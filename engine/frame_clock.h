#pragma once
#include <cstdint>

// Where the frame clock reads time: a high-resolution counter, or a 32-bit millisecond count
// when the counter is missing. Tests and the simulator drive their own.
struct FrameClockSource {
    bool (*queryCounterFrequency)(int64_t* countsPerSecond);
    int64_t (*queryCounter)();
    uint32_t (*queryMilliseconds)();
};

FrameClockSource HostFrameClockSource();

// Seconds since the last restart, as double.
class FrameClock {
public:
    bool usesPerformanceCounter = false;
    int64_t countsPerSecond = 0;
    int64_t startCount = 0;
    uint32_t startMillis = 0;

    explicit FrameClock(const FrameClockSource& source = HostFrameClockSource());

    double Restart();
    double Elapsed() const;

private:
    double SecondsSinceStart(int64_t* nowCount, uint32_t* nowMillis) const;

    FrameClockSource source_;
};

extern FrameClock g_frameClock;
