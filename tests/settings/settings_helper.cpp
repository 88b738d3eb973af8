// The settings store in a process of its own, for the tests, opened from the environment as the
// saver opens it.
//   load               loads, then prints every value as name=value
//   save a|b COUNT     saves profile a or b COUNT times
//   check STOPFILE     until STOPFILE exists, reads the stored values and loads; counts torn reads
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <glib.h>

#include "host/linux/keyfile_store.h"
#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "tests/support/fake_platform.h"

namespace {

// Two valid records that differ in every value, with explicit modes so a load writes nothing back.
const uint32_t PROFILES[2][SETTINGS_VALUE_COUNT] = {
    {10, 640, 480, 16, 0, 0, 0, 0, 0, 0, 0, 1, 2, 3, 4, 6, 7},
    {60, 1024, 768, 32, 1, 1, 1, 1, 1, 4, 10, 9, 8, 7, 6, 5, 3},
};

bool IsAProfile(const uint32_t values[SETTINGS_VALUE_COUNT]) {
    return std::memcmp(values, PROFILES[0], sizeof PROFILES[0]) == 0 ||
           std::memcmp(values, PROFILES[1], sizeof PROFILES[1]) == 0;
}

int Check(const char* stopFile) {
    int loads = 0;
    int torn = 0;
    gint64 deadline = g_get_monotonic_time() + 120 * G_USEC_PER_SEC;
    for (; !g_file_test(stopFile, G_FILE_TEST_EXISTS) && g_get_monotonic_time() < deadline; ++loads) {
        uint32_t values[SETTINGS_VALUE_COUNT];
        bool present[SETTINGS_VALUE_COUNT];
        ReadStoredValues(g_settings.key, values, present);
        bool whole = IsAProfile(values) && std::count(present, present + SETTINGS_VALUE_COUNT, false) == 0;
        g_settings.Load();
        for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) values[i] = g_settings.*SETTINGS_VALUES[i].field;
        torn += !whole || !IsAProfile(values);
    }
    std::printf("loads=%d torn=%d errors=%zu\n", loads, torn, g_reportedErrors.size());
    return torn == 0 && loads > 0 && g_reportedErrors.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    OpenSettingsStore();
    if (argc == 2 && std::strcmp(argv[1], "load") == 0) {
        g_settings.Load();
        for (const SettingsValue& value : SETTINGS_VALUES) std::printf("%s=%u\n", value.name, g_settings.*value.field);
        return 0;
    }
    if (argc == 4 && std::strcmp(argv[1], "save") == 0) {
        const uint32_t* profile = PROFILES[argv[2][0] == 'b'];
        for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) g_settings.*SETTINGS_VALUES[i].field = profile[i];
        for (int save = std::atoi(argv[3]); save > 0; --save) g_settings.Save();
        return g_reportedErrors.empty() ? 0 : 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "check") == 0) return Check(argv[2]);
    std::fprintf(stderr, "usage: %s load | save a|b COUNT | check STOPFILE\n", argv[0]);
    return 2;
}
