// Scenes 4 and 5's geometry: polygon rings, Penrose tilings and the custom curve's boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
#include <vector>

#include "curves/sf_curve.h"
#include "scenes/custom_boxes.h"
#include "scenes/tiling.h"

namespace {

TEST(PolygonRing, PolygonsTurnCounterClockwiseAboutTheOriginAndTheRingsClose) {
    PolygonRing square({4}, 0.17f);
    square.buildPolygons();
    const std::vector<Vec2>& corners = square.polygons[0]; // (0, 0), (0.17, 0) and then:
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_NEAR(std::hypot(corners[2].x - 0.17f, corners[2].y - 0.17f), 0, 1e-6);
    EXPECT_NEAR(std::hypot(corners[3].x, corners[3].y - 0.17f), 0, 1e-6);
    for (const std::vector<std::int32_t>& counts :
         {std::vector<std::int32_t>{3, 3, 4, 3, 4}, {3, 3, 3, 4, 4}, {3, 3, 3, 3, 6}}) {
        PolygonRing ring(counts, 0.17f);
        ring.buildPolygons();
        EXPECT_NEAR(ring.polygons.back().back().x, 0.17f, 1e-5); // back onto the first edge
        EXPECT_NEAR(ring.polygons.back().back().y, 0.0f, 1e-5);
        EXPECT_EQ(ring.toShape().colours.size(), std::accumulate(counts.begin(), counts.end(), 0u));
    }
}

// The angle of a triangle at its first corner, in whole degrees.
long angleAtFirstCorner(const PenroseTiling::Triangle& t) {
    const double ux = t[1].x - t[0].x, uy = t[1].y - t[0].y;
    const double vx = t[2].x - t[0].x, vy = t[2].y - t[0].y;
    return std::lround(std::atan2(std::fabs(ux * vy - uy * vx), ux * vx + uy * vy) * 180 / M_PI);
}

// Type 0 is the thin half-rhombus with 36 degrees at its first corner, type 1 the wide one with
// 108: a split that types its parts the wrong way shows here, whatever the counts.
TEST(PenroseTiling, PassesSplitType0InTwoAndType1InThreeEachPartOfItsShapeAndColour) {
    PenroseTiling tiling;
    tiling.makeWheel();
    for (const auto& [total, typeOne] :
         {std::pair<std::size_t, long>{10, 0}, {20, 10}, {50, 30}, {130, 80}}) {
        ASSERT_EQ(std::pair(tiling.triangles.size(), tiling.triangleTypes.size()),
                  std::pair(total, total));
        EXPECT_EQ(std::count(tiling.triangleTypes.begin(), tiling.triangleTypes.end(), 1), typeOne);
        for (std::size_t i = 0; i < total; ++i) {
            EXPECT_EQ(angleAtFirstCorner(tiling.triangles[i]), tiling.triangleTypes[i] ? 108 : 36)
                << "triangle " << i << " of " << total;
        }
        tiling.subdivide();
    }
    const std::vector<Colour> colours = makePenroseShape(3).colours;
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colourFromBytes(183, 202, 219)), 3 * 80);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colourFromBytes(243, 233, 221)), 3 * 50);
}

TEST(CustomBoxes, EachGroupOfTwelvePointsGivesAFlatQuadABoxAndAFlatQuad) {
    Shape shape = makeCurveShape(curveCustom, 3, {-1.0f, 0.2f}, {-1.0f, 0.2f}, 0, 0, 10.0f);
    fillCustomBoxes(shape);
    EXPECT_EQ(shape.kind, ShapeKind::Quads);
    ASSERT_EQ(shape.vertices.size(), 36u * 12);
    // The first last-pass segment runs from (0, 0) to (6, 0) in 36ths; its box turns
    // counter-clockwise from the bottom left.
    const float expected[] = {0, 0, 2, 0, 2, 0, 0, 0, 2, -1, 4, -1,
                              4, 1, 2, 1, 4, 0, 6, 0, 6, 0,  4, 0};
    for (std::size_t v = 0; v < 12; ++v) {
        EXPECT_NEAR(shape.vertices[v].x * 36, expected[2 * v], 1e-4f) << "vertex " << v;
        EXPECT_NEAR(shape.vertices[v].y * 36, expected[2 * v + 1], 1e-4f) << "vertex " << v;
    }

    shape.vertices.resize(11);
    fillCustomBoxes(shape);
    EXPECT_TRUE(shape.vertices.empty());
}

} // namespace
