// Scene 4's tiling geometry: polygon rings around a shared vertex and Penrose tilings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenes/tiling.h"

namespace {

constexpr float side = 0.17f;
constexpr float tolerance = 1e-5f;

PolygonRing builtRing(const std::vector<std::int32_t>& sideCounts) {
    PolygonRing ring(sideCounts, side);
    ring.buildPolygons();
    return ring;
}

float distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

// Twice the signed area: positive for counter-clockwise corners.
float doubledArea(Vec2 a, Vec2 b, Vec2 c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

TEST(PolygonRing, OneSquareStandsOnThePositiveXAxis) {
    const Shape shape = builtRing({4}).toShape();
    EXPECT_EQ(shape.kind, ShapeKind::Polygon);
    const std::vector<Vec2> square = {{0, 0}, {side, 0}, {side, side}, {0, side}};
    ASSERT_EQ(shape.vertices.size(), square.size());
    ASSERT_EQ(shape.colours.size(), square.size());
    for (std::size_t i = 0; i < square.size(); ++i) {
        EXPECT_NEAR(shape.vertices[i].x, square[i].x, tolerance);
        EXPECT_NEAR(shape.vertices[i].y, square[i].y, tolerance);
        EXPECT_EQ(shape.colours[i], colourFromBytes(248, 236, 209));
    }
    EXPECT_TRUE(shape.routes.empty());
}

TEST(PolygonRing, SnubSquareRingIsFiveRegularPolygonsInTheirOwnColours) {
    const PolygonRing ring = builtRing({3, 3, 4, 3, 4});
    ASSERT_EQ(ring.polygons.size(), 5u);
    for (std::size_t k = 0; k < ring.polygons.size(); ++k) {
        SCOPED_TRACE("polygon " + std::to_string(k));
        const std::vector<Vec2>& polygon = ring.polygons[k];
        ASSERT_EQ(polygon.size(), static_cast<std::size_t>(ring.sideCounts[k]));
        EXPECT_EQ(polygon.front(), (Vec2{0, 0}));
        for (std::size_t i = 0; i < polygon.size(); ++i) {
            const Vec2 next = polygon[(i + 1) % polygon.size()];
            EXPECT_NEAR(distance(polygon[i], next), side, tolerance);
        }
        EXPECT_GT(doubledArea(polygon[0], polygon[1], polygon[2]), 0.0f); // counter-clockwise
    }
    // The fifth polygon closes back onto the first edge, on the x axis.
    EXPECT_NEAR(ring.polygons[4].back().x, side, tolerance);
    EXPECT_NEAR(ring.polygons[4].back().y, 0.0f, tolerance);

    const Shape shape = ring.toShape();
    ASSERT_EQ(shape.vertices.size(), 17u);
    ASSERT_EQ(shape.colours.size(), 17u);
    const std::vector<std::size_t> polygonOfVertex = {0, 0, 0, 1, 1, 1, 2, 2, 2,
                                                      2, 3, 3, 3, 4, 4, 4, 4};
    for (std::size_t i = 0; i < polygonOfVertex.size(); ++i) {
        EXPECT_EQ(shape.colours[i], ring.palette[polygonOfVertex[i]]) << "vertex " << i;
    }
    EXPECT_EQ(ring.palette.size(), 7u);
    EXPECT_EQ(ring.palette[4], colourFromBytes(99, 38, 38));
}

TEST(PolygonRing, EveryProductionRingCloses) {
    for (const std::vector<std::int32_t>& counts :
         {std::vector<std::int32_t>{3, 3, 4, 3, 4}, {3, 3, 3, 4, 4}, {3, 3, 3, 3, 6}}) {
        const PolygonRing ring = builtRing(counts);
        const Vec2 closing = ring.polygons.back().back();
        EXPECT_NEAR(closing.x, side, tolerance)
            << "ring of " << counts.size() << " ending in " << counts.back();
        EXPECT_NEAR(closing.y, 0.0f, tolerance);
    }
}

TEST(PolygonRing, RejectsSideCountsItCannotBuildAndMorePolygonsThanColours) {
    EXPECT_THROW(PolygonRing({3, 2, 4}, side), std::invalid_argument);
    EXPECT_THROW(PolygonRing({0}, side), std::invalid_argument);
    EXPECT_THROW(PolygonRing({-4}, side), std::invalid_argument);
    EXPECT_THROW(PolygonRing(std::vector<std::int32_t>(8, 3), side), std::invalid_argument);
    EXPECT_NO_THROW(PolygonRing(std::vector<std::int32_t>(7, 3), side));
}

TEST(PenroseTiling, EachPassSplitsTypeZeroInTwoAndTypeOneInThree) {
    PenroseTiling tiling;
    tiling.makeWheel();
    // Area of the regular decagon of radius 0.25 that the wheel covers; subdivision keeps it.
    const float wheelArea = 5.0f * 0.25f * 0.25f * std::sin(0.6283185f);
    struct Expected {
        std::size_t typeZero, typeOne;
    };
    const Expected byLevel[] = {{10, 0}, {10, 10}, {20, 30}, {50, 80}};
    for (std::size_t level = 0; level < std::size(byLevel); ++level) {
        SCOPED_TRACE("level " + std::to_string(level));
        if (level > 0) {
            tiling.subdivide();
        }
        ASSERT_EQ(tiling.triangleTypes.size(), tiling.triangles.size());
        const std::size_t typeOne =
            std::count(tiling.triangleTypes.begin(), tiling.triangleTypes.end(), 1);
        EXPECT_EQ(tiling.triangles.size(), byLevel[level].typeZero + byLevel[level].typeOne);
        EXPECT_EQ(typeOne, byLevel[level].typeOne);

        float area = 0.0f;
        for (const PenroseTiling::Triangle& t : tiling.triangles) {
            area += std::fabs(doubledArea(t[0], t[1], t[2])) * 0.5f;
        }
        EXPECT_NEAR(area, wheelArea, 1e-5f);
    }
}

TEST(PenroseTiling, WheelFansOutFromTheOriginStartingStraightDown) {
    PenroseTiling tiling;
    tiling.makeWheel();
    ASSERT_EQ(tiling.triangles.size(), 10u);
    EXPECT_NEAR(tiling.triangles[0][1].x, 0.0f, tolerance);
    EXPECT_NEAR(tiling.triangles[0][1].y, -0.25f, tolerance);
    for (const PenroseTiling::Triangle& t : tiling.triangles) {
        EXPECT_EQ(t[0], (Vec2{0, 0}));
        EXPECT_NEAR(distance(t[1], {0, 0}), 0.25f, tolerance);
        EXPECT_NEAR(distance(t[2], {0, 0}), 0.25f, tolerance);
    }
}

TEST(PenroseTiling, EveryTriangleIsTheGoldenTriangleOfItsType) {
    // Both kinds are isosceles at their first corner; the base is 1/phi of a leg for type 0 (the
    // 36 degree triangle) and phi legs for type 1 (the 108 degree one).
    const float phi = (std::sqrt(5.0f) + 1.0f) / 2.0f;
    PenroseTiling tiling;
    tiling.makeWheel();
    for (int pass = 0; pass < 3; ++pass) {
        tiling.subdivide();
    }
    for (std::size_t i = 0; i < tiling.triangles.size(); ++i) {
        const auto [a, b, c] = tiling.triangles[i];
        const float leg = distance(a, b);
        const float baseOverLeg = distance(b, c) / leg;
        EXPECT_NEAR(distance(a, c) / leg, 1.0f, 1e-4f) << "triangle " << i;
        EXPECT_NEAR(baseOverLeg, tiling.triangleTypes[i] == 0 ? 1.0f / phi : phi, 1e-4f)
            << "triangle " << i << " of type " << tiling.triangleTypes[i];
    }
}

TEST(PenroseShape, ColoursFollowTheTriangleTypes) {
    const Colour typeZero = colourFromBytes(243, 233, 221);
    const Colour typeOne = colourFromBytes(183, 202, 219);

    const Shape wheel = makePenroseShape(0);
    EXPECT_EQ(wheel.kind, ShapeKind::Triangles);
    ASSERT_EQ(wheel.vertices.size(), 30u);
    ASSERT_EQ(wheel.colours.size(), 30u);
    for (const Colour& colour : wheel.colours) {
        EXPECT_EQ(colour, typeZero);
    }

    PenroseTiling tiling;
    tiling.makeWheel();
    tiling.subdivide();
    tiling.subdivide();
    const Shape twice = tiling.toShape();
    ASSERT_EQ(twice.colours.size(), 3 * tiling.triangles.size());
    for (std::size_t i = 0; i < tiling.triangles.size(); ++i) {
        const Colour expected = tiling.triangleTypes[i] == 1 ? typeOne : typeZero;
        for (std::size_t corner = 0; corner < 3; ++corner) {
            EXPECT_EQ(twice.colours[3 * i + corner], expected) << "triangle " << i;
            EXPECT_EQ(twice.vertices[3 * i + corner], tiling.triangles[i][corner]);
        }
    }
    EXPECT_EQ(makePenroseShape(2).vertices, twice.vertices);

    const Shape thrice = makePenroseShape(3);
    EXPECT_EQ(thrice.vertices.size(), 390u);
    EXPECT_EQ(thrice.colours.size(), 390u);
    EXPECT_TRUE(thrice.routes.empty());
}

} // namespace
