#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "render/bitmap_font.h"

namespace {

const size_t PIXEL_OFFSET = 14 + 40 + 1024;

// The committed resource files, read from the source tree.
std::vector<uint8_t> ReadResourceFile(const std::string& name) {
    std::ifstream file(std::string(VG_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The start, then each drawn character's sheet, pen position, half advance and cell corner.
std::vector<double> Layout(const BitmapFont& font, const char* text, double scale, int alignment) {
    GlyphCursor cursor(font, text, scale, alignment);
    std::vector<double> layout = {cursor.start};
    for (GlyphPlacement g; cursor.Next(&g);)
        layout.insert(layout.end(), {double(g.sheet), g.penX, g.halfAdvance, g.s0, g.t0});
    return layout;
}

}  // namespace

// The compiled-in resources are the committed files; each sheet's pixels start after its palette.
TEST(Font, LinuxResourcesServeTheCommittedWidthTableAndGlyphSheets) {
    BitmapFont font;
    font.LoadWidths();
    std::vector<uint8_t> widths = ReadResourceFile("widths.bin");
    ASSERT_EQ(96u, widths.size());
    EXPECT_TRUE(std::equal(widths.begin(), widths.end(), font.widths));
    for (int sheet = 0; sheet < FONT_SHEET_COUNT; ++sheet) {
        std::vector<uint8_t> file = ReadResourceFile("glyph_sheet_" + std::to_string(sheet) + ".bmp");
        HostBitmap bitmap = {};
        LoadGlyphSheet(sheet, &bitmap);
        EXPECT_TRUE(bitmap.width == 256 && bitmap.height == 256 && bitmap.bitsPerPixel == 8);
        EXPECT_TRUE(std::equal(file.begin() + PIXEL_OFFSET, file.end(), bitmap.pixels)) << sheet;
        HostFreeBitmap(&bitmap);
    }
    HostBitmap bitmap = {};
    for (int id : {0, 31, 105, 111, 114}) EXPECT_FALSE(HostLoadBitmap(id, &bitmap)) << id;
    EXPECT_EQ(nullptr, HostFindResource("BITMAP", 114));
}

// Alignment 1 centres, 2 ends at the origin, anything else starts there. Bytes outside 32..127 are
// passed over; 127 is an empty square.
TEST(Font, StringsAreLaidOutByTheLoadedAdvances) {
    BitmapFont font;
    font.LoadWidths();
    EXPECT_EQ(73, font.TextWidth("AB"));
    EXPECT_EQ(73, font.TextWidth("\tA\x80\xff\x7f" "B"));
    EXPECT_EQ(-73.0 / 64, Layout(font, "AB", 1.0, 2)[0]);
    EXPECT_DOUBLE_EQ(-73.0 * 20 / 128, Layout(font, "AB", 20.0, 1)[0]);
    for (int alignment : {3, -1}) EXPECT_EQ(Layout(font, "FPS: 60", 16, 0), Layout(font, "FPS: 60", 16, alignment));
    EXPECT_EQ(Layout(font, "AB", 3.0, 1), Layout(font, "\tA\r\n\x80" "B\x1f", 3.0, 1));

    // Sheet n holds codes 32 + 16n onwards, four to a row from the image's top; t counts from its bottom.
    const struct {
        char code;
        int sheet;
        double s0, t0;
    } cells[] = {{' ', 0, 0.0, 0.75}, {'g', 4, 0.75, 0.5}, {'\x7f', 5, 0.75, 0.0}};
    for (const auto& cell : cells) {
        const char text[2] = {cell.code, 0};
        GlyphCursor cursor(font, text, 1.0, 0);
        GlyphPlacement g;
        ASSERT_TRUE(cursor.Next(&g));
        EXPECT_TRUE(g.sheet == cell.sheet && g.s0 == cell.s0 && g.s1 == cell.s0 + 0.25 && g.t0 == cell.t0 &&
                    g.t1 == cell.t0 + 0.25 && g.halfSize == 0.5)
            << cell.code;
    }
}
