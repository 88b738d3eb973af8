#include <GL/gl.h>
#include <GL/glu.h>

#include <array>

#include "engine/overlay.h"
#include "tests/gl/gl_fixture.h"

struct OverlayGLState {
    bool lighting, depthTest, cullFace, blend, texture2D;
    GLint blendSrc, blendDst, matrixMode;
    std::array<GLint, 4> viewport;
    std::array<GLfloat, 16> projection, modelView;
};

static OverlayGLState ReadState() {
    OverlayGLState s;
    s.lighting = glIsEnabled(GL_LIGHTING);
    s.depthTest = glIsEnabled(GL_DEPTH_TEST);
    s.cullFace = glIsEnabled(GL_CULL_FACE);
    s.blend = glIsEnabled(GL_BLEND);
    s.texture2D = glIsEnabled(GL_TEXTURE_2D);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_VIEWPORT, s.viewport.data());
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView.data());
    return s;
}

static void ExpectSameState(const OverlayGLState& a, const OverlayGLState& b) {
    EXPECT_EQ(a.lighting, b.lighting);
    EXPECT_EQ(a.depthTest, b.depthTest);
    EXPECT_EQ(a.cullFace, b.cullFace);
    EXPECT_EQ(a.blend, b.blend);
    EXPECT_EQ(a.texture2D, b.texture2D);
    EXPECT_EQ(a.blendSrc, b.blendSrc);
    EXPECT_EQ(a.blendDst, b.blendDst);
    EXPECT_EQ(a.matrixMode, b.matrixMode);
    EXPECT_EQ(a.viewport, b.viewport);
    EXPECT_EQ(a.projection, b.projection);
    EXPECT_EQ(a.modelView, b.modelView);
}

static void SetCamera() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45, 4.0 / 3, 0.1, 200);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
}

static void ExpectOverlayMode(int width, int height) {
    OverlayGLState s = ReadState();
    EXPECT_FALSE(s.lighting);
    EXPECT_FALSE(s.depthTest);
    EXPECT_FALSE(s.cullFace);
    EXPECT_TRUE(s.blend);
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
    OverlayGLState before = ReadState();

    BeginOverlay(320, 240);
    ExpectOverlayMode(320, 240);
    EndOverlay();

    ExpectSameState(before, ReadState());
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
    OverlayGLState before = ReadState();

    BeginOverlay(640, 480);
    ExpectOverlayMode(640, 480);
    glViewport(0, 0, 10, 10);  // what an overlay may change inside the mode is undone too
    glDisable(GL_TEXTURE_2D);
    EndOverlay();

    ExpectSameState(before, ReadState());
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
