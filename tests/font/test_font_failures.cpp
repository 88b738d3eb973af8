#include <gtest/gtest.h>

#include "render/bitmap_font.h"
#include "tests/font/broken_resources.h"
#include "tests/support/fake_platform.h"

class FontFailures : public ::testing::Test {
protected:
    void SetUp() override {
        g_widthResource = WidthResource::PRESENT;
        g_glyphBitmap = GlyphBitmap::PRESENT;
        g_bitmapsFreed = 0;
        g_reportedErrors.clear();
    }
};

TEST_F(FontFailures, WidthTableThatLoadsIsCopiedWithoutComplaint) {
    BitmapFont font;
    font.LoadWidths();
    EXPECT_TRUE(g_reportedErrors.empty());
    EXPECT_EQ(1, font.widths[0]);
    EXPECT_EQ(96, font.widths[95]);
}

TEST_F(FontFailures, MissingWidthTableEndsTheProcess) {
    g_widthResource = WidthResource::MISSING;
    EXPECT_EXIT(g_font.LoadWidths(), ::testing::ExitedWithCode(1),
                "vesperglow: Error: Could not load width resource\n");
}

TEST_F(FontFailures, WidthTableThatCannotBeLoadedEndsTheProcess) {
    g_widthResource = WidthResource::UNLOADABLE;
    EXPECT_EXIT(g_font.LoadWidths(), ::testing::ExitedWithCode(1),
                "vesperglow: Error: Could not get handle on width resource\n");
}

// Copying 96 bytes out of a shorter table would read past it.
TEST_F(FontFailures, ShortWidthTableIsNotReadPastItsEnd) {
    g_widthResource = WidthResource::SHORT;
    EXPECT_EXIT(g_font.LoadWidths(), ::testing::ExitedWithCode(1),
                "vesperglow: Error: Could not get handle on width resource\n");
}

TEST_F(FontFailures, GlyphSheetThatLoadsIsHandedOver) {
    HostBitmap bitmap = {};
    LoadGlyphSheet(5, &bitmap);
    EXPECT_TRUE(g_reportedErrors.empty());
    EXPECT_NE(nullptr, bitmap.pixels);
    EXPECT_EQ(0, g_bitmapsFreed);
}

TEST_F(FontFailures, MissingOrUnusableGlyphSheetEndsTheProcess) {
    for (GlyphBitmap broken : {GlyphBitmap::MISSING, GlyphBitmap::FOUR_BITS, GlyphBitmap::NO_PIXELS}) {
        g_glyphBitmap = broken;
        HostBitmap bitmap = {};
        EXPECT_EXIT(LoadGlyphSheet(0, &bitmap), ::testing::ExitedWithCode(1),
                    "vesperglow: Error: Could not load bitmap resource\n")
            << int(broken);
    }
}
