// The program's resources on Linux: the files the Windows resource script names, compiled in.
#include <cstring>

#include "host/linux/dib_reader.h"
#include "seam/platform.h"

extern const uint8_t EMBED_GLYPH_SHEET_0[];
extern const uint8_t EMBED_GLYPH_SHEET_1[];
extern const uint8_t EMBED_GLYPH_SHEET_2[];
extern const uint8_t EMBED_GLYPH_SHEET_3[];
extern const uint8_t EMBED_GLYPH_SHEET_4[];
extern const uint8_t EMBED_GLYPH_SHEET_5[];
extern const uint8_t EMBED_WIDTHS[];
extern const uint32_t EMBED_GLYPH_SHEET_0_SIZE;
extern const uint32_t EMBED_GLYPH_SHEET_1_SIZE;
extern const uint32_t EMBED_GLYPH_SHEET_2_SIZE;
extern const uint32_t EMBED_GLYPH_SHEET_3_SIZE;
extern const uint32_t EMBED_GLYPH_SHEET_4_SIZE;
extern const uint32_t EMBED_GLYPH_SHEET_5_SIZE;
extern const uint32_t EMBED_WIDTHS_SIZE;

struct HostResource {
    const char* type;  // as the resource script writes it; bitmaps are "BITMAP"
    int id;
    const uint8_t* data;
    const uint32_t* size;
};

static const char* const RESOURCE_TYPE_BITMAP = "BITMAP";

static const HostResource EMBEDDED_RESOURCES[] = {
    {RESOURCE_TYPE_BITMAP, 106, EMBED_GLYPH_SHEET_0, &EMBED_GLYPH_SHEET_0_SIZE},
    {RESOURCE_TYPE_BITMAP, 107, EMBED_GLYPH_SHEET_1, &EMBED_GLYPH_SHEET_1_SIZE},
    {RESOURCE_TYPE_BITMAP, 108, EMBED_GLYPH_SHEET_2, &EMBED_GLYPH_SHEET_2_SIZE},
    {RESOURCE_TYPE_BITMAP, 109, EMBED_GLYPH_SHEET_3, &EMBED_GLYPH_SHEET_3_SIZE},
    {RESOURCE_TYPE_BITMAP, 110, EMBED_GLYPH_SHEET_4, &EMBED_GLYPH_SHEET_4_SIZE},
    {RESOURCE_TYPE_BITMAP, 32, EMBED_GLYPH_SHEET_5, &EMBED_GLYPH_SHEET_5_SIZE},
    {"WID", 114, EMBED_WIDTHS, &EMBED_WIDTHS_SIZE},
};

const HostResource* HostFindResource(const char* type, int id) {
    for (const HostResource& resource : EMBEDDED_RESOURCES) {
        if (resource.id == id && std::strcmp(resource.type, type) == 0) return &resource;
    }
    return nullptr;
}

const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    *size = *resource->size;
    return resource->data;
}

// The pixels stay inside the compiled-in file, so there is nothing to release.
bool HostLoadBitmap(int id, HostBitmap* bitmap) {
    const HostResource* resource = HostFindResource(RESOURCE_TYPE_BITMAP, id);
    DibPixels dib;
    if (resource == nullptr || !ReadDib(resource->data, *resource->size, &dib)) return false;
    bitmap->width = dib.width;
    bitmap->height = dib.height;
    bitmap->bitsPerPixel = 8;
    bitmap->pixels = dib.pixels;
    bitmap->handle = nullptr;
    return true;
}

void HostFreeBitmap(HostBitmap* bitmap) {
    bitmap->pixels = nullptr;
}
