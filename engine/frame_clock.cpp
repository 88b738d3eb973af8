#include "engine/frame_clock.h"

#include <cmath>

const int64_t CLOCK_STEPPED_COUNTS_PER_SECOND = 1000000000;

FrameClock::FrameClock(bool withCounter) {
    Choose(withCounter, CLOCK_STEPPED_COUNTS_PER_SECOND);
}

FrameClock::FrameClock(const FrameClockSource& source) : source_(source) {
    int64_t countsPerSecond = 0;
    bool reported = source_.queryCounterFrequency(&countsPerSecond);
    Choose(reported, countsPerSecond);
}

void FrameClock::Choose(bool reported, int64_t countsPerSecond) {
    countsPerSecond_ = countsPerSecond;
    usesCounter_ = reported && countsPerSecond != 0;
    Restart();
}

void FrameClock::Step(double seconds) {
    steppedNanoseconds_ += std::llround(seconds * double(CLOCK_STEPPED_COUNTS_PER_SECOND));
}

int64_t FrameClock::Counter() const {
    return source_.queryCounter ? source_.queryCounter() : steppedNanoseconds_;
}

uint32_t FrameClock::Milliseconds() const {
    return source_.queryMilliseconds ? source_.queryMilliseconds() : uint32_t(steppedNanoseconds_ / 1000000);
}

double FrameClock::SecondsSinceStart(int64_t* nowCount, uint32_t* nowMillis) const {
    if (usesCounter_) {
        *nowCount = Counter();
        return double(*nowCount - startCount_) / double(countsPerSecond_);
    }
    *nowMillis = Milliseconds();
    uint32_t delta = *nowMillis - startMillis_;  // unsigned, so one wrap still gives the right difference
    return delta * 0.001;
}

double FrameClock::Restart() {
    int64_t nowCount = 0;
    uint32_t nowMillis = 0;
    double seconds = SecondsSinceStart(&nowCount, &nowMillis);
    if (usesCounter_) {
        startCount_ = nowCount;
    } else {
        startMillis_ = nowMillis;
    }
    return seconds;
}

double FrameClock::Elapsed() const {
    int64_t nowCount = 0;
    uint32_t nowMillis = 0;
    return SecondsSinceStart(&nowCount, &nowMillis);
}
