// Frame time offscreen (Mesa llvmpipe): simulation, drawing and glFinish, from the same pool state
// every iteration, with the frame's batch and with per-record immediate mode. Time is wall-clock;
// the CPU column adds up every thread of the process, llvmpipe's rasterisers included.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "bench/show_mix.h"
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

static void AdvanceBenchClock() {
    AdvanceSteppedClock(BENCH_FRAME_SECONDS);
}

static void Frame(benchmark::State& state, int width, int height, int live, bool batched) {
    if (!UseWindowSize(width, height)) {
        state.SkipWithError("no offscreen OpenGL (Mesa EGL surfaceless)");
        return;
    }
    UseSteppedFrameClock();
    PoolSnapshot snapshot = BuildShowMix(BENCH_SEED, live, AdvanceBenchClock);
    if (int(snapshot.records.size()) != live) {
        state.SkipWithError("the show never reached that many live records");
        return;
    }
    DrawList counted;
    RestoreShowMix(snapshot, BENCH_SEED);
    DrawPass(counted);
    for (auto _ : state) {
        state.PauseTiming();
        RestoreShowMix(snapshot, BENCH_SEED);
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
