#pragma once
#include <cstddef>
#include <cstdint>

// Glyph sheets are square grey-scale bitmaps of this side.
const int DIB_SIDE = 256;

// The pixels of a glyph sheet inside a BMP file image: one luminance byte per pixel, rows
// bottom-up, DIB_SIDE bytes each.
struct DibPixels {
    int32_t width;
    int32_t height;
    const uint8_t* pixels;
};

// Reads a Windows BMP file image held in memory. Accepts only what a glyph sheet is: a 40-byte
// info header, DIB_SIDE x DIB_SIDE, bottom-up, one plane, 8 bits per pixel, uncompressed, a
// 256-entry palette where entry i is grey i, and every pixel inside the data. Anything else gives
// false. Never reads outside [data, data + size).
bool ReadDib(const uint8_t* data, size_t size, DibPixels* out);
