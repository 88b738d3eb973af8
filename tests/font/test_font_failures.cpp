#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "render/bitmap_font.h"
#include "tests/support/fake_platform.h"

// A resource host that can fail. Present, it serves a width table of 1..96 and 8-bit sheets.
enum class Broken { NOTHING, WIDTHS_MISSING, WIDTHS_UNLOADABLE, WIDTHS_SHORT, SHEET_MISSING, SHEET_FOUR_BITS,
                    SHEET_NO_PIXELS };
static Broken s_broken = Broken::NOTHING;
static uint8_t s_pixels[256 * 256];

struct HostResource {
    uint8_t bytes[96];
};

const HostResource* HostFindResource(const char* type, int id) {
    static HostResource table;
    if (s_broken == Broken::WIDTHS_MISSING || id != 114 || std::strcmp(type, "WID") != 0) return nullptr;
    for (int i = 0; i < 96; ++i) table.bytes[i] = uint8_t(i + 1);
    return &table;
}

const uint8_t* HostLoadResource(const HostResource* resource, uint32_t* size) {
    *size = s_broken == Broken::WIDTHS_SHORT ? 95 : 96;
    return s_broken == Broken::WIDTHS_UNLOADABLE ? nullptr : resource->bytes;
}

bool HostLoadBitmap(int, HostBitmap* bitmap) {
    if (s_broken == Broken::SHEET_MISSING) return false;
    *bitmap = {256, 256, s_broken == Broken::SHEET_FOUR_BITS ? 4 : 8,
               s_broken == Broken::SHEET_NO_PIXELS ? nullptr : s_pixels, nullptr};
    return true;
}

void HostFreeBitmap(HostBitmap* bitmap) {
    bitmap->pixels = nullptr;
}

// A short width table would be read past its end, and a sheet of fewer bits a pixel when it is made
// into a texture: both count as missing, which ends the process after the message.
TEST(FontFailures, AMissingOrUnusableResourceEndsTheProcessWithCodeOne) {
    BitmapFont font;
    font.LoadWidths();
    HostBitmap bitmap = {};
    LoadGlyphSheet(5, &bitmap);
    EXPECT_TRUE(font.widths[0] == 1 && font.widths[95] == 96 && bitmap.pixels == s_pixels);
    EXPECT_TRUE(g_reportedErrors.empty());
    const std::pair<Broken, const char*> cases[] = {
        {Broken::WIDTHS_MISSING, "Could not load width resource"},
        {Broken::WIDTHS_UNLOADABLE, "Could not get handle on width resource"},
        {Broken::WIDTHS_SHORT, "Could not get handle on width resource"},
        {Broken::SHEET_MISSING, "Could not load bitmap resource"},
        {Broken::SHEET_FOUR_BITS, "Could not load bitmap resource"},
        {Broken::SHEET_NO_PIXELS, "Could not load bitmap resource"}};
    for (const auto& [broken, message] : cases) {
        s_broken = broken;
        EXPECT_EXIT(
            {
                font.LoadWidths();
                LoadGlyphSheet(0, &bitmap);
            },
            ::testing::ExitedWithCode(1), std::string("vesperglow: Error: ") + message + "\n");
    }
}
