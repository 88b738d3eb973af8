#include "tests/unit/sim_fixture.h"

#include "engine/engine_state.h"
#include "engine/show.h"
#include "fireworks/crt_rand.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "render/star_field.h"
#include "settings/settings.h"

void ResetSimulation(uint32_t seed) {
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    g_randomTable.cursor = 0;
    SeedRand(seed);
    FillRandomTable();
    ResetShow();
    SettingsKey* key = g_settings.key;
    g_settings = Settings();
    g_settings.key = key;
    g_starField.Destroy();
    g_windowWidth = 0;
    g_windowHeight = 0;
}

int LiveRecords() {
    int live = 0;
    for (const Firework* f : g_fireworkPool.slots)
        if (f) ++live;
    return live;
}
