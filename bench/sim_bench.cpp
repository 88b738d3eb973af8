// Simulation cost per frame with no GL: the update pass, the draw pass into the frame's batch and the
// whole show half of a frame, over a realistic pool of 1000, 5000 and 10000 live records; and one
// simulated hour at 60 frames a second, reporting occupancy and record ages.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "bench/show_mix.h"
#include "tests/support/show_reset.h"
#include "engine/frame_clock.h"
#include "engine/show.h"
#include "engine/stars_for_window.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/draw_list.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"

const double BENCH_FRAME_SECONDS = 1.0 / 60;
const int64_t BENCH_FRAME_COUNTS = 16666667;  // nanoseconds
const uint32_t BENCH_SEED = 20240611;

// A counter clock that moves only when told.
static int64_t s_counter = 0;
static bool BenchFrequency(int64_t* countsPerSecond) {
    *countsPerSecond = 1000000000;
    return true;
}
static int64_t BenchCounter() { return s_counter; }
static uint32_t BenchMilliseconds() { return uint32_t(s_counter / 1000000); }

static void StartShow(uint32_t seed) {
    RestartShowStreams(seed);
    s_counter = 0;
    g_frameClock = FrameClock({BenchFrequency, BenchCounter, BenchMilliseconds});
    BuildStarsForWindow(1024, 768);
}

static double RunFrame(DrawList& list, BurstTally* tally) {
    s_counter += BENCH_FRAME_COUNTS;
    list.Clear();
    SimulateShowFrame(MeasureTimeStep(), list, tally);
    return g_showTime;
}

static void AdvanceBenchClock() {
    s_counter += BENCH_FRAME_COUNTS;
}

// The kinds of record in a pool: what the per-frame figures are made of.
static void CountKinds(const PoolSnapshot& snapshot, benchmark::State& state) {
    int stars = 0, rockets = 0, trailedEmitters = 0, trailSparks = 0;
    for (const auto& record : snapshot.records) {
        const Firework& f = record.second;
        if (f.flags & FF_STAR) ++stars;
        else if (f.flags == FF_ROCKET) ++rockets;
        if (f.trailRate > 0) ++trailedEmitters;
        else if (f.flags == FF_TRAIL) ++trailSparks;
    }
    state.counters["records"] = double(snapshot.records.size());
    state.counters["stars"] = stars;
    state.counters["rockets"] = rockets;
    state.counters["trailed"] = trailedEmitters;
    state.counters["sparks"] = trailSparks;
}

enum class FramePiece { Update, Draw, WholeFrame };

static void PerFrame(benchmark::State& state, FramePiece piece) {
    int live = int(state.range(0));
    StartShow(BENCH_SEED);
    PoolSnapshot snapshot = BuildShowMix(BENCH_SEED, live, AdvanceBenchClock);
    if (int(snapshot.records.size()) != live) {
        state.SkipWithError("the show never reached that many live records");
        return;
    }
    DrawList list;
    RestoreShowMix(snapshot, BENCH_SEED);
    DrawPass(list);  // the batch reaches its size once, as in the saver after its first frames
    for (auto _ : state) {
        state.PauseTiming();
        RestoreShowMix(snapshot, BENCH_SEED);
        list.Clear();
        s_counter += BENCH_FRAME_COUNTS;
        state.ResumeTiming();
        switch (piece) {
        case FramePiece::Update: UpdatePass(BENCH_FRAME_SECONDS); break;
        case FramePiece::Draw: DrawPass(list); break;
        case FramePiece::WholeFrame: SimulateShowFrame(MeasureTimeStep(), list, nullptr); break;
        }
        benchmark::DoNotOptimize(list.Vertices());
    }
    CountKinds(snapshot, state);
    state.counters["vertices"] = list.VertexCount();
    DeleteAllFireworks();
}

static void BM_UpdatePass(benchmark::State& state) { PerFrame(state, FramePiece::Update); }
static void BM_DrawPass(benchmark::State& state) { PerFrame(state, FramePiece::Draw); }
static void BM_SimulateShowFrame(benchmark::State& state) { PerFrame(state, FramePiece::WholeFrame); }

