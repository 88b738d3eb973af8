#include "render/bitmap_font.h"

#include <cstring>

[[noreturn]] static void ResourceFailure(const char* text) {
    ReportError("Error", text, REPORT_PLAIN);
    HostFatalExit(1);
}

void BitmapFont::LoadWidths() {
    const HostResource* resource = HostFindResource(FONT_WIDTH_RESOURCE_TYPE, FONT_WIDTH_RESOURCE);
    if (resource == nullptr) ResourceFailure("Could not load width resource");
    uint32_t size = 0;
    const uint8_t* bytes = HostLoadResource(resource, &size);
    // A table shorter than the 96 widths counts as unloadable rather than being read past its end.
    if (bytes == nullptr || size < FONT_CODE_COUNT) ResourceFailure("Could not get handle on width resource");
    std::memcpy(widths, bytes, FONT_CODE_COUNT);
}

static bool IsDrawn(unsigned char code) {
    return code >= FONT_FIRST_CODE && code <= FONT_LAST_CODE;
}

int32_t BitmapFont::TextWidth(const char* text) const {
    int32_t width = 0;
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(text); *c != 0; ++c) {
        if (IsDrawn(*c)) width += widths[*c - FONT_FIRST_CODE];
    }
    return width;
}

static double AlignmentFactor(int alignment) {
    if (alignment == 1) return -0.5;
    if (alignment == 2) return -1.0;
    return 0.0;
}

GlyphCursor::GlyphCursor(const BitmapFont& font, const char* text, double scale, int alignment)
    : start(font.TextWidth(text) * AlignmentFactor(alignment) * scale * 0.015625),
      font(font),
      next(reinterpret_cast<const unsigned char*>(text)),
      scale(scale),
      pen(start) {}

bool GlyphCursor::Next(GlyphPlacement* glyph) {
    while (*next != 0 && !IsDrawn(*next)) ++next;
    if (*next == 0) return false;
    int code = *next++;
    int column = code % 4;
    int row = (code % 16) / 4;
    glyph->sheet = (code - FONT_FIRST_CODE) / FONT_GLYPHS_PER_SHEET;
    glyph->halfAdvance = scale * font.widths[code - FONT_FIRST_CODE] * 0.0078125;
    pen += glyph->halfAdvance;
    glyph->penX = pen;
    pen += glyph->halfAdvance;
    glyph->halfSize = scale * 0.5;
    glyph->s0 = column * 0.25;
    glyph->s1 = (column + 1) * 0.25;
    glyph->t0 = (3 - row) * 0.25;
    glyph->t1 = (4 - row) * 0.25;
    return true;
}

void LoadGlyphSheet(int sheet, HostBitmap* bitmap) {
    // The textures take one luminance byte per pixel: a bitmap of fewer bits would be read past its end.
    if (!HostLoadBitmap(FONT_SHEET_RESOURCES[sheet], bitmap)) ResourceFailure("Could not load bitmap resource");
    if (bitmap->pixels == nullptr || bitmap->width <= 0 || bitmap->height <= 0 || bitmap->bitsPerPixel != 8) {
        HostFreeBitmap(bitmap);
        ResourceFailure("Could not load bitmap resource");
    }
}
