// Triangle and line lists from immediate-mode primitives.
#include "gfx/primitives.h"

#include <initializer_list>

namespace gfx {

namespace {

// How many vertices one primitive takes (0: all of them) and which of them provokes.
struct Grouping {
    std::size_t size;
    std::size_t provoking; // index within the group
};

Grouping groupingOf(Primitive primitive, std::size_t count) {
    switch (primitive) {
    case Primitive::Lines:
        return {2, 1};
    case Primitive::Triangles:
        return {3, 2};
    case Primitive::Quads:
        return {4, 3};
    case Primitive::LineLoop:
        return {count, count - 1};
    case Primitive::Polygon:
    default:
        return {count, 0};
    }
}

std::size_t minimumOf(Primitive primitive) {
    return primitive == Primitive::Lines || primitive == Primitive::LineLoop ? 2 : 3;
}

// Emits the listed corners of one group, lit as its provoking vertex under flat shading.
void emit(Batch& batch, const Vertex* group, std::size_t provoking,
          std::initializer_list<std::size_t> corners, Shading shading) {
    for (const std::size_t corner : corners) {
        Vertex vertex = group[corner];
        if (shading == Shading::Flat) {
            vertex.lightFrom = group[provoking].lightFrom;
            vertex.colour = group[provoking].colour;
        }
        batch.vertices.push_back(vertex);
    }
}

// Calls `each` with the start of every complete group of the primitive.
template <typename Each>
void forEachGroup(Primitive primitive, const std::vector<Vertex>& vertices, Each each) {
    if (vertices.size() < minimumOf(primitive)) {
        return;
    }
    const Grouping grouping = groupingOf(primitive, vertices.size());
    for (std::size_t start = 0; start + grouping.size <= vertices.size(); start += grouping.size) {
        each(vertices.data() + start, grouping.size, grouping.provoking);
    }
}

} // namespace

Clipping clippingOf(const Mat4& toClip, const std::vector<Vertex>& vertices) {
    for (const Vertex& vertex : vertices) {
        const std::array<float, 4> clip =
            transformPoint(toClip, vertex.position[0], vertex.position[1], vertex.position[2]);
        for (int axis = 0; axis < 3; ++axis) {
            if (clip[axis] < -clip[3] || clip[axis] > clip[3]) {
                return Clipping::Crossing;
            }
        }
    }
    return Clipping::Inside;
}

Batch assemble(Primitive primitive, const std::vector<Vertex>& vertices, Shading shading,
               Clipping clipping) {
    Batch batch;
    const bool lines = primitive == Primitive::Lines || primitive == Primitive::LineLoop;
    batch.kind = lines ? DrawKind::LineList : DrawKind::TriangleList;
    forEachGroup(primitive, vertices,
                 [&](const Vertex* group, std::size_t size, std::size_t provoking) {
                     if (primitive == Primitive::Lines) {
                         emit(batch, group, provoking, {0, 1}, shading);
                         return;
                     }
                     if (primitive == Primitive::LineLoop) {
                         for (std::size_t i = 0; i < size; ++i) {
                             emit(batch, group, provoking, {i, (i + 1) % size}, shading);
                         }
                         return;
                     }
                     // The corners in the order the fixed-function pipeline took them, which
                     // fixes how colours interpolate across the split: a quadrilateral as
                     // 0 1 2 and 0 2 3 (0 1 3 and 1 2 3 when clipped), a polygon as a fan
                     // closing on its first corner.
                     if (primitive == Primitive::Triangles) {
                         emit(batch, group, provoking, {0, 1, 2}, shading);
                     } else if (primitive == Primitive::Quads && clipping == Clipping::Crossing) {
                         emit(batch, group, provoking, {0, 1, 3, 1, 2, 3}, shading);
                     } else if (primitive == Primitive::Quads) {
                         emit(batch, group, provoking, {0, 1, 2, 0, 2, 3}, shading);
                     } else {
                         for (std::size_t i = 1; i + 1 < size; ++i) {
                             emit(batch, group, provoking, {i, i + 1, 0}, shading);
                         }
                     }
                 });
    return batch;
}

Batch outline(Primitive primitive, const std::vector<Vertex>& vertices, Shading shading) {
    if (primitive == Primitive::Lines || primitive == Primitive::LineLoop) {
        return assemble(primitive, vertices, shading);
    }
    Batch batch;
    batch.kind = DrawKind::LineList;
    forEachGroup(primitive, vertices,
                 [&](const Vertex* group, std::size_t size, std::size_t provoking) {
                     for (std::size_t i = 0; i < size; ++i) {
                         emit(batch, group, provoking, {i, (i + 1) % size}, shading);
                     }
                 });
    return batch;
}

} // namespace gfx
