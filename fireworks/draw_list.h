#pragma once
#include <vector>

struct Vec3;

// One vertex of the frame's batch, laid out for GL client arrays.
struct DrawVertex {
    float x, y, z;
    float r, g, b;
};

// The frame's triangles in draw order. It keeps its capacity from frame to frame,
// so an ordinary frame allocates nothing.
class DrawList {
public:
    void Clear() { count_ = 0; }
    int VertexCount() const { return count_; }
    const DrawVertex* Vertices() const { return vertices_.data(); }

    // Room for n more vertices, written through the returned cursor.
    DrawVertex* Append(int n);

private:
    std::vector<DrawVertex> vertices_;
    int count_ = 0;
};

void SetVertex(DrawVertex* vertex, const Vec3& position, const Vec3& color);
