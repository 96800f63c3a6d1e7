// Filled boxes from a custom-curve line Shape.
#include "scenes/custom_boxes.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace {

constexpr std::size_t pointsPerGroup = 12;

// Positions within a group of the points each quad takes, in drawing order: the first third
// (p0 p1) folded flat, the box from its near right corner (p2) along its right side (p5), across
// its far side (p9) and back to its near left corner (p3), and the last third (p10 p11) folded.
constexpr std::size_t quadCorners[pointsPerGroup] = {0, 1, 1, 0, 2, 5, 9, 3, 10, 11, 11, 10};

} // namespace

void fillCustomBoxes(Shape& shape) {
    const std::vector<Vec2> points = shape.vertices;
    const std::size_t groups = points.size() / pointsPerGroup;
    std::vector<Vec2> quads;
    quads.reserve(groups * pointsPerGroup);
    for (std::size_t group = 0; group < groups; ++group) {
        const Vec2* first = points.data() + group * pointsPerGroup;
        for (const std::size_t corner : quadCorners) {
            quads.push_back(first[corner]);
        }
    }
    shape.vertices = std::move(quads);
    shape.kind = ShapeKind::Quads;
}
