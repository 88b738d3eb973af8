// Frame time offscreen (Mesa llvmpipe): simulation, drawing and glFinish, from the same pool state
// every iteration. Time is wall-clock; the CPU column adds up every thread of the process, llvmpipe's
// rasterisers included.
#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "bench/show_mix.h"
#include "engine/monitor_seed.h"
#include "engine/saver_window.h"
#include "host/headless/offscreen_egl.h"
#include "render/gl_context.h"
#include "render/gl_state.h"

const uint32_t BENCH_SEED = 20240601;

// One offscreen window at a time, replaced when the size changes.
static OffscreenSurface s_surface;
static EGLContext s_context = EGL_NO_CONTEXT;
static Show s_show;

static bool UseWindowSize(int width, int height) {
    if (s_context != EGL_NO_CONTEXT && s_surface.width == width && s_surface.height == height) return true;
    if (s_context == EGL_NO_CONTEXT) {
        s_surface.width = width;
        s_surface.height = height;
        // The depth buffer the saver asks for: none while it blends.
        int format = OffscreenChooseConfig({0, 1, uint8_t(s_show.settings.alphaBlending ? 0 : 16)});
        if (format == 0 || !OffscreenSetConfig(&s_surface, format)) return false;
        s_context = OffscreenCreateContext(s_surface);
        if (s_context == EGL_NO_CONTEXT || !OffscreenMakeCurrent(&s_surface, s_context)) return false;
        s_show.font.LoadTextures();
    } else if (!OffscreenResize(&s_surface, width, height)) {
        return false;
    }
    return true;
}

static void Frame(benchmark::State& state, int width, int height, int live) {
    if (!UseWindowSize(width, height)) {
        state.SkipWithError("no offscreen OpenGL (Mesa EGL surfaceless)");
        return;
    }
    PoolSnapshot snapshot = BuildShowMix(s_show, BENCH_SEED, live);
    if (int(snapshot.records.size()) != live) {
        state.SkipWithError("the show never reached that many live records");
        return;
    }
    // The set-up the saver does at creation and at each size message, with the default settings.
    SetFixedGLState();
    SetBlendState(s_show.settings.alphaBlending != 0);
    ResizeScene(0, 0, width, height);
    s_show.Resize(width, height);
    for (auto _ : state) {
        state.PauseTiming();
        RestoreShowMix(s_show, snapshot);
        s_show.clock.Step(1.0 / 60);
        state.ResumeTiming();
        s_show.RenderFrame();
        glFinish();
    }
    state.counters["records"] = double(snapshot.records.size());
    state.counters["triangles"] = double(s_show.drawList.VertexCount() / 3);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Two monitors side by side under one window, each with its own show of `live` records: one clear,
// then each show in its own viewport and scissor, as the full-screen saver draws them.
static void TwoMonitorFrame(benchmark::State& state, int width, int height, int live) {
    if (!UseWindowSize(2 * width, height)) {
        state.SkipWithError("no offscreen OpenGL (Mesa EGL surfaceless)");
        return;
    }
    SaverWindowState window;
    window.width = 2 * width;
    window.height = height;
    std::vector<PoolSnapshot> snapshots;
    for (uint32_t monitor = 0; monitor < 2; ++monitor) {
        window.shows.push_back({{int32_t(monitor) * width, 0, width, height, monitor}, std::make_unique<Show>()});
        Show& show = *window.shows.back().show;
        show.font = s_show.font;
        snapshots.push_back(BuildShowMix(show, MonitorSeed(BENCH_SEED, int32_t(monitor)), live));
        if (int(snapshots.back().records.size()) != live) {
            state.SkipWithError("the show never reached that many live records");
            return;
        }
        show.Resize(width, height);
    }
    SetFixedGLState();
    SetBlendState(window.shows[0].show->settings.alphaBlending != 0);
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t monitor = 0; monitor < 2; ++monitor) {
            RestoreShowMix(*window.shows[monitor].show, snapshots[monitor]);
            window.shows[monitor].show->clock.Step(1.0 / 60);
        }
        state.ResumeTiming();
        RenderShows(window);
        glFinish();
    }
    state.counters["records"] = double(2 * live);
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

int main(int argc, char** argv) {
    const std::pair<int, int> sizes[] = {{1024, 768}, {1920, 1080}, {3840, 2160}};
    for (const auto& size : sizes) {
        for (int live : {1000, 5000, 10000}) {
            char name[96];
            std::snprintf(name, sizeof name, "Frame/%dx%d/%d", size.first, size.second, live);
            int width = size.first, height = size.second;
            benchmark::RegisterBenchmark(name, [=](benchmark::State& state) { Frame(state, width, height, live); })
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MeasureProcessCPUTime();
        }
    }
    for (int live : {1000, 5000, 10000}) {
        char name[96];
        std::snprintf(name, sizeof name, "TwoMonitorFrame/2x1920x1080/%d", live);
        benchmark::RegisterBenchmark(name, [=](benchmark::State& state) { TwoMonitorFrame(state, 1920, 1080, live); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->MeasureProcessCPUTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
