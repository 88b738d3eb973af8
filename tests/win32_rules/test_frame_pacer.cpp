#include <gtest/gtest.h>

#include "host/win32/frame_pacer.h"

const int64_t COUNTS_PER_SECOND = 10000000;  // QueryPerformanceFrequency on most Windows machines

static int FramesInOneSecond(uint32_t hertz, double tickMillis) {
    FramePacer pacer;
    pacer.SetRefresh(COUNTS_PER_SECOND, hertz);
    int frames = 0;
    for (double at = 0; at < 1000; at += tickMillis) frames += pacer.TakeFrame(int64_t(at * 1e4));
    return frames;
}

// Whether the timer ticks every millisecond, on Wine's 10 ms or on the system tick, the frames
// keep the display's rate; 0 and 1 Hz mean the hardware default.
TEST(FramePacer, DrawsAtTheDisplaysRateWhateverTheTick) {
    const struct {
        uint32_t hertz;
        double tickMillis;
        int frames;
    } cases[] = {{60, 1, 60}, {60, 10, 60}, {60, 15.625, 60}, {0, 1, 60}, {1, 10, 60}, {144, 1, 144},
                 {75, 15.625, 64}};
    for (const auto& c : cases)
        EXPECT_NEAR(c.frames, FramesInOneSecond(c.hertz, c.tickMillis), 1) << c.hertz << " Hz, " << c.tickMillis;
}

// A tick late by a whole period starts a new beat: it draws once, not the frames it missed.
TEST(FramePacer, ALongPauseIsNotMadeUp) {
    FramePacer pacer;
    pacer.SetRefresh(COUNTS_PER_SECOND, 50);  // 20 ms
    EXPECT_TRUE(pacer.TakeFrame(0));
    EXPECT_FALSE(pacer.TakeFrame(199999));
    EXPECT_TRUE(pacer.TakeFrame(2000000));  // 200 ms later
    EXPECT_FALSE(pacer.TakeFrame(2000001));
    EXPECT_FALSE(pacer.TakeFrame(2199999));
    EXPECT_TRUE(pacer.TakeFrame(2200000));
}
