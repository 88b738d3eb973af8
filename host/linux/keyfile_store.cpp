#include "host/linux/keyfile_store.h"

#include <cstdlib>
#include <string>

#include <glib.h>

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

// Decimal digits only, at most 4294967295. A sign, hex, blanks or an empty text are a wrong type.
bool ParseStoredNumber(const char* text, uint32_t* value) {
    if (!text[0]) return false;
    uint64_t number = 0;
    for (const char* digit = text; *digit; ++digit) {
        if (*digit < '0' || *digit > '9') return false;
        number = number * 10 + uint64_t(*digit - '0');
        if (number > UINT32_MAX) return false;
    }
    *value = uint32_t(number);
    return true;
}

// Rereads the file before writing, so groups, keys and comments put there since the last load survive.
// g_file_set_contents writes a temporary file and renames it over the old one: a reader sees
// either file whole, never a mix.
bool SaveKeyFile(const SettingsKey& key, const uint32_t values[SETTINGS_VALUE_COUNT]) {
    GKeyFile* file = g_key_file_new();
    GError* error = nullptr;
    if (!g_key_file_load_from_file(file, key.path.c_str(), GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS),
                                   &error)) {
        // No file yet is a fresh user. A file GLib cannot parse holds no value a load would keep, so it
        // is replaced; any other read failure leaves the file alone.
        bool replace = error->domain == G_KEY_FILE_ERROR || g_error_matches(error, G_FILE_ERROR, G_FILE_ERROR_NOENT);
        g_error_free(error);
        g_key_file_free(file);
        if (!replace) return false;
        file = g_key_file_new();
    }
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        g_key_file_set_uint64(file, key.group.c_str(), SETTINGS_VALUES[i].name, values[i]);
    }
    gsize length = 0;
    gchar* data = g_key_file_to_data(file, &length, nullptr);
    bool saved = g_file_set_contents(key.path.c_str(), data, gssize(length), nullptr);
    g_free(data);
    g_key_file_free(file);
    return saved;
}

void CloseStoreAtExit() {
    CloseKeyFileStore(g_settings.key);
    g_settings.key = nullptr;
}

// The store is ready before main, as the registry key is on Windows.
struct KeyFileOpener {
    KeyFileOpener() {
        g_settings.key = OpenKeyFileStore();
        std::atexit(CloseStoreAtExit);
    }
} s_keyFileOpener;

}  // namespace

SettingsKey* OpenKeyFileStore() {
    char appName[40] = "";
    HostLoadString(STRING_APP_NAME, appName, sizeof appName);
    std::string folder = ConfigFolder() + "/vesperglow";
    if (g_mkdir_with_parents(folder.c_str(), 0700) != 0) {
        ReportError("Error", "Could Not Open Registry Key", REPORT_PLAIN);
        return nullptr;
    }
    return new SettingsKey{folder + "/vesperglow.conf", std::string("Control Panel\\Screen Saver.") + appName};
}

void CloseKeyFileStore(SettingsKey* key) {
    delete key;
}

void ReadStoredValues(SettingsKey* key, uint32_t values[SETTINGS_VALUE_COUNT], bool present[SETTINGS_VALUE_COUNT]) {
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
        values[i] = 0;
        present[i] = false;
    }
    if (!key) return;
    GKeyFile* file = g_key_file_new();
    if (g_key_file_load_from_file(file, key->path.c_str(), G_KEY_FILE_NONE, nullptr)) {
        for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) {
            gchar* text = g_key_file_get_value(file, key->group.c_str(), SETTINGS_VALUES[i].name, nullptr);
            present[i] = text && ParseStoredNumber(text, &values[i]);
            g_free(text);
        }
    }
    g_key_file_free(file);
}

void WriteStoredValues(SettingsKey* key, const uint32_t values[SETTINGS_VALUE_COUNT],
                       bool written[SETTINGS_VALUE_COUNT]) {
    bool saved = key && SaveKeyFile(*key, values);
    for (int i = 0; i < SETTINGS_VALUE_COUNT; ++i) written[i] = saved;
}
