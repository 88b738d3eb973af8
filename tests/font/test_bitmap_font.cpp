#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "render/bitmap_font.h"
#include "render/dib_reader.h"
#include "tests/font/resource_files.h"
#include "tests/support/fake_platform.h"

namespace {

BitmapFont LoadedFont() {
    BitmapFont font;
    font.LoadWidths();
    return font;
}

std::vector<GlyphPlacement> LayOut(const BitmapFont& font, const char* text, double scale, int alignment,
                                   double* start = nullptr) {
    GlyphCursor cursor(font, text, scale, alignment);
    if (start != nullptr) *start = cursor.start;
    std::vector<GlyphPlacement> glyphs;
    GlyphPlacement glyph;
    while (cursor.Next(&glyph)) glyphs.push_back(glyph);
    return glyphs;
}

void ExpectSamePlacements(const std::vector<GlyphPlacement>& expected, const std::vector<GlyphPlacement>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].sheet, actual[i].sheet) << i;
        EXPECT_EQ(expected[i].penX, actual[i].penX) << i;
        EXPECT_EQ(expected[i].halfAdvance, actual[i].halfAdvance) << i;
        EXPECT_EQ(expected[i].s0, actual[i].s0) << i;
        EXPECT_EQ(expected[i].t0, actual[i].t0) << i;
    }
}

}  // namespace

TEST(BitmapFont, StartsWithNoWidthsAndLoadsExactlyTheTable) {
    EXPECT_EQ(0, g_font.TextWidth("Vesperglow"));
    for (uint8_t width : g_font.widths) ASSERT_EQ(0, width);

    g_reportedErrors.clear();
    BitmapFont font = LoadedFont();
    EXPECT_TRUE(g_reportedErrors.empty());
    EXPECT_EQ(0, std::memcmp(EXPECTED_WIDTHS, font.widths, sizeof font.widths));
}

TEST(BitmapFont, TextWidthSumsOnlyCodes32To127) {
    BitmapFont font = LoadedFont();
    EXPECT_EQ(73, font.TextWidth("AB"));
    EXPECT_EQ(0, font.TextWidth(""));
    EXPECT_EQ(12, font.TextWidth(" "));
    EXPECT_EQ(73, font.TextWidth("\tA\nB\x1f"));
    EXPECT_EQ(73, font.TextWidth("A\x80\xe9\xff" "B"));
    EXPECT_EQ(73, font.TextWidth("A\x7f" "B"));
    EXPECT_EQ(31, font.TextWidth("~"));
}

TEST(BitmapFont, RightAlignedStringEndsAtTheOrigin) {
    BitmapFont font = LoadedFont();
    double start = 0;
    std::vector<GlyphPlacement> glyphs = LayOut(font, "AB", 1.0, 2, &start);
    EXPECT_EQ(-73.0 / 64, start);
    ASSERT_EQ(2u, glyphs.size());
    EXPECT_DOUBLE_EQ(-73.0 / 64 + 37.0 / 128, glyphs[0].penX);
    EXPECT_DOUBLE_EQ(37.0 / 128, glyphs[0].halfAdvance);
    EXPECT_DOUBLE_EQ(-73.0 / 64 + 37.0 / 64 + 36.0 / 128, glyphs[1].penX);
    EXPECT_DOUBLE_EQ(0.0, glyphs[1].penX + glyphs[1].halfAdvance);
    EXPECT_EQ(0.5, glyphs[0].halfSize);
}

TEST(BitmapFont, AlignmentsScaleAndUnknownAlignments) {
    BitmapFont font = LoadedFont();
    double start = 1;
    LayOut(font, "AB", 1.0, 0, &start);
    EXPECT_EQ(0.0, start);
    LayOut(font, "AB", 1.0, 1, &start);
    EXPECT_EQ(-73.0 / 128, start);
    LayOut(font, "AB", 20.0, 1, &start);
    EXPECT_DOUBLE_EQ(-73.0 * 20 / 128, start);

    std::vector<GlyphPlacement> left = LayOut(font, "FPS: 60", 16.0, 0);
    EXPECT_EQ(8.0, left[0].halfSize);
    EXPECT_DOUBLE_EQ(16.0 * font.TextWidth("FPS: 60") / 64, left.back().penX + left.back().halfAdvance);
    for (int alignment : {3, -1, 1000}) {
        double other = 1;
        ExpectSamePlacements(left, LayOut(font, "FPS: 60", 16.0, alignment, &other));
        EXPECT_EQ(0.0, other) << alignment;
    }
}

