#include "bench/show_mix.h"

#include "fireworks/burst.h"

const int MIX_FRAME_LIMIT = 60 * 120;
const int MIX_FRAMES_PER_BURST = 4;

static void BurstOfKind(FireworkWorld& world, int kind) {
    const Vec3 colors[2] = {Vec3(0.5, 0.3, 0.1), Vec3(0.2, 0.25, 0.5)};
    Vec3 at(world.NextRandom() * 60 - 30, 0, 25 + world.NextRandom() * 25);
    Vec3 drift(world.NextRandom() * 4 - 2, 0, 2);
    switch (kind) {
    case 0: SphericalBurst(world, at, drift, COLOR_STEADY); break;
    case 1: BlastBurst(world, at, drift, false); break;
    case 2: WillowBurst(world, at, drift, colors, false); break;
    case 3: SphericalBurst(world, at, drift, COLOR_FLICKER); break;
    case 4: ChainReactionBurst(world, at, drift); break;
    case 5: CorkScrewBurst(world, at, drift, colors); break;
    default: WaverBurst(world, at, drift); break;
    }
}

PoolSnapshot BuildShowMix(Show& show, uint32_t seed, int live) {
    Settings settings;
    settings.frequency = 60;
    settings.displayTitle = 0;
    show.Init(seed, settings);
    FireworkPool& pool = show.world.pool;
    for (int frame = 0; pool.CountLive() < live && frame < MIX_FRAME_LIMIT; ++frame) {
        if (frame % MIX_FRAMES_PER_BURST == 0) BurstOfKind(show.world, (frame / MIX_FRAMES_PER_BURST) % 7);
        show.clock.Step(1.0 / 60);
        show.Step();
    }
    for (int slot = POOL_SIZE - 1; slot >= 0 && pool.CountLive() > live; --slot) {
        delete pool.slots[slot];
        pool.slots[slot] = nullptr;
    }

    PoolSnapshot snapshot;
    for (int slot = 0; slot < POOL_SIZE; ++slot)
        if (pool.slots[slot]) snapshot.records.push_back({slot, *pool.slots[slot]});
    snapshot.nextSlotCursor = pool.nextSlotCursor;
    snapshot.randomCursor = show.world.randomTable.cursor;
    snapshot.randState = show.world.randState;
    snapshot.showTime = show.showTime;
    snapshot.launchCount = show.launchCount;
    return snapshot;
}

void RestoreShowMix(Show& show, const PoolSnapshot& snapshot) {
    FireworkPool& pool = show.world.pool;
    pool.DeleteAll();
    for (const auto& record : snapshot.records) pool.slots[record.first] = new Firework(record.second);
    pool.nextSlotCursor = snapshot.nextSlotCursor;
    show.world.randomTable.cursor = snapshot.randomCursor;
    show.world.randState = snapshot.randState;
    show.showTime = snapshot.showTime;
    show.launchCount = snapshot.launchCount;
    show.lastClockReading = show.clock.Elapsed();
}
