// Batching immediate-mode vertices into what buffers draw: triangle lists and line lists, and
// the outlines of wireframe polygons.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "gfx/matrix.h"

namespace gfx {

enum class Primitive : std::uint8_t {
    Lines,     // each pair of vertices is one segment
    LineLoop,  // a closed outline through every vertex
    Triangles, // each three vertices are one triangle
    Quads,     // each four vertices are one quadrilateral, filled as two triangles
    Polygon,   // one convex polygon, filled as a fan from its first vertex
};

enum class Shading : std::uint8_t { Smooth, Flat };

// One vertex as the layer's shaders read it. `lightFrom` and `colour` are the position and
// colour the vertex is lit with: its own, or under flat shading those of the primitive's
// provoking vertex.
struct Vertex {
    std::array<float, 3> position{};
    std::array<float, 3> lightFrom{};
    std::array<float, 4> colour{1, 1, 1, 1};
    std::array<float, 2> texCoord{};
};

// What the buffer draws: every three vertices a triangle, or every two a line.
enum class DrawKind : std::uint8_t { TriangleList, LineList };

struct Batch {
    DrawKind kind = DrawKind::TriangleList;
    std::vector<Vertex> vertices;
};

// Where a draw's vertices lie against the view volume. The fixed-function pipeline sent a draw
// with any vertex outside it through its clipping stage, which splits a quadrilateral as 0 1 3
// and 1 2 3 where the rasteriser otherwise took 0 1 2 and 0 2 3; colours and texture coordinates
// interpolate across that split, so the layer splits as it did.
enum class Clipping : std::uint8_t { Inside, Crossing };

// Crossing when any vertex, carried into clip coordinates by `toClip`, has an x, y or z beyond
// -w..w; a vertex on the boundary is inside.
Clipping clippingOf(const Mat4& toClip, const std::vector<Vertex>& vertices);

// Turns the vertices given between begin and end into triangles or lines. Incomplete primitives
// are dropped, as the fixed-function pipeline dropped them. Under flat shading every vertex of a
// primitive takes the provoking vertex's colour and light position: the last of a line, triangle
// or quadrilateral, the first of a polygon. Quadrilaterals split by `clipping`.
Batch assemble(Primitive primitive, const std::vector<Vertex>& vertices, Shading shading,
               Clipping clipping = Clipping::Inside);

// The edges a polygon mode of lines drew for the given filled primitive: each triangle's,
// quadrilateral's or polygon's own outline, never the inner edges of its triangulation; lines
// stay as they are. Shading as for assemble.
Batch outline(Primitive primitive, const std::vector<Vertex>& vertices, Shading shading);

} // namespace gfx
