#pragma once

// How the test host's resources fail. Present serves a correct width table and 8-bit sheets.
enum class WidthResource { PRESENT, MISSING, UNLOADABLE, SHORT };
enum class GlyphBitmap { PRESENT, MISSING, FOUR_BITS, NO_PIXELS };

extern WidthResource g_widthResource;
extern GlyphBitmap g_glyphBitmap;
extern int g_bitmapsFreed;
