#include "engine/overlay.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>

// The blend function is not part of the pushed attribute groups, so it is saved by hand.
int32_t g_savedBlendSrc = 0;
int32_t g_savedBlendDst = 0;

void BeginOverlay(int width, int height) {
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    g_savedBlendSrc = source;
    g_savedBlendDst = destination;
    glPushAttrib(GL_ENABLE_BIT | GL_TRANSFORM_BIT | GL_VIEWPORT_BIT);

    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluOrtho2D(0, width, 0, height);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
}

void EndOverlay() {
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glPopAttrib();
    glBlendFunc(GLenum(g_savedBlendSrc), GLenum(g_savedBlendDst));
}
