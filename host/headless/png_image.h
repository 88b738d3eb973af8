#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// An 8-bit RGB image, rows from the top.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    const uint8_t* At(int x, int y) const { return &pixels[(std::size_t(y) * width + x) * 3]; }
};

// What the current context has drawn, turned the right way up (GL counts rows from the bottom).
RgbImage ReadFramebuffer(int width, int height);

bool WritePng(const char* path, const RgbImage& image);
