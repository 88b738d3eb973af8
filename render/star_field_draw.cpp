#include <GL/gl.h>

#include "render/star_field.h"

const double SKY_BOTTOM_RED = 0.08, SKY_BOTTOM_GREEN = 0.0, SKY_BOTTOM_BLUE = 0.16;
const double SKY_TOP_RED = 0.02, SKY_TOP_GREEN = 0.0, SKY_TOP_BLUE = 0.04;

void StarField::Draw() const {
    if (twilight) {
        // The glow is opaque: blending it would give the same pixels at a cost over the whole window.
        GLboolean blending = glIsEnabled(GL_BLEND);
        glDisable(GL_BLEND);
        glBegin(GL_QUADS);
        glColor3d(SKY_BOTTOM_RED, SKY_BOTTOM_GREEN, SKY_BOTTOM_BLUE);
        glVertex2d(0, 0);
        glVertex2d(width - 1, 0);
        glColor3d(SKY_TOP_RED, SKY_TOP_GREEN, SKY_TOP_BLUE);
        glVertex2d(width - 1, skyHeight);
        glVertex2d(0, skyHeight);
        glEnd();
        if (blending) glEnable(GL_BLEND);
    }
    glBegin(GL_POINTS);
    for (int i = 0; i < count; ++i) {
        const Star& star = starArray[i];
        glColor3d(star.color.x, star.color.y, star.color.z);
        glVertex2d(star.position.x, star.position.y);
    }
    glEnd();
}
