// The program's resources on Linux: the files the Windows resource script names, compiled in by
// GLib's resource compiler (resources/linux.gresource.xml).
#include <gio/gio.h>

#include <cstring>

#include "host/linux/dib_reader.h"
#include "seam/platform.h"

// Generated from resources/linux.gresource.xml.
GResource* vg_linux_get_resource();

struct HostResource {
    const char* type;  // as the resource script writes it; bitmaps are "BITMAP"
    int id;
    const char* path;
};

static const char* const RESOURCE_TYPE_BITMAP = "BITMAP";

static const HostResource EMBEDDED_RESOURCES[] = {
    {RESOURCE_TYPE_BITMAP, 106, "/org/vesperglow/glyph_sheet_0.bmp"},
    {RESOURCE_TYPE_BITMAP, 107, "/org/vesperglow/glyph_sheet_1.bmp"},
    {RESOURCE_TYPE_BITMAP, 108, "/org/vesperglow/glyph_sheet_2.bmp"},
    {RESOURCE_TYPE_BITMAP, 109, "/org/vesperglow/glyph_sheet_3.bmp"},
    {RESOURCE_TYPE_BITMAP, 110, "/org/vesperglow/glyph_sheet_4.bmp"},
    {RESOURCE_TYPE_BITMAP, 32, "/org/vesperglow/glyph_sheet_5.bmp"},
    {"WID", 114, "/org/vesperglow/widths.bin"},
};

const HostResource* HostFindResource(const char* type, int id) {
    for (const HostResource& resource : EMBEDDED_RESOURCES) {
        if (resource.id == id && std::strcmp(resource.type, type) == 0) return &resource;
    }
    return nullptr;
}

// The bytes are the program's own, compiled in: they outlive the reference the lookup hands out.
const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    GBytes* bytes = g_resource_lookup_data(vg_linux_get_resource(), resource->path, G_RESOURCE_LOOKUP_FLAGS_NONE,
                                           nullptr);
    if (!bytes) return nullptr;
    gsize length = 0;
    const uint8_t* data = static_cast<const uint8_t*>(g_bytes_get_data(bytes, &length));
    g_bytes_unref(bytes);
    *size = uint32_t(length);
    return data;
}

// The pixels stay inside the compiled-in file, so there is nothing to release.
bool HostLoadBitmap(int id, HostBitmap* bitmap) {
    const HostResource* resource = HostFindResource(RESOURCE_TYPE_BITMAP, id);
    uint32_t size = 0;
    const uint8_t* data = resource ? HostLoadResource(resource, &size) : nullptr;
    DibPixels dib;
    if (!data || !ReadDib(data, size, &dib)) return false;
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
