#pragma once
// Records placed by hand into a show's world, for tests that set up a scene the show would take
// long to reach.
#include "engine/show.h"

// A record stored straight into the slot, with a steady white that never fades out.
inline Firework* Place(FireworkWorld& world, int slot, const Vec3& position, const Vec3& velocity, int flags) {
    delete world.pool.slots[slot];
    world.pool.slots[slot] = nullptr;
    Firework* record = world.Create(slot, position, velocity, flags);
    record->SetColor(Vec3(1, 1, 1), 1e9, 1.0, COLOR_STEADY);
    return record;
}

// Fills every slot but the last `freeSlots` with weightless records that never die.
inline void FillPool(FireworkWorld& world, int freeSlots) {
    for (int slot = 0; slot < POOL_SIZE - freeSlots; ++slot)
        Place(world, slot, Vec3(0, 0, 50), Vec3(), 0)->SetGravityScale(0);
}
