// Frame time offscreen (Mesa llvmpipe): simulation, drawing and glFinish, from the same pool state
// every iteration, with the frame's batch and with per-record immediate mode. Time is wall-clock;
// the CPU column adds up every thread of the process, llvmpipe's rasterisers included.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "engine/engine_state.h"
#include "engine/frame_clock.h"
#include "engine/render_frame.h"
#include "engine/show.h"
#include "engine/stars_for_window.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/draw_list.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "host/headless/offscreen_egl.h"
#include "host/headless/stepped_clock.h"
#include "render/gl_context.h"
#include "render/gl_state.h"
#include "settings/settings.h"
#include "tests/support/immediate_draw.h"

const double BENCH_FRAME_SECONDS = 1.0 / 60;
const uint32_t BENCH_SEED = 20240601;
const int BENCH_BUILD_FRAME_LIMIT = 60 * 120;
const int BENCH_FRAMES_PER_BURST = 4;

// One offscreen window at a time, replaced when the size changes.
struct BenchSurface {
    OffscreenSurface surface;
    EGLContext context = EGL_NO_CONTEXT;
};

static BenchSurface s_bench;

static bool UseWindowSize(int width, int height) {
    if (s_bench.context != EGL_NO_CONTEXT && s_bench.surface.width == width && s_bench.surface.height == height)
        return true;
    if (s_bench.context == EGL_NO_CONTEXT) {
        s_bench.surface.width = width;
        s_bench.surface.height = height;
        int format = OffscreenChooseConfig({0, 1, 16});
        if (format == 0 || !OffscreenSetConfig(&s_bench.surface, format)) return false;
        s_bench.context = OffscreenCreateContext(s_bench.surface);
        if (s_bench.context == EGL_NO_CONTEXT || !OffscreenMakeCurrent(&s_bench.surface, s_bench.context))
            return false;
    } else if (!OffscreenResize(&s_bench.surface, width, height)) {
        return false;
    }
    // The set-up the saver does at creation and at each size message, with the default settings.
    SetFixedGLState();
    SetBlendState(g_settings.alphaBlending != 0);
    g_windowWidth = width;
    g_windowHeight = height;
    ResizeScene(width, height);
    BuildStarsForWindow(width, height);
    return true;
}

// A copy of every live record and of the show's state, put back before each timed frame.
struct PoolSnapshot {
    std::vector<std::pair<int, Firework>> records;
    int32_t nextSlotCursor = 0;
    int randomCursor = 0;
    double showTime = 0;
    int32_t launchCount = 0;
};

static int LiveRecords() {
    int live = 0;
    for (const Firework* f : g_fireworkPool.slots)
        if (f) ++live;
    return live;
}

// The ordinary show at the fastest launch rate, helped along by a burst of each kind in turn,
// until the pool holds `live` records; the newest are dropped to make the count exact.
static PoolSnapshot BuildShow(int live) {
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    g_randomTable.cursor = 0;
    SeedRand(BENCH_SEED);
    FillRandomTable();
    ResetShow();
    g_settings.frequency = 60;
    g_settings.displayTitle = 0;
    UseSteppedFrameClock();

    DrawList discarded;
    const Vec3 colors[2] = {Vec3(1, 0.6, 0.2), Vec3(0.4, 0.5, 1)};
    for (int frame = 0; LiveRecords() < live && frame < BENCH_BUILD_FRAME_LIMIT; ++frame) {
        if (frame % BENCH_FRAMES_PER_BURST == 0) {
            Vec3 at(NextRandom() * 60 - 30, 0, 25 + NextRandom() * 25);
            Vec3 drift(NextRandom() * 4 - 2, 0, 2);
            switch ((frame / BENCH_FRAMES_PER_BURST) % 7) {
            case 0: SphericalBurst(at, drift, COLOR_STEADY); break;
            case 1: BlastBurst(at, drift, false); break;
            case 2: WillowBurst(at, drift, colors, false); break;
            case 3: SphericalBurst(at, drift, COLOR_FLICKER); break;
            case 4: ChainReactionBurst(at, drift); break;
            case 5: CorkScrewBurst(at, drift, colors); break;
            default: WaverBurst(at, drift); break;
            }
        }
        AdvanceSteppedClock(BENCH_FRAME_SECONDS);
        discarded.Clear();
        SimulateShowFrame(MeasureTimeStep(), discarded, nullptr);
    }
    for (int slot = POOL_SIZE - 1; slot >= 0 && LiveRecords() > live; --slot) {
        delete g_fireworkPool.slots[slot];
        g_fireworkPool.slots[slot] = nullptr;
    }

    PoolSnapshot snapshot;
    for (int slot = 0; slot < POOL_SIZE; ++slot)
        if (g_fireworkPool.slots[slot]) snapshot.records.push_back({slot, *g_fireworkPool.slots[slot]});
    snapshot.nextSlotCursor = g_fireworkPool.nextSlotCursor;
    snapshot.randomCursor = g_randomTable.cursor;
    snapshot.showTime = g_showTime;
    snapshot.launchCount = g_launchCount;
    return snapshot;
}

static void Restore(const PoolSnapshot& snapshot) {
    DeleteAllFireworks();
    for (const auto& record : snapshot.records) g_fireworkPool.slots[record.first] = new Firework(record.second);
    g_fireworkPool.nextSlotCursor = snapshot.nextSlotCursor;
    g_randomTable.cursor = snapshot.randomCursor;
    g_showTime = snapshot.showTime;
    g_launchCount = snapshot.launchCount;
    SeedRand(BENCH_SEED);
    // The next frame measures exactly one step.
    g_lastClockReading = g_frameClock.Elapsed();
}

static void Frame(benchmark::State& state, int width, int height, int live, bool batched) {
    if (!UseWindowSize(width, height)) {
        state.SkipWithError("no offscreen OpenGL (Mesa EGL surfaceless)");
        return;
    }
    PoolSnapshot snapshot = BuildShow(live);
    if (int(snapshot.records.size()) != live) {
        state.SkipWithError("the show never reached that many live records");
        return;
    }
    DrawList counted;
    Restore(snapshot);
    DrawPass(counted);
    for (auto _ : state) {
        state.PauseTiming();
        Restore(snapshot);
        AdvanceSteppedClock(BENCH_FRAME_SECONDS);
        state.ResumeTiming();
        if (batched)
            RenderFrame();
        else
            RenderFrameImmediate();
        glFinish();
    }
    state.counters["records"] = double(snapshot.records.size());
    state.counters["triangles"] = double(counted.VertexCount() / 3);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

int main(int argc, char** argv) {
    const std::pair<int, int> sizes[] = {{1024, 768}, {1920, 1080}};
    const int lives[] = {1000, 5000, 10000};
    for (const auto& size : sizes) {
        for (int live : lives) {
            for (bool batched : {true, false}) {
                char name[96];
                std::snprintf(name, sizeof name, "Frame/%dx%d/%d/%s", size.first, size.second, live,
                              batched ? "batched" : "immediate");
                int width = size.first, height = size.second;
                benchmark::RegisterBenchmark(name, [=](benchmark::State& state) {
                    Frame(state, width, height, live, batched);
                })->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
            }
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