BENCHMARK(BM_UpdatePass)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPass)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimulateShowFrame)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case of a full pool: ten thousand records that stay, a tenth of them trail emitters at 30
// sparks a second, so every emission searches the whole table twice and finds nothing. The show never
// gets here by itself (its peak is a few thousand records), but a saver must not stall if it does.
static void BM_SaturatedPool(benchmark::State& state) {
    StartShow(BENCH_SEED);
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        bool emitter = slot % 10 == 0;
        Firework* f = new Firework(Vec3(slot % 80 - 40, 0, 30), Vec3(), emitter ? FF_TRAIL | FF_ROCKET : FF_STAR);
        f->SetColor(Vec3(1, 1, 1), 1e9, 1.0, COLOR_STEADY);
        f->SetGravityScale(0);
        if (emitter) f->SetTrail(Vec3(1, 1, 1), 30.0, 1e9, 1.0);
        g_fireworkPool.slots[slot] = f;
    }
    g_introStage = SHOW_MAIN_STAGE;
    g_showTime = 1e6;
    g_launchCount = 1000000;  // on target: launches are attempted only now and then
    DrawList list;
    long attemptsBefore = 0;
    for (const Firework* f : g_fireworkPool.slots) attemptsBefore += f->sparksEmitted;
    for (auto _ : state) {
        list.Clear();
        SimulateShowFrame(BENCH_FRAME_SECONDS, list, nullptr);
    }
    long attempts = -attemptsBefore;
    for (const Firework* f : g_fireworkPool.slots) attempts += f->sparksEmitted;
    state.counters["records"] = CountLiveFireworks();
    state.counters["failedSearchesPerFrame"] = double(attempts) / double(state.iterations());
    DeleteAllFireworks();
}

BENCHMARK(BM_SaturatedPool)->Unit(benchmark::kMicrosecond);

// One hour of the default show (with its opening) at 60 frames a second, then the launches stop and
// the pool drains. Occupancy should hold a steady level through the hour and fall back to empty, and
// no record should live much longer than the longest life the show gives (about a dozen seconds).
static void BM_SimulatedHour(benchmark::State& state) {
    const int frequency = int(state.range(0));
    const int hourFrames = 60 * 60 * 60;
    const int blockFrames = 10 * 60 * 60;
    for (auto _ : state) {
        StartShow(BENCH_SEED);
        g_settings.frequency = uint32_t(frequency);
        std::vector<int32_t> ids(POOL_SIZE, -1);
        std::vector<int> born(POOL_SIZE, 0);
        int oldest = 0, peak = 0;
        double firstBlock = 0, lastBlock = 0, sum = 0;
        DrawList list;
        BurstTally tally = {};

        auto track = [&](int frame) {
            int live = 0;
            for (int slot = 0; slot < POOL_SIZE; ++slot) {
                const Firework* f = g_fireworkPool.slots[slot];
                if (!f) continue;
                ++live;
                if (f->randomId != ids[slot]) {
                    ids[slot] = f->randomId;
                    born[slot] = frame;
                } else if (frame - born[slot] > oldest) {
                    oldest = frame - born[slot];
                }
            }
            return live;
        };
        for (int frame = 0; frame < hourFrames; ++frame) {
            RunFrame(list, &tally);
            int live = track(frame);
            peak = std::max(peak, live);
            sum += live;
            if (frame < blockFrames) firstBlock += live;
            if (frame >= hourFrames - blockFrames) lastBlock += live;
        }
        int atHourEnd = CountLiveFireworks();

        // No more launches: only bursts, updates and drawing, until the pool is empty.
        int drainFrames = 0;
        while (CountLiveFireworks() > 0 && drainFrames < 60 * 600) {
            list.Clear();
            BurstPass(&tally);
            UpdatePass(BENCH_FRAME_SECONDS);
            DrawPass(list);
            track(hourFrames + drainFrames);
            ++drainFrames;
        }

        state.counters["launches"] = g_launchCount;
        state.counters["peak"] = peak;
        state.counters["meanLive"] = sum / hourFrames;
        state.counters["first10minMean"] = firstBlock / blockFrames;
        state.counters["last10minMean"] = lastBlock / blockFrames;
        state.counters["liveAtHourEnd"] = atHourEnd;
        state.counters["drainSeconds"] = drainFrames / 60.0;
        state.counters["liveAfterDrain"] = CountLiveFireworks();
        state.counters["oldestAgeSeconds"] = oldest / 60.0;
        DeleteAllFireworks();
    }
}

BENCHMARK(BM_SimulatedHour)->Arg(30)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
