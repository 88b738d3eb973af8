#include <GL/gl.h>

#include <cmath>

#include "render/gl_context.h"
#include "tests/gl/gl_fixture.h"

// The perspective matrix for a 45 degree field of view, near 0.1f widened to double, far 200.
static void ExpectedPerspective(double aspect, double m[16]) {
    const double nearPlane = double(0.1f), farPlane = 200.0;
    double radians = 45.0 / 2 * 3.14159265358979323846 / 180;
    double cotangent = std::cos(radians) / std::sin(radians);
    for (int i = 0; i < 16; ++i) m[i] = 0;
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    m[11] = -1;
    m[14] = -2 * nearPlane * farPlane / (farPlane - nearPlane);
}

static void ExpectIdentity(GLenum which) {
    GLfloat m[16];
    glGetFloatv(which, m);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << "element " << i;
}

TEST_F(GLTest, ResizeSceneSetsViewportPerspectiveAndLeavesModelViewCurrent) {
    UseSize(640, 480);
    glMatrixMode(GL_MODELVIEW);
    glTranslated(1, 2, 3);
    glMatrixMode(GL_PROJECTION);
    glOrtho(0, 1, 0, 1, -1, 1);

    ResizeScene(640, 480);

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    ExpectIdentity(GL_MODELVIEW_MATRIX);

    const double aspect = 640.0 / 480.0;
    EXPECT_EQ(aspect, 1.3333333333333333);
    double expected[16];
    ExpectedPerspective(aspect, expected);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(projection[i], float(expected[i])) << "element " << i;
    EXPECT_NEAR(projection[5] / projection[0], 1.3333333333333333, 1e-6);
}

TEST_F(GLTest, ResizeSceneAspectFollowsTheWindowShape) {
    for (int width : {320, 800, 1920}) {
        ResizeScene(width, 240);
        GLfloat projection[16];
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        EXPECT_NEAR(projection[5] / projection[0], width / 240.0, 1e-5 * width / 240.0) << width;
    }
}

TEST_F(GLTest, ZeroHeightWindowKeepsAFiniteProjectionAsIfOnePixelHigh) {
    ResizeScene(640, 0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 0);
    GLfloat projection[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    for (float value : projection) EXPECT_TRUE(std::isfinite(value));
    double expected[16];
    ExpectedPerspective(640.0, expected);
    EXPECT_FLOAT_EQ(projection[0], float(expected[0]));
    EXPECT_FLOAT_EQ(projection[5], float(expected[5]));
}
