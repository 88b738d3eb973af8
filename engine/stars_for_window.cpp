#include "engine/stars_for_window.h"

#include "render/star_field.h"
#include "settings/settings.h"

void BuildStarsForWindow(int width, int height) {
    int count = (height / 60) * (width / 60) * int(g_settings.stars);
    bool twilight = g_settings.twilightSky != 0;
    g_starField.Build(width, height, count, twilight, twilight ? height : 0);
}
