#include <GL/gl.h>
#include <GL/glu.h>

#include <type_traits>

#include "render/bitmap_font.h"

static_assert(std::is_same<GLuint, uint32_t>::value, "texture names are kept as GLuint");

void BitmapFont::LoadTextures() {
    LoadWidths();
    glGenTextures(FONT_SHEET_COUNT, textures);
    for (int sheet = 0; sheet < FONT_SHEET_COUNT; ++sheet) {
        HostBitmap bitmap;
        LoadGlyphSheet(sheet, &bitmap);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glBindTexture(GL_TEXTURE_2D, textures[sheet]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        // Mipmaps keep small text smooth under trilinear filtering. Rows are bottom-up, so t = 0 is
        // the image's bottom edge.
        gluBuild2DMipmaps(GL_TEXTURE_2D, 1, bitmap.width, bitmap.height, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                          bitmap.pixels);
        HostFreeBitmap(&bitmap);
    }
}

void BitmapFont::DrawString(const char* text, double scale, int alignment) const {
    GlyphCursor cursor(*this, text, scale, alignment);
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT);
    glPushMatrix();
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_DST_ALPHA);
    glTranslated(cursor.start, 0.0, 0.0);
    GlyphPlacement glyph;
    while (cursor.Next(&glyph)) {
        // The pen moves by translations, half an advance either side of the square.
        glTranslated(glyph.halfAdvance, 0.0, 0.0);
        glBindTexture(GL_TEXTURE_2D, textures[glyph.sheet]);
        double h = glyph.halfSize;
        glBegin(GL_QUADS);
        glTexCoord2d(glyph.s0, glyph.t0);
        glVertex2d(-h, -h);
        glTexCoord2d(glyph.s1, glyph.t0);
        glVertex2d(h, -h);
        glTexCoord2d(glyph.s1, glyph.t1);
        glVertex2d(h, h);
        glTexCoord2d(glyph.s0, glyph.t1);
        glVertex2d(-h, h);
        glEnd();
        glTranslated(glyph.halfAdvance, 0.0, 0.0);
    }
    glPopMatrix();
    glPopAttrib();
}
