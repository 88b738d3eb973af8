#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/bitmap_font.h"
#include "seam/platform.h"
#include "tests/support/fake_platform.h"

// A resource host that can fail. Present, it serves a width table of 1..96 and 8-bit sheets.
enum class WidthResource { PRESENT, MISSING, UNLOADABLE, SHORT };
enum class GlyphBitmap { PRESENT, MISSING, FOUR_BITS, NO_PIXELS };

static WidthResource s_widthResource = WidthResource::PRESENT;
static GlyphBitmap s_glyphBitmap = GlyphBitmap::PRESENT;
static int s_bitmapsFreed = 0;
static uint8_t s_pixels[256 * 256];

struct HostResource {
    uint8_t bytes[96];
};

const HostResource* HostFindResource(const char* type, int id) {
    static HostResource table;
    if (s_widthResource == WidthResource::MISSING || id != 114 || std::strcmp(type, "WID") != 0) return nullptr;
    for (int i = 0; i < 96; ++i) table.bytes[i] = uint8_t(i + 1);
    return &table;
}

const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    *size = s_widthResource == WidthResource::SHORT ? 95 : 96;
    return s_widthResource == WidthResource::UNLOADABLE ? nullptr : resource->bytes;
}

bool HostLoadBitmap(int, HostBitmap* bitmap) {
    if (s_glyphBitmap == GlyphBitmap::MISSING) return false;
    *bitmap = {256, 256, s_glyphBitmap == GlyphBitmap::FOUR_BITS ? 4 : 8,
               s_glyphBitmap == GlyphBitmap::NO_PIXELS ? nullptr : s_pixels, nullptr};
    return true;
}

void HostFreeBitmap(HostBitmap* bitmap) {
    bitmap->pixels = nullptr;
    ++s_bitmapsFreed;
}

// The sheet handed over is not freed behind the caller's back.
TEST(FontFailures, WorkingResourcesAreTakenWithoutComplaint) {
    s_widthResource = WidthResource::PRESENT;
    s_glyphBitmap = GlyphBitmap::PRESENT;
    BitmapFont font;
    font.LoadWidths();
    EXPECT_EQ(1, font.widths[0]);
    EXPECT_EQ(96, font.widths[95]);
    HostBitmap bitmap = {};
    LoadGlyphSheet(5, &bitmap);
    EXPECT_EQ(s_pixels, bitmap.pixels);
    EXPECT_EQ(0, s_bitmapsFreed);
    EXPECT_TRUE(g_reportedErrors.empty());
}

// A short table is refused: copying 96 bytes out of it would read past its end.
TEST(FontFailures, AMissingOrBrokenWidthTableEndsTheProcess) {
    const std::pair<WidthResource, const char*> cases[] = {
        {WidthResource::MISSING, "Could not load width resource"},
        {WidthResource::UNLOADABLE, "Could not get handle on width resource"},
        {WidthResource::SHORT, "Could not get handle on width resource"}};
    for (const auto& [broken, message] : cases) {
        s_widthResource = broken;
        BitmapFont font;
        EXPECT_EXIT(font.LoadWidths(), ::testing::ExitedWithCode(1),
                    std::string("vesperglow: Error: ") + message + "\n");
    }
}

// A sheet of fewer bits a pixel would be read past its end when made into a texture.
TEST(FontFailures, AMissingOrUnusableGlyphSheetEndsTheProcess) {
    for (GlyphBitmap broken : {GlyphBitmap::MISSING, GlyphBitmap::FOUR_BITS, GlyphBitmap::NO_PIXELS}) {
        s_glyphBitmap = broken;
        HostBitmap bitmap = {};
        EXPECT_EXIT(LoadGlyphSheet(0, &bitmap), ::testing::ExitedWithCode(1),
                    "vesperglow: Error: Could not load bitmap resource\n")
            << int(broken);
    }
}
