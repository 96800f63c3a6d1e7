// Filled boxes from the custom curve: one box across the middle third of every last-pass
// segment, the outer thirds folded flat, leftover points dropped.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "curves/sf_curve.h"
#include "scenes/custom_boxes.h"

namespace {

constexpr float tolerance = 1e-6f;

Vec2 minus(Vec2 a, Vec2 b) {
    return {a.x - b.x, a.y - b.y};
}
Vec2 midpoint(Vec2 a, Vec2 b) {
    return {(a.x + b.x) / 2, (a.y + b.y) / 2};
}
double length(Vec2 v) {
    return std::hypot(v.x, v.y);
}
// Shoelace area of a quad; positive when its corners run counter-clockwise.
double signedArea(const Vec2* q) {
    double twice = 0.0;
    for (int i = 0; i < 4; ++i) {
        const Vec2 a = q[i], b = q[(i + 1) % 4];
        twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
    return twice / 2;
}

#define EXPECT_POINT_NEAR(actual, expected)                                                        \
    do {                                                                                           \
        EXPECT_NEAR((actual).x, (expected).x, tolerance);                                          \
        EXPECT_NEAR((actual).y, (expected).y, tolerance);                                          \
    } while (false)

Shape customCurve(int iterations) {
    return makeCurveShape(curveCustom, iterations, {-1.0f, 0.2f}, {-1.0f, 0.2f}, 0.0f, 0.0f, 10.0f);
}

TEST(CustomBoxesTest, ThreeIterationsGiveThirtySixBoxesAcrossTheMiddleThirds) {
    Shape shape = customCurve(3);
    ASSERT_EQ(shape.vertices.size(), 216u * 2);
    fillCustomBoxes(shape);
    EXPECT_EQ(shape.kind, ShapeKind::Quads);
    ASSERT_EQ(shape.vertices.size(), 36u * 12);
    EXPECT_EQ(shape.x, -1.0f); // the placement and the route stay as they were
    EXPECT_EQ(shape.y, 0.2f);
    EXPECT_EQ(shape.routes.size(), 1u);
    EXPECT_TRUE(shape.colours.empty());

    // The last pass splits 36 segments, each 1.5 / 9 long; every box's side is a third of that.
    const double side = 1.5 / 9 / 3;
    for (int box = 0; box < 36; ++box) {
        SCOPED_TRACE("box " + std::to_string(box));
        const Vec2* q = shape.vertices.data() + 12 * box;
        const Vec2 start = q[0], firstThirdEnd = q[1], lastThirdStart = q[8], end = q[9];
        const Vec2 third = minus(firstThirdEnd, start);
        EXPECT_NEAR(length(third), side, tolerance);

        // The outer thirds cover no area and lie on the segment at its two ends.
        EXPECT_NEAR(signedArea(q), 0.0, 1e-12);
        EXPECT_NEAR(signedArea(q + 8), 0.0, 1e-12);
        EXPECT_POINT_NEAR(minus(end, lastThirdStart), third);
        EXPECT_POINT_NEAR(minus(lastThirdStart, start), (Vec2{2 * third.x, 2 * third.y}));

        // The box: a counter-clockwise square of that side, its near side centred on the end of
        // the first third, its far side on the start of the last, running forward along the line.
        const Vec2* corners = q + 4;
        EXPECT_NEAR(signedArea(corners), side * side, 1e-7);
        for (int c = 0; c < 4; ++c) {
            EXPECT_NEAR(length(minus(corners[(c + 1) % 4], corners[c])), side, tolerance);
        }
        EXPECT_POINT_NEAR(midpoint(corners[0], corners[3]), firstThirdEnd);
        EXPECT_POINT_NEAR(midpoint(corners[1], corners[2]), lastThirdStart);
        EXPECT_POINT_NEAR(minus(corners[1], corners[0]), third);
    }

    // The first segment of the last pass runs from (0, 0) to (1/6, 0).
    const Vec2* first = shape.vertices.data();
    const std::vector<Vec2> expected{{0, 0},
                                     {1 / 18.f, 0},
                                     {1 / 18.f, 0},
                                     {0, 0},
                                     {1 / 18.f, -1 / 36.f},
                                     {1 / 9.f, -1 / 36.f},
                                     {1 / 9.f, 1 / 36.f},
                                     {1 / 18.f, 1 / 36.f},
                                     {1 / 9.f, 0},
                                     {1 / 6.f, 0},
                                     {1 / 6.f, 0},
                                     {1 / 9.f, 0}};
    for (int v = 0; v < 12; ++v) {
        SCOPED_TRACE("vertex " + std::to_string(v));
        EXPECT_POINT_NEAR(first[v], expected[v]);
    }
}

TEST(CustomBoxesTest, PointsAfterTheLastWholeGroupAreDropped) {
    Shape whole = customCurve(1); // one group of twelve points
    ASSERT_EQ(whole.vertices.size(), 12u);
    Shape withLeftovers = whole;
    for (int extra = 0; extra < 11; ++extra) {
        withLeftovers.vertices.push_back({5.0f + extra, 7.0f});
    }
    fillCustomBoxes(whole);
    fillCustomBoxes(withLeftovers);
    ASSERT_EQ(withLeftovers.vertices.size(), 12u);
    for (int v = 0; v < 12; ++v) {
        EXPECT_EQ(withLeftovers.vertices[v], whole.vertices[v]) << "vertex " << v;
    }
}

TEST(CustomBoxesTest, FewerThanTwelvePointsLeaveAQuadShapeWithoutVertices) {
    for (const int count : {0, 1, 2, 11}) {
        Shape shape = customCurve(1);
        shape.vertices.resize(count);
        fillCustomBoxes(shape);
        EXPECT_EQ(shape.kind, ShapeKind::Quads) << count << " points";
        EXPECT_TRUE(shape.vertices.empty()) << count << " points";
    }
}

} // namespace
