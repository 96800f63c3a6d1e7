// Scene 4's tiling geometry: polygon rings around a shared vertex and Penrose tilings.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <stdexcept>
#include <utility>
#include <vector>

#include "scenes/tiling.h"

namespace {

constexpr float side = 0.17f;

TEST(PolygonRing, ProductionRingsCloseOntoTheFirstEdge) {
    for (const std::vector<std::int32_t>& counts :
         {std::vector<std::int32_t>{3, 3, 4, 3, 4}, {3, 3, 3, 4, 4}, {3, 3, 3, 3, 6}}) {
        SCOPED_TRACE(testing::Message() << "ring ending in " << counts[3] << ", " << counts[4]);
        PolygonRing ring(counts, side);
        ring.buildPolygons();
        const Vec2 closing = ring.polygons.back().back();
        EXPECT_NEAR(closing.x, side, 1e-5f);
        EXPECT_NEAR(closing.y, 0.0f, 1e-5f);

        const Shape shape = ring.toShape();
        const std::size_t corners = std::accumulate(counts.begin(), counts.end(), 0u);
        EXPECT_EQ(shape.vertices.size(), corners);
        EXPECT_EQ(shape.colours.size(), corners);
    }
}

TEST(PolygonRing, RejectsSideCountsBelowThreeAndMorePolygonsThanColours) {
    EXPECT_THROW(PolygonRing({3, 2, 4}, side), std::invalid_argument);
    EXPECT_THROW(PolygonRing(std::vector<std::int32_t>(8, 3), side), std::invalid_argument);
    EXPECT_NO_THROW(PolygonRing(std::vector<std::int32_t>(7, 3), side));
}

TEST(PenroseTiling, EachPassSplitsTypeZeroInTwoAndTypeOneInThreeAndTheShapeColoursByType) {
    PenroseTiling tiling;
    tiling.makeWheel();
    using Counts = std::pair<std::size_t, std::ptrdiff_t>; // all triangles, those of type one
    for (const auto& [total, typeOne] :
         {Counts{10, 0}, Counts{20, 10}, Counts{50, 30}, Counts{130, 80}}) {
        ASSERT_EQ(tiling.triangleTypes.size(), tiling.triangles.size());
        EXPECT_EQ(tiling.triangles.size(), total);
        EXPECT_EQ(std::count(tiling.triangleTypes.begin(), tiling.triangleTypes.end(), 1), typeOne);
        tiling.subdivide();
    }
    const std::vector<Colour> colours = makePenroseShape(3).colours;
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colourFromBytes(183, 202, 219)), 3 * 80);
    EXPECT_EQ(std::count(colours.begin(), colours.end(), colourFromBytes(243, 233, 221)), 3 * 50);
}

} // namespace
