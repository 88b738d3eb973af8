#include <GL/gl.h>

#include "render/gl_state.h"
#include "tests/gl/gl_fixture.h"

static GLint Integer(GLenum name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}

// A red square, then a green one over it at the same depth, drawn as the scene draws.
static RgbImage OverlapTwoSquares(int width, int height) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glBegin(GL_QUADS);
    glColor3d(1, 0, 0);
    glVertex3d(-0.5, -0.5, 0);
    glVertex3d(0.5, -0.5, 0);
    glVertex3d(0.5, 0.5, 0);
    glVertex3d(-0.5, 0.5, 0);
    glColor3d(0, 1, 0);
    glVertex3d(-0.5, -0.5, 0);
    glVertex3d(0.5, -0.5, 0);
    glVertex3d(0.5, 0.5, 0);
    glVertex3d(-0.5, 0.5, 0);
    glEnd();
    return ReadFramebuffer(width, height);
}

static void ExpectFixedState() {
    EXPECT_EQ(Integer(GL_SHADE_MODEL), GL_SMOOTH);
    GLfloat clear[4] = {1, 1, 1, 1};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    for (float channel : clear) EXPECT_EQ(channel, 0.0f);
    GLfloat depth = 0;
    glGetFloatv(GL_DEPTH_CLEAR_VALUE, &depth);
    EXPECT_EQ(depth, 1.0f);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(Integer(GL_PERSPECTIVE_CORRECTION_HINT), GL_NICEST);
}

TEST_F(GLTest, AlphaBlendingOnAddsShapesWithoutDepthTest) {
    glEnable(GL_LIGHTING);
    SetFixedGLState();
    SetBlendState(true);
    ExpectFixedState();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(Integer(GL_BLEND_SRC), GL_ONE);
    EXPECT_EQ(Integer(GL_BLEND_DST), GL_DST_ALPHA);

    RgbImage image = OverlapTwoSquares(320, 240);
    const uint8_t* centre = image.At(160, 120);
    EXPECT_EQ(centre[0], 255);  // red and green add up to yellow
    EXPECT_EQ(centre[1], 255);
    EXPECT_EQ(centre[2], 0);
}

TEST_F(GLTest, AlphaBlendingOffLetsTheLaterShapeCoverAtEqualDepth) {
    SetFixedGLState();
    SetBlendState(false);
    ExpectFixedState();
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));

    RgbImage image = OverlapTwoSquares(320, 240);
    const uint8_t* centre = image.At(160, 120);
    EXPECT_EQ(centre[0], 0);
    EXPECT_EQ(centre[1], 255);
    EXPECT_EQ(centre[2], 0);
}
