#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <array>
#include <vector>

#include "engine/engine_state.h"
#include "engine/hud.h"
#include "engine/overlay.h"
#include "render/bitmap_font.h"
#include "render/gl_context.h"
#include "tests/gl/gl_fixture.h"

// Every capability the enable attribute group holds.
static const GLenum CAPABILITIES[] = {
    GL_ALPHA_TEST, GL_AUTO_NORMAL, GL_BLEND, GL_CLIP_PLANE0, GL_CLIP_PLANE1, GL_CLIP_PLANE2, GL_CLIP_PLANE3,
    GL_CLIP_PLANE4, GL_CLIP_PLANE5, GL_COLOR_LOGIC_OP, GL_COLOR_MATERIAL, GL_CULL_FACE, GL_DEPTH_TEST, GL_DITHER,
    GL_FOG, GL_LIGHT0, GL_LIGHT1, GL_LIGHT2, GL_LIGHT3, GL_LIGHT4, GL_LIGHT5, GL_LIGHT6, GL_LIGHT7, GL_LIGHTING,
    GL_LINE_SMOOTH, GL_LINE_STIPPLE, GL_MAP1_VERTEX_3, GL_MAP2_VERTEX_3, GL_NORMALIZE, GL_POINT_SMOOTH,
    GL_POLYGON_OFFSET_FILL, GL_POLYGON_OFFSET_LINE, GL_POLYGON_OFFSET_POINT, GL_POLYGON_SMOOTH,
    GL_POLYGON_STIPPLE, GL_SCISSOR_TEST, GL_STENCIL_TEST, GL_TEXTURE_1D, GL_TEXTURE_2D, GL_TEXTURE_GEN_S,
    GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q,
};

// The state a drawing step may touch and must give back, as glGet reads it: the enable bits,
// then the blend function, matrix mode, stack depths and viewport, then both matrices.
struct GLStateSnapshot {
    std::vector<GLboolean> enabled;
    std::array<GLint, 10> integers;
    std::array<GLfloat, 32> matrices;
};

static GLStateSnapshot ReadGLState() {
    GLStateSnapshot s;
    for (GLenum cap : CAPABILITIES) s.enabled.push_back(glIsEnabled(cap));
    const GLenum integers[] = {GL_BLEND_SRC, GL_BLEND_DST, GL_MATRIX_MODE, GL_MODELVIEW_STACK_DEPTH,
                               GL_PROJECTION_STACK_DEPTH, GL_ATTRIB_STACK_DEPTH};
    for (int i = 0; i < 6; ++i) glGetIntegerv(integers[i], &s.integers[i]);
    glGetIntegerv(GL_VIEWPORT, &s.integers[6]);
    glGetFloatv(GL_PROJECTION_MATRIX, &s.matrices[0]);
    glGetFloatv(GL_MODELVIEW_MATRIX, &s.matrices[16]);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "reading the state";
    return s;
}

static void ExpectSameGLState(const GLStateSnapshot& before, const GLStateSnapshot& after) {
    for (size_t i = 0; i < before.enabled.size(); ++i)
        EXPECT_EQ(before.enabled[i], after.enabled[i]) << "capability 0x" << std::hex << CAPABILITIES[i];
    for (size_t i = 0; i < before.integers.size(); ++i) EXPECT_EQ(before.integers[i], after.integers[i]) << i;
    EXPECT_EQ(before.matrices, after.matrices);
}

// Whatever the scene left on, the overlay draws flat: window pixels from the bottom-left, with
// the colour's alpha blended over what is there.
TEST_F(GLTest, OverlayDrawsInWindowPixelsWithAlphaBlendingAndNoSceneTests) {
    glEnable(GL_LIGHTING);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glBlendFunc(GL_ONE, GL_DST_ALPHA);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    BeginOverlay(320, 240);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    glBegin(GL_POINTS);
    glColor4d(1, 1, 1, 0.5);
    glVertex2d(10.5, 20.5);
    glEnd();
    EndOverlay();
    RgbImage image = ReadPixels();
    EXPECT_NEAR(image.At(10, 239 - 20)[0], 128, 1);
    EXPECT_EQ(image.At(10, 20)[0], 0);
}

// Every capability on, then every one off: drawing the border and the frame rate inside the
// overlay, and changing the viewport and an enable bit there, hands back exactly the scene's state.
TEST_F(GLTest, OverlayGivesBackEveryEnableBitTheBlendFunctionTheMatricesAndTheViewport) {
    g_font.LoadTextures();
    g_windowWidth = 320;
    g_windowHeight = 240;
    for (bool on : {true, false}) {
        SCOPED_TRACE(on ? "all enabled" : "all disabled");
        ResizeScene(320, 240);
        gluLookAt(0, -80, 1, 0, 0, 34, 0, 0, 1);
        for (GLenum cap : CAPABILITIES) on ? glEnable(cap) : glDisable(cap);
        glBlendFunc(on ? GL_ONE : GL_ZERO, on ? GL_DST_ALPHA : GL_SRC_COLOR);
        glViewport(3, 4, 100, 50);
        glMatrixMode(on ? GL_PROJECTION : GL_TEXTURE);
        ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        GLStateSnapshot before = ReadGLState();

        BeginOverlay(g_windowWidth, g_windowHeight);
        DrawWindowBorder();
        DrawFrameRate(1.0 / 60);
        glViewport(0, 0, 10, 10);
        on ? glDisable(GL_TEXTURE_2D) : glEnable(GL_TEXTURE_2D);
        EndOverlay();

        ExpectSameGLState(before, ReadGLState());
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

TEST_F(GLTest, AnEmptyOrUnprintableStringChangesNoGLStateAndDrawsNothing) {
    g_font.LoadTextures();
    glTranslated(3, 4, 5);
    glEnable(GL_DEPTH_TEST);
    glBlendFunc(GL_ONE, GL_ZERO);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    GLStateSnapshot before = ReadGLState();
    g_font.DrawString("", 40, 1);
    g_font.DrawString("\t\n\x80", 40, 2);
    ExpectSameGLState(before, ReadGLState());
    RgbImage image = ReadPixels();
    EXPECT_EQ(std::count(image.pixels.begin(), image.pixels.end(), 0), long(image.pixels.size()));
}