TEST(BitmapFont, BytesOutsideThePrintableRangeAreNotDrawnAndMoveNothing) {
    BitmapFont font = LoadedFont();
    std::vector<GlyphPlacement> plain = LayOut(font, "AB", 3.0, 1);
    ExpectSamePlacements(plain, LayOut(font, "\tA\r\nB\x1f", 3.0, 1));
    ExpectSamePlacements(plain, LayOut(font, "\x80" "A\xe9\xff" "B\x9f", 3.0, 1));
    double start = 1;
    EXPECT_TRUE(LayOut(font, "\x01\x80\xff", 3.0, 2, &start).empty());
    EXPECT_EQ(0.0, start);
    EXPECT_TRUE(LayOut(font, "", 3.0, 1).empty());
}

TEST(BitmapFont, Code127IsAnInvisibleSquareThatMovesNothing) {
    BitmapFont font = LoadedFont();
    std::vector<GlyphPlacement> plain = LayOut(font, "AB", 2.0, 0);
    std::vector<GlyphPlacement> with127 = LayOut(font, "A\x7f" "B", 2.0, 0);
    ASSERT_EQ(3u, with127.size());
    EXPECT_EQ(5, with127[1].sheet);
    EXPECT_EQ(0.0, with127[1].halfAdvance);
    EXPECT_EQ(plain[0].penX + plain[0].halfAdvance, with127[1].penX);
    EXPECT_EQ(plain[1].penX, with127[2].penX);
}

// A character's rectangle must select its own cell of its own sheet: the cell holds ink for every
// character but space and 127. Rows are bottom-up, so t counts from the image's bottom.
TEST(BitmapFont, TextureRectanglesSelectEachCharactersCell) {
    BitmapFont font = LoadedFont();
    struct Expected {
        char code;
        int sheet;
        double s0, t0;
    };
    const Expected cells[] = {{' ', 0, 0.0, 0.75}, {'/', 0, 0.75, 0.0}, {'0', 1, 0.0, 0.75},
                              {'A', 2, 0.25, 0.75}, {'g', 4, 0.75, 0.5}, {'p', 5, 0.0, 0.75},
                              {'~', 5, 0.5, 0.0},  {'+', 0, 0.75, 0.25}};
    for (const Expected& cell : cells) {
        char text[2] = {cell.code, 0};
        std::vector<GlyphPlacement> glyphs = LayOut(font, text, 1.0, 0);
        ASSERT_EQ(1u, glyphs.size());
        EXPECT_EQ(cell.sheet, glyphs[0].sheet) << cell.code;
        EXPECT_EQ(cell.s0, glyphs[0].s0) << cell.code;
        EXPECT_EQ(cell.s0 + 0.25, glyphs[0].s1) << cell.code;
        EXPECT_EQ(cell.t0, glyphs[0].t0) << cell.code;
        EXPECT_EQ(cell.t0 + 0.25, glyphs[0].t1) << cell.code;
    }

    std::vector<uint8_t> sheets[6];
    DibPixels dibs[6];
    for (int sheet = 0; sheet < 6; ++sheet) {
        sheets[sheet] = ReadResourceFile(SheetFileName(sheet));
        ASSERT_TRUE(ReadDib(sheets[sheet].data(), sheets[sheet].size(), &dibs[sheet]));
    }
    for (int code = 32; code <= 127; ++code) {
        char text[2] = {char(code), 0};
        std::vector<GlyphPlacement> glyphs = LayOut(font, text, 1.0, 0);
        ASSERT_EQ(1u, glyphs.size());
        const GlyphPlacement& glyph = glyphs[0];
        int ink = 0;
        for (int y = int(glyph.t0 * 256); y < int(glyph.t1 * 256); ++y) {
            for (int x = int(glyph.s0 * 256); x < int(glyph.s1 * 256); ++x) ink += dibs[glyph.sheet].pixels[y * 256 + x];
        }
        if (code == 32 || code == 127) {
            EXPECT_EQ(0, ink) << code;
        } else {
            EXPECT_GT(ink, 0) << code;
        }
    }
}
