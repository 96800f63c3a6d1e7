// Tiling geometry of the credits Scene: rings of regular polygons and Penrose tilings.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "shapes/geometry.h"
#include "shapes/shape.h"

// Regular polygons laid edge to edge around one shared vertex at the origin.
struct PolygonRing {
    // Throws std::invalid_argument for a side count below 3 or more polygons than palette colours.
    PolygonRing(const std::vector<std::int32_t>& sideCounts, float sideLength);

    void buildPolygons();
    // One polygon Shape, every vertex in its polygon's palette colour.
    Shape toShape() const;

    std::vector<std::int32_t> sideCounts;
    std::vector<std::vector<Vec2>> polygons;
    float sideLength = 0.0f;
    std::vector<Colour> palette;
};

// A Penrose rhombus tiling grown by subdividing Robinson triangles from a wheel of ten.
struct PenroseTiling {
    using Triangle = std::array<Vec2, 3>;

    void makeWheel();
    void subdivide();
    // One triangle Shape in the two tile colours.
    Shape toShape() const;

    std::int32_t level = 0;
    std::vector<Triangle> triangles;
    std::vector<std::int32_t> triangleTypes;
};

// A wheel subdivided `level` times, as a Shape.
Shape makePenroseShape(std::int32_t level);
