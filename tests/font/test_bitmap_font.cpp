#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/bitmap_font.h"
#include "tests/font/resource_files.h"
#include "tests/support/fake_platform.h"

namespace {

class BitmapFontTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_reportedErrors.clear();
        font.LoadWidths();
    }

    std::vector<GlyphPlacement> Glyphs(const char* text, double scale, int alignment, double* start = nullptr) {
        GlyphCursor cursor(font, text, scale, alignment);
        if (start != nullptr) *start = cursor.start;
        std::vector<GlyphPlacement> glyphs;
        GlyphPlacement glyph;
        while (cursor.Next(&glyph)) glyphs.push_back(glyph);
        return glyphs;
    }

    // The start, then each drawn character's sheet, pen position, half advance and cell corner.
    std::vector<double> Layout(const char* text, double scale, int alignment) {
        GlyphCursor cursor(font, text, scale, alignment);
        std::vector<double> layout = {cursor.start};
        for (GlyphPlacement g; cursor.Next(&g);)
            layout.insert(layout.end(), {double(g.sheet), g.penX, g.halfAdvance, g.s0, g.t0});
        return layout;
    }

    BitmapFont font;
};

}  // namespace

TEST_F(BitmapFontTest, TextWidthSumsTheLoadedAdvancesOfCodes32To127Only) {
    EXPECT_TRUE(g_reportedErrors.empty());
    std::vector<uint8_t> table = ReadResourceFile("widths.bin");
    ASSERT_EQ(96u, table.size());
    EXPECT_TRUE(std::equal(table.begin(), table.end(), font.widths));

    EXPECT_EQ(73, font.TextWidth("AB"));
    EXPECT_EQ(0, font.TextWidth(""));
    EXPECT_EQ(73, font.TextWidth("\tA\nB\x1f"));
    EXPECT_EQ(73, font.TextWidth("A\x80\xe9\xff" "B"));
    EXPECT_EQ(73, font.TextWidth("A\x7f" "B"));
}

TEST_F(BitmapFontTest, AlignmentPlacesTheStringAndAnyOtherValueActsAsLeft) {
    double start = 0;
    std::vector<GlyphPlacement> glyphs = Glyphs("AB", 1.0, 2, &start);
    EXPECT_EQ(-73.0 / 64, start);
    ASSERT_EQ(2u, glyphs.size());
    EXPECT_DOUBLE_EQ(-73.0 / 64 + 37.0 / 128, glyphs[0].penX);
    EXPECT_DOUBLE_EQ(0.0, glyphs[1].penX + glyphs[1].halfAdvance);
    EXPECT_EQ(0.5, glyphs[0].halfSize);
    Glyphs("AB", 20.0, 1, &start);
    EXPECT_DOUBLE_EQ(-73.0 * 20 / 128, start);

    std::vector<GlyphPlacement> left = Glyphs("FPS: 60", 16.0, 0, &start);
    EXPECT_EQ(0.0, start);
    EXPECT_EQ(8.0, left[0].halfSize);
    EXPECT_DOUBLE_EQ(16.0 * font.TextWidth("FPS: 60") / 64, left.back().penX + left.back().halfAdvance);
    for (int alignment : {3, -1, 1000}) EXPECT_EQ(Layout("FPS: 60", 16.0, 0), Layout("FPS: 60", 16.0, alignment));
}

TEST_F(BitmapFontTest, BytesOutsideThePrintableRangeAreNotDrawnAndMoveNothing) {
    EXPECT_EQ(Layout("AB", 3.0, 1), Layout("\tA\r\nB\x1f", 3.0, 1));
    EXPECT_EQ(Layout("AB", 3.0, 2), Layout("\x80" "A\xe9\xff" "B\x9f", 3.0, 2));
    EXPECT_EQ(Layout("", 3.0, 2), Layout("\x01\x80\xff", 3.0, 2));

    // 127 is drawn, as an empty square that moves the pen by nothing.
    std::vector<GlyphPlacement> plain = Glyphs("AB", 2.0, 0);
    std::vector<GlyphPlacement> with127 = Glyphs("A\x7f" "B", 2.0, 0);
    ASSERT_EQ(3u, with127.size());
    EXPECT_EQ(0.0, with127[1].halfAdvance);
    EXPECT_EQ(plain[0].penX + plain[0].halfAdvance, with127[1].penX);
    EXPECT_EQ(plain[1].penX, with127[2].penX);
}

// Sheet n holds codes 32 + 16n onwards, four to a row from the image's top; t counts from its bottom.
TEST_F(BitmapFontTest, EachCharacterSelectsItsOwnCellOfItsOwnSheet) {
    const struct {
        char code;
        int sheet;
        double s0, t0;
    } cells[] = {{' ', 0, 0.0, 0.75}, {'/', 0, 0.75, 0.0}, {'0', 1, 0.0, 0.75}, {'A', 2, 0.25, 0.75},
                 {'g', 4, 0.75, 0.5}, {'p', 5, 0.0, 0.75}, {'~', 5, 0.5, 0.0}, {'+', 0, 0.75, 0.25},
                 {'\x7f', 5, 0.75, 0.0}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(cell.code);
        const char text[2] = {cell.code, 0};
        std::vector<GlyphPlacement> glyphs = Glyphs(text, 1.0, 0);
        ASSERT_EQ(1u, glyphs.size());
        EXPECT_EQ(cell.sheet, glyphs[0].sheet);
        EXPECT_EQ(cell.s0, glyphs[0].s0);
        EXPECT_EQ(cell.s0 + 0.25, glyphs[0].s1);
        EXPECT_EQ(cell.t0, glyphs[0].t0);
        EXPECT_EQ(cell.t0 + 0.25, glyphs[0].t1);
    }
}
