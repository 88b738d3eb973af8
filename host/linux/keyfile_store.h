#pragma once
// The Linux settings store: a key file, $XDG_CONFIG_HOME/vesperglow/vesperglow.conf (or
// ~/.config/vesperglow/vesperglow.conf), one group named by the registry key path of the Windows build.
#include "settings/settings.h"

// Finds the file and touches nothing on disk: the first save that has something to write makes the folder.
SettingsKey* OpenKeyFileStore();
void CloseKeyFileStore(SettingsKey* key);

// Opens g_settings' store and closes it at exit. The saver calls it once its options are read and its
// signal handling is set up, so --help and a bad option touch no settings.
void OpenSettingsStore();
