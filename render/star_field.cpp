#include "render/star_field.h"

#include <new>

#include "fireworks/world.h"

void StarField::Build(FireworkWorld& world, int newWidth, int newHeight, int newCount, bool newTwilight, int newSkyHeight) {
    height = newHeight;
    width = newWidth;
    twilight = newTwilight;
    skyHeight = newSkyHeight;
    count = newCount;

    delete[] starArray;
    starArray = count > 0 ? new (std::nothrow) Star[count]() : nullptr;
    if (!starArray) count = 0;

    for (int i = 0; i < count; ++i) {
        Star& star = starArray[i];
        star.position.x = world.NextRandom() * width;
        star.position.y = world.NextRandom() * height;
        double brightness = world.NextRandom() * 0.6;
        // Low stars fade into the twilight: half brightness at the bottom edge.
        double dimming = 1.0;
        if (twilight && skyHeight > star.position.y) dimming = star.position.y * 0.5 / skyHeight + 0.5;
        double red = (world.NextRandom() * 0.2 + brightness) * dimming;
        double green = (world.NextRandom() * 0.2 + brightness) * dimming;
        double blue = (world.NextRandom() * 0.2 + brightness) * dimming;
        star.color = Vec3(red, green, blue);
    }
}

void StarField::Destroy() {
    delete[] starArray;
    starArray = nullptr;
    count = 0;
    skyHeight = 0;
    width = 0;
    height = 0;
    twilight = false;
}
