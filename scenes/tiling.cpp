// Rings of regular polygons around a shared vertex, and Penrose tilings grown from a wheel.
#include "scenes/tiling.h"

#include <cmath>
#include <stdexcept>
#include <string>

#include "curves/sf_curve.h"

namespace {

constexpr std::array<Colour, 7> ringPalette = {
    colourFromBytes(248, 236, 209), colourFromBytes(222, 182, 171), colourFromBytes(172, 125, 136),
    colourFromBytes(133, 88, 111),  colourFromBytes(99, 38, 38),    colourFromBytes(157, 83, 83),
    colourFromBytes(191, 139, 103),
};

constexpr Colour typeOneColour = colourFromBytes(183, 202, 219);
constexpr Colour typeZeroColour = colourFromBytes(243, 233, 221);

constexpr double pi = 3.14159265358979323846;
constexpr float wheelStep = 0.6283185f; // 36 degrees
constexpr float wheelRadius = 0.25f;

// The exterior turn of a regular n-gon, clockwise, as the ring's walk applies it.
float turningAngle(std::int32_t sideCount) {
    const float interiorDegrees = static_cast<float>((sideCount - 2) * 180 / sideCount);
    return static_cast<float>(-static_cast<double>(interiorDegrees / 180.0f) * pi);
}

// The point at fraction `g` of the way from `base` to `towards`.
Vec2 between(Vec2 base, Vec2 towards, float g) {
    return {(towards.x - base.x) * g + base.x, (towards.y - base.y) * g + base.y};
}

struct Subdivision {
    std::vector<PenroseTiling::Triangle> triangles;
    std::vector<std::int32_t> types;
};

// Splits one Robinson triangle by the golden ratio: a type-0 triangle into two, a type-1 into
// three.
Subdivision subdivideTriangle(const PenroseTiling::Triangle& triangle, std::int32_t type) {
    const float g = 1.0f / ((static_cast<float>(std::sqrt(5.0)) + 1.0f) / 2.0f);
    const auto [a, b, c] = triangle;
    if (type == 0) {
        const Vec2 p = between(a, b, g);
        return {{{c, p, b}, {p, c, a}}, {0, 1}};
    }
    const Vec2 q = between(b, a, g);
    const Vec2 r = between(b, c, g);
    return {{{r, c, a}, {q, r, b}, {r, q, a}}, {1, 1, 0}};
}

} // namespace

PolygonRing::PolygonRing(const std::vector<std::int32_t>& sideCounts_, float sideLength_)
    : sideCounts(sideCounts_), sideLength(sideLength_),
      palette(ringPalette.begin(), ringPalette.end()) {
    for (const std::int32_t sideCount : sideCounts) {
        if (sideCount < 3) {
            throw std::invalid_argument("PolygonRing: side count " + std::to_string(sideCount) +
                                        " is below 3");
        }
    }
    if (sideCounts.size() > palette.size()) {
        throw std::invalid_argument("PolygonRing: " + std::to_string(sideCounts.size()) +
                                    " polygons but only " + std::to_string(palette.size()) +
                                    " palette colours");
    }
}

void PolygonRing::buildPolygons() {
    Vec2 previous{0.0f, 0.0f};
    Vec2 current{sideLength, 0.0f};
    for (const std::int32_t sideCount : sideCounts) {
        const float turn = turningAngle(sideCount);
        std::vector<Vec2> points{previous, current};
        for (std::int32_t corner = 0; corner < sideCount - 2; ++corner) {
            const Vec2 next = rotatePoint(previous, current, turn);
            points.push_back(next);
            previous = current;
            current = next;
        }
        // The next polygon stands on this one's closing edge, walked the other way, so every
        // polygon starts at the shared vertex.
        previous = points.front();
        current = points.back();
        polygons.push_back(std::move(points));
    }
}

Shape PolygonRing::toShape() const {
    Shape ring;
    ring.kind = ShapeKind::Polygon;
    for (std::size_t index = 0; index < polygons.size(); ++index) {
        for (const Vec2 point : polygons[index]) {
            ring.vertices.push_back(point);
            ring.colours.push_back(palette[index]);
        }
    }
    return ring;
}

void PenroseTiling::makeWheel() {
    constexpr Vec2 centre{0.0f, 0.0f};
    const Vec2 first{0.0f, -wheelRadius};
    triangles = {{centre, first, rotatePoint(first, centre, wheelStep)}};
    // Every second sector is mirrored so that neighbouring triangles share their long sides.
    for (int i = 0; i < 9; ++i) {
        const auto [o, b, c] = triangles.back();
        if (i % 2 == 0) {
            triangles.push_back({o, rotatePoint(c, centre, wheelStep), c});
        } else {
            triangles.push_back({o, b, rotatePoint(b, centre, wheelStep)});
        }
    }
    triangleTypes.assign(triangles.size(), 0);
}

void PenroseTiling::subdivide() {
    std::vector<Triangle> nextTriangles;
    std::vector<std::int32_t> nextTypes;
    for (std::size_t index = 0; index < triangles.size(); ++index) {
        const Subdivision parts = subdivideTriangle(triangles[index], triangleTypes[index]);
        nextTriangles.insert(nextTriangles.end(), parts.triangles.begin(), parts.triangles.end());
        nextTypes.insert(nextTypes.end(), parts.types.begin(), parts.types.end());
    }
    triangles = std::move(nextTriangles);
    triangleTypes = std::move(nextTypes);
}

Shape PenroseTiling::toShape() const {
    Shape tiling;
    tiling.kind = ShapeKind::Triangles;
    for (std::size_t index = 0; index < triangles.size(); ++index) {
        const Colour colour = triangleTypes[index] == 1 ? typeOneColour : typeZeroColour;
        for (const Vec2 point : triangles[index]) {
            tiling.vertices.push_back(point);
            tiling.colours.push_back(colour);
        }
    }
    return tiling;
}

Shape makePenroseShape(std::int32_t level) {
    PenroseTiling tiling;
    tiling.level = level;
    tiling.makeWheel();
    for (std::int32_t pass = 0; pass < tiling.level; ++pass) {
        tiling.subdivide();
    }
    return tiling.toShape();
}
