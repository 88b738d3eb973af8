#pragma once
#include <cstdint>

#include "seam/platform.h"

const int FONT_FIRST_CODE = 32;
const int FONT_LAST_CODE = 127;
const int FONT_CODE_COUNT = 96;
const int FONT_SHEET_COUNT = 6;
const int FONT_GLYPHS_PER_SHEET = 16;
const int FONT_WIDTH_RESOURCE = 114;
const char* const FONT_WIDTH_RESOURCE_TYPE = "WID";
// Bitmap resource ids of the glyph sheets, in sheet order.
const int FONT_SHEET_RESOURCES[FONT_SHEET_COUNT] = {106, 107, 108, 109, 110, 32};

// The one proportional font of the saver: 16 glyphs to a texture, one advance width per code 32..127.
struct BitmapFont {
    uint32_t textures[FONT_SHEET_COUNT] = {};
    uint8_t widths[FONT_CODE_COUNT] = {};

    // Copies the width table out of the program's resources.
    void LoadWidths();
    // Loads the widths, then builds the six mipmapped luminance textures. Needs a current GL context.
    void LoadTextures();
    // Sum of the advances of the string's characters 32..127, in pixels of the 64-pixel cell.
    int32_t TextWidth(const char* text) const;
    // One textured square per character at the model-view origin; alignment 0 left, 1 centred,
    // 2 right, anything else left. The caller sets the colour and the position.
    void DrawString(const char* text, double scale, int alignment) const;
};

// One character as DrawString places it.
struct GlyphPlacement {
    int sheet;           // index into textures
    double halfAdvance;  // the pen moves this far before the square and again after it
    double penX;         // the square's centre, from the model-view origin
    double halfSize;     // half the square's side
    double s0, s1, t0, t1;  // the character's cell in its texture, t = 0 at the image's bottom
};

// Walks a string the way DrawString lays it out, with no GL: the start offset, then one
// placement per character that is drawn.
struct GlyphCursor {
    GlyphCursor(const BitmapFont& font, const char* text, double scale, int alignment);
    // False at the end of the string; bytes outside 32..127 are passed over.
    bool Next(GlyphPlacement* glyph);

    double start;  // where the string's left edge lies, from the model-view origin

private:
    const BitmapFont& font;
    const unsigned char* next;
    double scale;
    double pen;
};

// The bitmap of one glyph sheet, to be released with HostFreeBitmap. A sheet that cannot be loaded
// is reported and ends the process.
void LoadGlyphSheet(int sheet, HostBitmap* bitmap);
