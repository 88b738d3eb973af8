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

const double BENCH_FRAME_SECONDS = 1.0 / 60;
const uint32_t BENCH_SEED = 20240611;

// The show the benchmarks run, on the stepped clock (static: its tables are large for a stack).
static Show s_show;

static void StartShow(uint32_t seed, uint32_t frequency = 30) {
    Settings settings;
    settings.frequency = frequency;
    s_show.Init(seed, settings);
    s_show.Resize(1024, 768);
}

static void RunFrame(BurstTally* tally) {
    s_show.clock.Step(BENCH_FRAME_SECONDS);
    s_show.Step(tally);
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
    PoolSnapshot snapshot = BuildShowMix(s_show, BENCH_SEED, live);
    if (int(snapshot.records.size()) != live) {
        state.SkipWithError("the show never reached that many live records");
        return;
    }
    DrawList& list = s_show.drawList;
    RestoreShowMix(s_show, snapshot);
    s_show.DrawPass();  // the batch reaches its size once, as in the saver after its first frames
    for (auto _ : state) {
        state.PauseTiming();
        RestoreShowMix(s_show, snapshot);
        list.Clear();
        s_show.clock.Step(BENCH_FRAME_SECONDS);
        state.ResumeTiming();
        switch (piece) {
        case FramePiece::Update: s_show.UpdatePass(BENCH_FRAME_SECONDS); break;
        case FramePiece::Draw: s_show.DrawPass(); break;
        case FramePiece::WholeFrame: s_show.Step(); break;
        }
        benchmark::DoNotOptimize(list.Vertices());
    }
    CountKinds(snapshot, state);
    state.counters["vertices"] = list.VertexCount();
    s_show.Destroy();
}

static void BM_UpdatePass(benchmark::State& state) { PerFrame(state, FramePiece::Update); }
static void BM_DrawPass(benchmark::State& state) { PerFrame(state, FramePiece::Draw); }
static void BM_ShowStep(benchmark::State& state) { PerFrame(state, FramePiece::WholeFrame); }

BENCHMARK(BM_UpdatePass)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawPass)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShowStep)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case of a full pool: ten thousand records that stay, a tenth of them trail emitters at 30
// sparks a second, so every emission searches the whole table twice and finds nothing. The show never
// gets here by itself (its peak is a few thousand records), but a saver must not stall if it does.
static void BM_SaturatedPool(benchmark::State& state) {
    StartShow(BENCH_SEED);
    FireworkPool& pool = s_show.world.pool;
    for (int slot = 0; slot < POOL_SIZE; ++slot) {
        bool emitter = slot % 10 == 0;
        Firework* f =
            s_show.world.Create(slot, Vec3(slot % 80 - 40, 0, 30), Vec3(), emitter ? FF_TRAIL | FF_ROCKET : FF_STAR);
        f->SetColor(Vec3(1, 1, 1), 1e9, 1.0, COLOR_STEADY);
        f->SetGravityScale(0);
        if (emitter) f->SetTrail(Vec3(1, 1, 1), 30.0, 1e9, 1.0);
    }
    s_show.introStage = SHOW_MAIN_STAGE;
    s_show.showTime = 1e6;
    s_show.launchCount = 1000000;  // on target: launches are attempted only now and then
    long attemptsBefore = 0;
    for (const Firework* f : pool.slots) attemptsBefore += f->sparksEmitted;
    for (auto _ : state) RunFrame(nullptr);
    long attempts = -attemptsBefore;
    for (const Firework* f : pool.slots) attempts += f->sparksEmitted;
    state.counters["records"] = pool.CountLive();
    state.counters["failedSearchesPerFrame"] = double(attempts) / double(state.iterations());
    s_show.Destroy();
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
        StartShow(BENCH_SEED, uint32_t(frequency));
        FireworkPool& pool = s_show.world.pool;
        std::vector<int32_t> ids(POOL_SIZE, -1);
        std::vector<int> born(POOL_SIZE, 0);
        int oldest = 0, peak = 0;
        double firstBlock = 0, lastBlock = 0, sum = 0;
        BurstTally tally = {};

        auto track = [&](int frame) {
            int live = 0;
            for (int slot = 0; slot < POOL_SIZE; ++slot) {
                const Firework* f = pool.slots[slot];
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
            RunFrame(&tally);
            int live = track(frame);
            peak = std::max(peak, live);
            sum += live;
            if (frame < blockFrames) firstBlock += live;
            if (frame >= hourFrames - blockFrames) lastBlock += live;
        }
        int atHourEnd = pool.CountLive();

        // No more launches: only bursts, updates and drawing, until the pool is empty.
        int drainFrames = 0;
        while (pool.CountLive() > 0 && drainFrames < 60 * 600) {
            s_show.drawList.Clear();
            s_show.BurstPass(&tally);
            s_show.UpdatePass(BENCH_FRAME_SECONDS);
            s_show.DrawPass();
            track(hourFrames + drainFrames);
            ++drainFrames;
        }

        state.counters["launches"] = s_show.launchCount;
        state.counters["peak"] = peak;
        state.counters["meanLive"] = sum / hourFrames;
        state.counters["first10minMean"] = firstBlock / blockFrames;
        state.counters["last10minMean"] = lastBlock / blockFrames;
        state.counters["liveAtHourEnd"] = atHourEnd;
        state.counters["drainSeconds"] = drainFrames / 60.0;
        state.counters["liveAfterDrain"] = pool.CountLive();
        state.counters["oldestAgeSeconds"] = oldest / 60.0;
        s_show.Destroy();
    }
}

BENCHMARK(BM_SimulatedHour)->Arg(30)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

BENCHMARK_MAIN();
