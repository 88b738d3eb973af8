#include <cstdio>
#include <cstdlib>

#include "host/win32/win32_api.h"

#include "host/win32/changed_values.h"
#include "seam/platform.h"
#include "settings/settings.h"
#include "settings/settings_store.h"

Settings g_settings;

// On Windows the store handle is the HKEY itself.
namespace {

HKEY AsRegistryKey(SettingsKey* key) {
    return reinterpret_cast<HKEY>(key);
}

void CloseKeyAtExit() {
    if (g_settings.key) RegCloseKey(AsRegistryKey(g_settings.key));
    g_settings.key = nullptr;
}

// The key is open before the entry routine runs, for the window procedure and the dialog alike.
struct RegistryKeyOpener {
    RegistryKeyOpener() {
        char appName[40] = "";
        HostLoadString(STRING_APP_NAME, appName, sizeof appName);
        char path[96];
        std::snprintf(path, sizeof path, "Control Panel\\Screen Saver.%s", appName);
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS) {
            ReportError("Error", "Could Not Open Registry Key", REPORT_PLAIN);
            key = nullptr;
        }
        g_settings.key = reinterpret_cast<SettingsKey*>(key);
        std::atexit(CloseKeyAtExit);
    }
} s_registryKeyOpener;

}  // namespace

void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        // A zeroed buffer and a size check for every value: a short REG_DWORD would otherwise leave
        // stale bytes of the old field behind and still count as present.
        DWORD value = 0;
        DWORD type = 0;
        DWORD size = sizeof value;
        LONG result = RegQueryValueExA(AsRegistryKey(key), SETTINGS_VALUES[i].name, nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
        present[i] = result == ERROR_SUCCESS && type == REG_DWORD && size == sizeof value;
        values[i] = value;
    }
}

void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT]) {
    uint32_t stored[SETTINGS_VALUE_COUNT];
    bool present[SETTINGS_VALUE_COUNT];
    ReadStoredValues(key, stored, present);
    int failed = WriteChangedValues(stored, present, values, [key, values](int i) {
        DWORD value = values[i];
        return RegSetValueExA(AsRegistryKey(key), SETTINGS_VALUES[i].name, 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&value), sizeof value) == ERROR_SUCCESS;
    });
    if (failed < 0) return;
    // One box, not one per value: a read-only key would otherwise stack them up before the show.
    char text[96];
    std::snprintf(text, sizeof text, "Could Not Write '%s' To Registry", SETTINGS_VALUES[failed].name);
    ReportError("Error", text, REPORT_PLAIN);
}
