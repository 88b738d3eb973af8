#pragma once
#include <cstdint>

#include "fireworks/firework.h"

class DrawList;

// The show's timing, owned by the frame driver.
extern int32_t g_warmupFrames;
extern double g_lastClockReading;
extern double g_showTime;
extern int32_t g_introStage;
extern int32_t g_launchCount;

const int32_t SHOW_MAIN_STAGE = 100;

// Frames longer than this are simulated as this long: after the machine slept the show
// picks up where it was instead of replaying minutes in one frame.
const double SHOW_LONGEST_TIME_STEP = 1.0;

// Bursts counted by kind, for the simulator's summary.
struct BurstTally {
    long long byKind[BURST_KIND_COUNT];
};

// The simulation half of one frame, in frame order. None of these touch GL.
double MeasureTimeStep();
void AdvanceShowTime(double dt);
bool RunOpeningShow();  // true when the title is to be drawn this frame
int RunLaunchScheduler();  // the number of shells launched
void DispatchBurst(Firework& shell);
void BurstPass(BurstTally* tally);
void UpdatePass(double dt);
void DrawPass(DrawList& list);

struct ShowFrameResult {
    bool titleShown;  // the opening show's title belongs in this frame
    int launched;
};

// Everything of one frame after the overlays: show time, opening show or launches, bursts,
// updates, and every record drawn into the list. The title and the list are drawn by the caller.
ShowFrameResult SimulateShowFrame(double dt, DrawList& list, BurstTally* tally);

// Sets every timing variable back to its start value.
void ResetShow();
