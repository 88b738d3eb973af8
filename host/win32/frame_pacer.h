#pragma once
// Frames paced to the display. No windows.h here, so the rule is tested on every build.
#include <cstdint>

// A display that reports 0 or 1 Hz runs at its hardware's default; 60 is the common one.
const uint32_t PACER_DEFAULT_HERTZ = 60;

// The frame timer ticks about every millisecond (real Windows rounds it up to the system tick),
// far more often than any display shows a frame. A tick draws only once a refresh period has
// passed since the last frame was due, on the X11 frame timer's beat (NextFrameDue).
struct FramePacer {
    int64_t periodCounts = 0;  // 0 until the refresh is set: every tick draws
    int64_t dueCounts = 0;
    bool beating = false;

    void SetRefresh(int64_t countsPerSecond, uint32_t hertz);
    bool TakeFrame(int64_t now);
};
