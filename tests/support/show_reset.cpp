#include "tests/support/show_reset.h"

#include "engine/show.h"
#include "fireworks/crt_rand.h"
#include "fireworks/pool.h"
#include "fireworks/random_table.h"
#include "settings/settings.h"

void RestartShowStreams(uint32_t seed) {
    DeleteAllFireworks();
    g_fireworkPool.nextSlotCursor = 0;
    g_randomTable.cursor = 0;
    SeedRand(seed);
    FillRandomTable();
    ResetShow();
    SettingsKey* key = g_settings.key;
    g_settings = Settings();
    g_settings.key = key;
}
