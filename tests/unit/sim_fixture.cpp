#include "tests/unit/sim_fixture.h"

#include <cmath>

#include "engine/engine_state.h"
#include "engine/frame_clock.h"
#include "engine/show.h"
#include "fireworks/crt_rand.h"
#include "fireworks/firework.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"
#include "tests/support/show_reset.h"

void ResetSimulation(uint32_t seed) {
    RestartShowStreams(seed);
    g_starField.Destroy();
    g_windowWidth = 0;
    g_windowHeight = 0;
    g_frameClock = FrameClock();
}

std::vector<int> OccupiedSlots() {
    std::vector<int> slots;
    for (int slot = 0; slot < POOL_SIZE; ++slot)
        if (g_fireworkPool.slots[slot]) slots.push_back(slot);
    return slots;
}

Firework* PlaceRecord(int slot, const Vec3& position, const Vec3& velocity, int flags) {
    delete g_fireworkPool.slots[slot];
    Firework* record = new Firework(position, velocity, flags);
    record->SetColor(Vec3(1, 1, 1), 1e9, 1.0, COLOR_STEADY);
    g_fireworkPool.slots[slot] = record;
    return record;
}

void FillPoolExcept(int freeSlots) {
    for (int slot = 0; slot < POOL_SIZE - freeSlots; ++slot) {
        Firework* filler = PlaceRecord(slot, Vec3(0, 0, 50), Vec3(0, 0, 0), 0);
        filler->SetGravityScale(0);
    }
}

bool AllRecordsFinite() {
    for (const Firework* f : g_fireworkPool.slots) {
        if (!f) continue;
        const double values[] = {f->position.x, f->position.y, f->position.z, f->velocity.x,
                                 f->velocity.y, f->velocity.z, f->heading,    f->holdTime,
                                 f->fadeLeft,   f->trailAge,   f->corkscrewPhase};
        for (double value : values)
            if (!std::isfinite(value)) return false;
    }
    return true;
}
