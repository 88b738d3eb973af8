#pragma once
#include <cstdint>

#include "fireworks/vec3.h"

struct FireworkWorld;

struct Star {
    Vec3 position;  // window pixels from the bottom-left
    Vec3 color;
};

// The still background: a violet twilight glow and single-pixel stars, in window pixels.
struct StarField {
    int32_t count = 0;
    bool twilight = false;
    int32_t skyHeight = 0;
    int32_t width = 0;
    int32_t height = 0;
    Star* starArray = nullptr;

    StarField() = default;
    StarField(const StarField&) = delete;
    StarField& operator=(const StarField&) = delete;
    ~StarField() { Destroy(); }

    // Places count stars with six values each from the world's random table.
    void Build(FireworkWorld& world, int width, int height, int count, bool twilight, int skyHeight);
    void Draw() const;
    void Destroy();
};
