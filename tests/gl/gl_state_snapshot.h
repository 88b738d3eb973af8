#pragma once
#include <GL/gl.h>

#include <array>
#include <vector>

// The GL state a drawing step may touch and must give back: every capability the enable
// attribute group holds, the blend function, both matrices, the matrix mode, the stack depths
// and the viewport. Read with glGet on the current context.
struct GLStateSnapshot {
    std::vector<GLboolean> enabled;  // one per capability, in the order of GLStateCapabilities()
    GLint blendSrc, blendDst, matrixMode;
    GLint modelViewDepth, projectionDepth, attribDepth;
    std::array<GLint, 4> viewport;
    std::array<GLfloat, 16> projection, modelView;
};

struct GLCapability {
    GLenum cap;
    const char* name;
};
const std::vector<GLCapability>& GLStateCapabilities();

GLStateSnapshot ReadGLState();

// Every field equal, each difference named.
void ExpectSameGLState(const GLStateSnapshot& before, const GLStateSnapshot& after);
