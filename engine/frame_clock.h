#pragma once
#include <cstdint>

// Where the host's frame clock reads time: a high-resolution counter, and a 32-bit millisecond
// count for when the counter is missing.
struct FrameClockSource {
    bool (*queryCounterFrequency)(int64_t* countsPerSecond);
    int64_t (*queryCounter)();
    uint32_t (*queryMilliseconds)();
};

// Seconds since the last restart, as double. Built without a source it is a stepped clock: a
// nanosecond counter of its own that moves only when stepped, so a seed gives the same show on
// every run and machine (the simulator, benchmarks, snapshots and tests run on it).
class FrameClock {
public:
    explicit FrameClock(bool withCounter = true);  // stepped; without a counter it reads milliseconds
    explicit FrameClock(const FrameClockSource& source);

    void Step(double seconds);  // a stepped clock only: round(seconds x 10^9) counts on
    double Restart();
    double Elapsed() const;
    bool UsesCounter() const { return usesCounter_; }

private:
    void Choose(bool reported, int64_t countsPerSecond);
    int64_t Counter() const;
    uint32_t Milliseconds() const;
    double SecondsSinceStart(int64_t* nowCount, uint32_t* nowMillis) const;

    FrameClockSource source_ = {};
    int64_t steppedNanoseconds_ = 0;
    bool usesCounter_ = false;
    int64_t countsPerSecond_ = 0;
    int64_t startCount_ = 0;
    uint32_t startMillis_ = 0;
};
