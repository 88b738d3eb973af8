#include "fireworks/draw_list.h"

#include "fireworks/vec3.h"

DrawVertex* DrawList::Append(int n) {
    if (count_ + n > int(vertices_.size())) vertices_.resize(vertices_.size() * 2 + n);
    DrawVertex* cursor = vertices_.data() + count_;
    count_ += n;
    return cursor;
}

void SetVertex(DrawVertex* vertex, const Vec3& position, const Vec3& color) {
    *vertex = {float(position.x), float(position.y), float(position.z),
               float(color.x), float(color.y), float(color.z)};
}
