#include <GL/gl.h>
#include <GL/glu.h>

#include "render/gl_context.h"

const double SCENE_FIELD_OF_VIEW = 45.0;
const double SCENE_NEAR_PLANE = double(0.1f);
const double SCENE_FAR_PLANE = 200.0;

void ResizeScene(int width, int height) {
    glViewport(0, 0, width, height);
    // A window with no height (minimised, or being laid out) keeps a finite projection.
    int aspectHeight = height > 0 ? height : 1;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(SCENE_FIELD_OF_VIEW, double(width) / double(aspectHeight), SCENE_NEAR_PLANE, SCENE_FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
