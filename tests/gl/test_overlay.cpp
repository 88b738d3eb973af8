#include <GL/gl.h>
#include <GL/glu.h>

#include "engine/overlay.h"
#include "tests/gl/gl_fixture.h"
#include "tests/gl/gl_state_snapshot.h"

static void SetCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3, 0.1, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
}

static void ExpectOverlayMode(int width, int height) {
    GLStateSnapshot s = ReadGLState();
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(s.blendSrc, GL_SRC_ALPHA);
    EXPECT_EQ(s.blendDst, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(s.matrixMode, GL_MODELVIEW);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(s.modelView[i], i % 5 == 0 ? 1.0f : 0.0f);
    EXPECT_FLOAT_EQ(s.projection[0], 2.0f / width);
    EXPECT_FLOAT_EQ(s.projection[5], 2.0f / height);
    EXPECT_FLOAT_EQ(s.projection[12], -1.0f);
    EXPECT_FLOAT_EQ(s.projection[13], -1.0f);
}

TEST_F(GLTest, OverlayRestoresEverythingItChangedFromTheSceneState) {
    SetCamera();
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_DST_ALPHA);
    glViewport(3, 4, 100, 50);
    glMatrixMode(GL_PROJECTION);
    GLStateSnapshot before = ReadGLState();

    BeginOverlay(320, 240);
    ExpectOverlayMode(320, 240);
    EndOverlay();

    ExpectSameGLState(before, ReadGLState());
}

TEST_F(GLTest, OverlayRestoresAStateWithEverythingOff) {
    SetCamera();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_ZERO, GL_SRC_COLOR);
    glMatrixMode(GL_TEXTURE);
    GLStateSnapshot before = ReadGLState();

    BeginOverlay(640, 480);
    ExpectOverlayMode(640, 480);
    glViewport(0, 0, 10, 10);  // what an overlay may change inside the mode is undone too
    glDisable(GL_TEXTURE_2D);
    EndOverlay();

    ExpectSameGLState(before, ReadGLState());
}

TEST_F(GLTest, OverlayCoordinatesArePixelsFromTheBottomLeft) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    BeginOverlay(320, 240);
    glBegin(GL_POINTS);
    glColor3d(1, 1, 1);
    glVertex2d(10.5, 20.5);
    glEnd();
    EndOverlay();
    RgbImage image = ReadPixels();
    EXPECT_EQ(image.At(10, 239 - 20)[0], 255);
    EXPECT_EQ(image.At(10, 20)[0], 0);
}
