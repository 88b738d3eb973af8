#include "host/linux/dib_reader.h"

// Offsets of the fields in BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes) that follows it.
const size_t DIB_FILE_HEADER_SIZE = 14;
const size_t DIB_INFO_HEADER_SIZE = 40;
const size_t DIB_BF_SIZE = 2;
const size_t DIB_BF_OFF_BITS = 10;
const size_t DIB_BI_SIZE = 14;
const size_t DIB_BI_WIDTH = 18;
const size_t DIB_BI_HEIGHT = 22;
const size_t DIB_BI_PLANES = 26;
const size_t DIB_BI_BIT_COUNT = 28;
const size_t DIB_BI_COMPRESSION = 30;
const size_t DIB_BI_SIZE_IMAGE = 34;
const size_t DIB_BI_CLR_USED = 46;
const uint32_t DIB_BI_RGB = 0;
const size_t DIB_PALETTE_ENTRIES = 256;
const size_t DIB_PALETTE_SIZE = DIB_PALETTE_ENTRIES * 4;
// 8-bit rows of DIB_SIDE bytes are already a multiple of four, so there is no row padding.
const size_t DIB_PIXEL_BYTES = size_t(DIB_SIDE) * DIB_SIDE;

static uint16_t ReadU16(const uint8_t* at) {
    return uint16_t(at[0] | (at[1] << 8));
}

static uint32_t ReadU32(const uint8_t* at) {
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) | (uint32_t(at[3]) << 24);
}

static int32_t ReadS32(const uint8_t* at) {
    return int32_t(ReadU32(at));
}

// Entry i must be the grey (i, i, i): then the pixel bytes are luminance as they stand.
static bool IsGreyPalette(const uint8_t* palette) {
    for (size_t i = 0; i < DIB_PALETTE_ENTRIES; ++i) {
        const uint8_t* entry = palette + 4 * i;
        if (entry[0] != i || entry[1] != i || entry[2] != i) return false;
    }
    return true;
}

bool ReadDib(const uint8_t* data, size_t size, DibPixels* out) {
    if (data == nullptr || size < DIB_FILE_HEADER_SIZE + DIB_INFO_HEADER_SIZE) return false;
    if (data[0] != 'B' || data[1] != 'M') return false;

    // Sizes and offsets are compared as 64-bit values so that no sum can wrap.
    uint64_t fileSize = ReadU32(data + DIB_BF_SIZE);
    uint64_t pixelOffset = ReadU32(data + DIB_BF_OFF_BITS);
    uint64_t paletteEnd = DIB_FILE_HEADER_SIZE + DIB_INFO_HEADER_SIZE + DIB_PALETTE_SIZE;
    if (fileSize > size) return false;
    if (pixelOffset < paletteEnd || pixelOffset + DIB_PIXEL_BYTES > fileSize) return false;

    if (ReadU32(data + DIB_BI_SIZE) != DIB_INFO_HEADER_SIZE) return false;
    // A negative height would mean top-down rows; the textures rely on bottom-up ones.
    if (ReadS32(data + DIB_BI_WIDTH) != DIB_SIDE || ReadS32(data + DIB_BI_HEIGHT) != DIB_SIDE) return false;
    if (ReadU16(data + DIB_BI_PLANES) != 1 || ReadU16(data + DIB_BI_BIT_COUNT) != 8) return false;
    if (ReadU32(data + DIB_BI_COMPRESSION) != DIB_BI_RGB) return false;
    uint32_t imageSize = ReadU32(data + DIB_BI_SIZE_IMAGE);
    if (imageSize != 0 && imageSize != DIB_PIXEL_BYTES) return false;
    uint32_t colorsUsed = ReadU32(data + DIB_BI_CLR_USED);
    if (colorsUsed != 0 && colorsUsed != DIB_PALETTE_ENTRIES) return false;
    if (!IsGreyPalette(data + DIB_FILE_HEADER_SIZE + DIB_INFO_HEADER_SIZE)) return false;

    out->width = DIB_SIDE;
    out->height = DIB_SIDE;
    out->pixels = data + pixelOffset;
    return true;
}
