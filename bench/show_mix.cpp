#include "bench/show_mix.h"

#include "engine/frame_clock.h"
#include "engine/show.h"
#include "fireworks/burst.h"
#include "fireworks/crt_rand.h"
#include "fireworks/draw_list.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "settings/settings.h"
#include "tests/support/show_reset.h"

const int MIX_FRAME_LIMIT = 60 * 120;
const int MIX_FRAMES_PER_BURST = 4;

static void BurstOfKind(int kind) {
    const Vec3 colors[2] = {Vec3(0.5, 0.3, 0.1), Vec3(0.2, 0.25, 0.5)};
    Vec3 at(NextRandom() * 60 - 30, 0, 25 + NextRandom() * 25);
    Vec3 drift(NextRandom() * 4 - 2, 0, 2);
    switch (kind) {
    case 0: SphericalBurst(at, drift, COLOR_STEADY); break;
    case 1: BlastBurst(at, drift, false); break;
    case 2: WillowBurst(at, drift, colors, false); break;
    case 3: SphericalBurst(at, drift, COLOR_FLICKER); break;
    case 4: ChainReactionBurst(at, drift); break;
    case 5: CorkScrewBurst(at, drift, colors); break;
    default: WaverBurst(at, drift); break;
    }
}

PoolSnapshot BuildShowMix(uint32_t seed, int live, void (*advanceClock)()) {
    RestartShowStreams(seed);
    g_settings.frequency = 60;
    g_settings.displayTitle = 0;
    DrawList discarded;
    for (int frame = 0; CountLiveFireworks() < live && frame < MIX_FRAME_LIMIT; ++frame) {
        if (frame % MIX_FRAMES_PER_BURST == 0) BurstOfKind((frame / MIX_FRAMES_PER_BURST) % 7);
        advanceClock();
        discarded.Clear();
        SimulateShowFrame(MeasureTimeStep(), discarded, nullptr);
    }
    for (int slot = POOL_SIZE - 1; slot >= 0 && CountLiveFireworks() > live; --slot) {
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

void RestoreShowMix(const PoolSnapshot& snapshot, uint32_t seed) {
    DeleteAllFireworks();
    for (const auto& record : snapshot.records) g_fireworkPool.slots[record.first] = new Firework(record.second);
    g_fireworkPool.nextSlotCursor = snapshot.nextSlotCursor;
    g_randomTable.cursor = snapshot.randomCursor;
    g_showTime = snapshot.showTime;
    g_launchCount = snapshot.launchCount;
    SeedRand(seed);
    g_lastClockReading = g_frameClock.Elapsed();
}
