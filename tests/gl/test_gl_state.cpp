#include <GL/gl.h>

#include <cmath>

#include "render/gl_context.h"
#include "render/gl_state.h"
#include "tests/gl/gl_fixture.h"

// A red square, then a green one over it at the same depth: with blending they add up to
// yellow, without it the later one covers (the depth test lets equal depths through).
TEST_F(GLTest, BlendingAddsOverlappingShapesAndDepthTestingLetsTheLaterCover) {
    for (bool blending : {false, true}) {
        SCOPED_TRACE(blending ? "alpha blending" : "depth tested");
        SetFixedGLState();
        SetBlendState(blending);
        EXPECT_EQ(bool(glIsEnabled(GL_DEPTH_TEST)), !blending);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glBegin(GL_QUADS);
        for (int square = 0; square < 2; ++square) {
            glColor3d(1 - square, square, 0);
            glVertex3d(-0.5, -0.5, 0);
            glVertex3d(0.5, -0.5, 0);
            glVertex3d(0.5, 0.5, 0);
            glVertex3d(-0.5, 0.5, 0);
        }
        glEnd();
        RgbImage image = ReadPixels();
        const uint8_t* centre = image.At(160, 120);
        EXPECT_EQ(centre[0], blending ? 255 : 0);
        EXPECT_EQ(centre[1], 255);
        EXPECT_EQ(centre[2], 0);
    }
}

// A zero height (a minimised window) keeps a finite projection, as if one pixel high.
TEST_F(GLTest, ResizeSceneSetsTheViewportAndA45DegreePerspectiveOfTheWindowsAspect) {
    const struct {
        int width, height;
        double aspect;
    } cases[] = {{640, 480, 1.3333333333333333}, {1920, 240, 8.0}, {640, 0, 640.0}};
    const double cotangent = 1 / std::tan(22.5 * 3.14159265358979323846 / 180);
    const double nearPlane = 0.1, farPlane = 200.0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        glMatrixMode(GL_MODELVIEW);
        glTranslated(1, 2, 3);
        glMatrixMode(GL_PROJECTION);
        glOrtho(0, 1, 0, 1, -1, 1);
        ResizeScene(c.width, c.height);

        GLint viewport[4], mode = 0;
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], c.width);
        EXPECT_EQ(viewport[3], c.height);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
        GLfloat m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], i % 5 == 0 ? 1.0f : 0.0f) << i;
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        EXPECT_FLOAT_EQ(m[0], float(cotangent / c.aspect));
        EXPECT_FLOAT_EQ(m[5], float(cotangent));
        EXPECT_FLOAT_EQ(m[10], float(-(farPlane + nearPlane) / (farPlane - nearPlane)));
        EXPECT_FLOAT_EQ(m[14], float(-2 * nearPlane * farPlane / (farPlane - nearPlane)));
        EXPECT_EQ(m[11], -1.0f);
    }
}
