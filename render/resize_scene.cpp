#include <GL/gl.h>
#include <GL/glu.h>

#include "render/gl_context.h"

const double SCENE_FIELD_OF_VIEW = 45.0;
const double SCENE_NEAR_PLANE = double(0.1f);
const double SCENE_FAR_PLANE = 200.0;

void ResizeScene(int left, int bottom, int width, int height) {
    glViewport(left, bottom, width, height);
    // A window with no height (minimised, or being laid out) keeps a finite projection.
    int aspectHeight = height > 0 ? height : 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(SCENE_FIELD_OF_VIEW, double(width) / double(aspectHeight), SCENE_NEAR_PLANE, SCENE_FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void ClearFrame(const Settings& settings) {
    glClearColor(0, 0, 0, 1);
    // With blending the depth test stays off all frame, so the depth buffer is never read: clearing
    // it would only cost a pass over the whole window.
    glClear(GL_COLOR_BUFFER_BIT | (settings.alphaBlending ? 0 : GL_DEPTH_BUFFER_BIT));
}
