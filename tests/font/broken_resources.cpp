#include "tests/font/broken_resources.h"

#include <cstring>

#include "host/platform.h"

WidthResource g_widthResource = WidthResource::PRESENT;
GlyphBitmap g_glyphBitmap = GlyphBitmap::PRESENT;
int g_bitmapsFreed = 0;

struct HostResource {
    uint8_t bytes[96];
};

static HostResource g_widthTable;
static uint8_t g_pixels[256 * 256];

const HostResource* HostFindResource(const char* type, int id) {
    if (g_widthResource == WidthResource::MISSING || id != 114 || std::strcmp(type, "WID") != 0) return nullptr;
    for (int i = 0; i < 96; ++i) g_widthTable.bytes[i] = uint8_t(i + 1);
    return &g_widthTable;
}

const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    *size = g_widthResource == WidthResource::SHORT ? 95 : 96;
    return g_widthResource == WidthResource::UNLOADABLE ? nullptr : resource->bytes;
}

bool HostLoadBitmap(int, HostBitmap* bitmap) {
    if (g_glyphBitmap == GlyphBitmap::MISSING) return false;
    bitmap->width = 256;
    bitmap->height = 256;
    bitmap->bitsPerPixel = g_glyphBitmap == GlyphBitmap::FOUR_BITS ? 4 : 8;
    bitmap->pixels = g_glyphBitmap == GlyphBitmap::NO_PIXELS ? nullptr : g_pixels;
    bitmap->handle = nullptr;
    return true;
}

void HostFreeBitmap(HostBitmap* bitmap) {
    bitmap->pixels = nullptr;
    ++g_bitmapsFreed;
}
