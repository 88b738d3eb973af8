#pragma once
// The Linux settings store: a GLib key file, $XDG_CONFIG_HOME/vesperglow/vesperglow.conf (or
// ~/.config/vesperglow/vesperglow.conf), one group named by the registry key path of the Windows build.
#include "settings/settings.h"

// Finds the path and creates the folder; reads nothing. Reports "Could Not Open Registry Key" and
// returns null when the folder cannot be made.
SettingsKey* OpenKeyFileStore();
void CloseKeyFileStore(SettingsKey* key);
