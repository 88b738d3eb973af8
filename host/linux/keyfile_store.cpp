#include "host/linux/keyfile_store.h"

#include <cstdlib>
#include <string>

#include <glib.h>

#include "host/linux/user_file.h"
#include "host/linux/keyfile_lines.h"
#include "seam/platform.h"
#include "settings/settings_store.h"

Settings g_settings;

struct SettingsKey {
    std::string path;
    std::string group;
};

namespace {

// The XDG base directory rules: an unset, empty or relative XDG_CONFIG_HOME means ~/.config.
// Screen-saver daemons often pass no XDG variables at all, so HOME must be enough.
std::string ConfigFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome && configHome[0] == '/') return configHome;
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) home = g_get_home_dir();
    return std::string(home) + "/.config";
}

void CloseStoreAtExit() {
    CloseKeyFileStore(g_settings.key);
    g_settings.key = nullptr;
}

}  // namespace

SettingsKey* OpenKeyFileStore() {
    char appName[40] = "";
    HostLoadString(STRING_APP_NAME, appName, sizeof appName);
    return new SettingsKey{ConfigFolder() + "/vesperglow/vesperglow.conf",
                           std::string("Control Panel\\Screen Saver.") + appName};
}

void CloseKeyFileStore(SettingsKey* key) {
    delete key;
}

void OpenSettingsStore() {
    g_settings.key = OpenKeyFileStore();
    std::atexit(CloseStoreAtExit);
}

// A file that cannot be read holds no value, so the load's write-back follows and says why.
void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    UserFileContents file;
    std::string reason;
    ReadGroupValues(ReadUserFile(key->path, &file, &reason) ? file.bytes : "", key->group, values, present);
}

// The file is read again first, so whatever was put there since the load survives; an unchanged
// file is not written at all.
void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT]) {
    UserFileContents file;
    std::string reason;
    bool saved = ReadUserFile(key->path, &file, &reason);
    if (saved) {
        std::string edited = WithGroupValues(file.bytes, key->group, values);
        saved = (file.exists && edited == file.bytes) || ReplaceUserFile(key->path, file, edited, &reason);
    }
    if (!saved) ReportError("Error", ("Could Not Write '" + key->path + "': " + reason).c_str(), REPORT_PLAIN);
}
