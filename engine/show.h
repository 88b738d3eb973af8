#pragma once
#include <cstdint>

#include "engine/frame_clock.h"
#include "fireworks/draw_list.h"
#include "fireworks/firework.h"
#include "fireworks/world.h"
#include "render/bitmap_font.h"
#include "render/star_field.h"
#include "seam/platform.h"
#include "settings/settings.h"

const int32_t SHOW_MAIN_STAGE = 100;

// Frames longer than this are simulated as this long: after the machine slept the show
// picks up where it was instead of replaying minutes in one frame.
const double SHOW_LONGEST_TIME_STEP = 1.0;

// Bursts counted by kind, for the simulator's summary.
struct BurstTally {
    long long byKind[BURST_KIND_COUNT];
};

struct ShowFrameResult {
    double dt;        // the time step this frame measured
    bool titleShown;  // the opening show's title belongs in this frame
    int launched;
};

// One show, as one monitor sees it: the settings it runs with, the fireworks and their random
// streams, the frame clock, the sky and the overlays. A value: a window holds one per monitor it
// covers. The window procedure drives them message by message (SaverWindowProc); the simulator,
// benchmarks and tests call the same steps directly, so all of them run the show the saver runs.
class Show {
public:
    Settings settings;
    FireworkWorld world;
    FrameClock clock;  // stepped unless a host gives it its own time
    StarField stars;
    BitmapFont font;
    int32_t width = 0;  // from the last size
    int32_t height = 0;
    bool showBorder = false;     // F1 held
    bool showFrameRate = false;  // F2 held
    bool frameRateAlwaysShown = false;

    // The timing of the show, owned by the frame.
    int32_t warmupFrames = 2;
    double lastClockReading = 0;
    double showTime = 0;
    int32_t introStage = 0;
    int32_t launchCount = 0;

    DrawList drawList;  // the frame's shapes, kept from frame to frame

    Show() = default;
    explicit Show(const FrameClock& hostClock) : clock(hostClock) {}

    // The start of a show, as window creation makes it: the settings, the generator seeded, the
    // random table filled, an empty pool, the timing and overlays reset, the clock restarted.
    void Init(uint32_t seed, const Settings& runWith);
    // A new window size: the star field is built afresh from the random table.
    void Resize(int newWidth, int newHeight);
    // The simulation half of one frame, in frame order, with no GL: the time step, then the show
    // time, the opening show or the launch scheduler, the burst pass, the update pass, and every
    // record drawn into drawList. The frame draws the title and the list.
    ShowFrameResult Step(BurstTally* tally = nullptr);
    // One whole frame with the context current: the clear, then DrawFrame. The caller swaps buffers.
    void RenderFrame();
    // Step, then the sky, the overlays, the title and the fireworks drawn into the current viewport.
    void DrawFrame();
    // F1 and F2 show their overlay while held, when the settings allow; true when consumed.
    bool HoldOverlayKey(SaverWParam key, bool down);
    // Every record and the star field go.
    void Destroy();

    // The frame's pieces, for tests and benchmarks that run one alone.
    double MeasureTimeStep();
    bool RunOpeningShow();  // true when the title is to be drawn this frame
    int RunLaunchScheduler();  // the number of shells launched
    void BurstPass(BurstTally* tally);
    void UpdatePass(double dt);
    void DrawPass();

private:
    bool LaunchShell();
    void DispatchBurst(Firework& shell);
};
