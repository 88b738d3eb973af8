#include "tests/gl/gl_state_snapshot.h"

#include <gtest/gtest.h>

#define VG_CAP(c) {c, #c}

const std::vector<GLCapability>& GLStateCapabilities() {
    static const std::vector<GLCapability> caps = {
        VG_CAP(GL_ALPHA_TEST),      VG_CAP(GL_AUTO_NORMAL),    VG_CAP(GL_BLEND),
        VG_CAP(GL_CLIP_PLANE0),     VG_CAP(GL_CLIP_PLANE1),    VG_CAP(GL_CLIP_PLANE2),
        VG_CAP(GL_CLIP_PLANE3),     VG_CAP(GL_CLIP_PLANE4),    VG_CAP(GL_CLIP_PLANE5),
        VG_CAP(GL_COLOR_LOGIC_OP),  VG_CAP(GL_COLOR_MATERIAL), VG_CAP(GL_CULL_FACE),
        VG_CAP(GL_DEPTH_TEST),      VG_CAP(GL_DITHER),         VG_CAP(GL_FOG),
        VG_CAP(GL_LIGHT0),          VG_CAP(GL_LIGHT1),         VG_CAP(GL_LIGHT2),
        VG_CAP(GL_LIGHT3),          VG_CAP(GL_LIGHT4),         VG_CAP(GL_LIGHT5),
        VG_CAP(GL_LIGHT6),          VG_CAP(GL_LIGHT7),         VG_CAP(GL_LIGHTING),
        VG_CAP(GL_LINE_SMOOTH),     VG_CAP(GL_LINE_STIPPLE),   VG_CAP(GL_MAP1_VERTEX_3),
        VG_CAP(GL_MAP2_VERTEX_3),   VG_CAP(GL_NORMALIZE),      VG_CAP(GL_POINT_SMOOTH),
        VG_CAP(GL_POLYGON_OFFSET_FILL), VG_CAP(GL_POLYGON_OFFSET_LINE), VG_CAP(GL_POLYGON_OFFSET_POINT),
        VG_CAP(GL_POLYGON_SMOOTH),  VG_CAP(GL_POLYGON_STIPPLE), VG_CAP(GL_SCISSOR_TEST),
        VG_CAP(GL_STENCIL_TEST),    VG_CAP(GL_TEXTURE_1D),     VG_CAP(GL_TEXTURE_2D),
        VG_CAP(GL_TEXTURE_GEN_S),   VG_CAP(GL_TEXTURE_GEN_T),  VG_CAP(GL_TEXTURE_GEN_R),
        VG_CAP(GL_TEXTURE_GEN_Q),
    };
    return caps;
}

GLStateSnapshot ReadGLState() {
    GLStateSnapshot s;
    for (const GLCapability& c : GLStateCapabilities()) s.enabled.push_back(glIsEnabled(c.cap));
    glGetIntegerv(GL_BLEND_SRC, &s.blendSrc);
    glGetIntegerv(GL_BLEND_DST, &s.blendDst);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelViewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &s.attribDepth);
    glGetIntegerv(GL_VIEWPORT, s.viewport.data());
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection.data());
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelView.data());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << "reading the state";
    return s;
}

void ExpectSameGLState(const GLStateSnapshot& before, const GLStateSnapshot& after) {
    const std::vector<GLCapability>& caps = GLStateCapabilities();
    for (size_t i = 0; i < caps.size(); ++i)
        EXPECT_EQ(before.enabled[i], after.enabled[i]) << caps[i].name;
    EXPECT_EQ(before.blendSrc, after.blendSrc);
    EXPECT_EQ(before.blendDst, after.blendDst);
    EXPECT_EQ(before.matrixMode, after.matrixMode);
    EXPECT_EQ(before.modelViewDepth, after.modelViewDepth);
    EXPECT_EQ(before.projectionDepth, after.projectionDepth);
    EXPECT_EQ(before.attribDepth, after.attribDepth);
    EXPECT_EQ(before.viewport, after.viewport);
    EXPECT_EQ(before.projection, after.projection);
    EXPECT_EQ(before.modelView, after.modelView);
}
