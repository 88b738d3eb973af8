#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "tests/support/fake_platform.h"

// A store in memory that can refuse single values, which neither real store can do on its own:
// the registry may fail one write among seventeen, a key file fails all or none.
struct SettingsKey {
    std::map<std::string, uint32_t> values;
    std::set<std::string> failing;
    std::vector<std::string> writes;  // every attempted write, in order
};

void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        present[i] = key->values.count(SETTINGS_VALUES[i].name) != 0;
        values[i] = present[i] ? key->values[SETTINGS_VALUES[i].name] : 0;
    }
}

void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT],
                       bool written[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        key->writes.push_back(SETTINGS_VALUES[i].name);
        written[i] = key->failing.count(SETTINGS_VALUES[i].name) == 0;
        if (written[i]) key->values[SETTINGS_VALUES[i].name] = values[i];
    }
}

// One refused value among seventeen is reported alone, and the writes after it still happen.
TEST(SettingsRules, OneValueThatCannotBeWrittenIsReportedAloneAndTheRestAreWritten) {
    g_reportedErrors.clear();
    SettingsKey store;
    store.failing = {"Stars"};
    Settings settings;
    settings.key = &store;
    settings.stars = 3;
    settings.waverWeight = 9;
    settings.Save();

    EXPECT_EQ((std::vector<std::string>{"Frequency", "Display Width", "Display Height", "Display Bits",
                                        "F1 Displays Window Border", "F2 Displays Frame Rate", "Display Vesperglow",
                                        "Alpha Blending", "Twilight Sky", "Stars", "Spherical Weight", "Blast Weight",
                                        "Weeping Willow Weight", "Sparkling Weight", "Chain Reaction Weight",
                                        "Cork Screw Weight", "Waver Weight"}),
              store.writes);
    ASSERT_EQ(1u, g_reportedErrors.size());
    EXPECT_EQ("Error", g_reportedErrors[0].caption);
    EXPECT_EQ("Could Not Write 'Stars' To Registry", g_reportedErrors[0].text);
    EXPECT_EQ(REPORT_PLAIN, g_reportedErrors[0].icon);
    EXPECT_EQ(16u, store.values.size());
    EXPECT_EQ(9u, store.values["Waver Weight"]);
}
