#include "render/draw_list_gl.h"

#include <GL/gl.h>

#include "fireworks/draw_list.h"

// One draw call for the whole frame: the list is already in draw order, so blending and
// depth testing see the shapes exactly as per-record calls would give them.
void SubmitDrawList(const DrawList& list) {
    if (list.VertexCount() == 0) return;
    const DrawVertex* vertices = list.Vertices();
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    // Arrays left on by someone else would be read for every vertex, pointer or not.
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_INDEX_ARRAY);
    glDisableClientState(GL_EDGE_FLAG_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(DrawVertex), &vertices->x);
    glColorPointer(3, GL_FLOAT, sizeof(DrawVertex), &vertices->r);
    glDrawArrays(GL_TRIANGLES, 0, list.VertexCount());
    glPopClientAttrib();
}
