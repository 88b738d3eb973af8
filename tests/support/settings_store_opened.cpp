// Test programs that drive the saver window or the dialog load and save g_settings: its store is
// opened (in the test's own HOME) before the tests run, as the saver opens it before the show.
#include "host/linux/keyfile_store.h"

static const bool s_storeOpened = (OpenSettingsStore(), true);
