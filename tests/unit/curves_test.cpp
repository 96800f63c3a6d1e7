// The recursive curves: replacement rules, pass counts, the arrowhead's alternating bend and the
// curve Shape builder.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "curves/curves.h"
#include "curves/sf_curve.h"

namespace {

constexpr float tolerance = 1e-6f;
constexpr float sixtyDegrees = 1.0471976f;
constexpr float rootThreeHalves = 0.8660254f;

void expectSegments(const std::vector<Segment>& actual, const std::vector<Segment>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("segment " + std::to_string(i));
        EXPECT_NEAR(actual[i].x0, expected[i].x0, tolerance);
        EXPECT_NEAR(actual[i].y0, expected[i].y0, tolerance);
        EXPECT_NEAR(actual[i].x1, expected[i].x1, tolerance);
        EXPECT_NEAR(actual[i].y1, expected[i].y1, tolerance);
    }
}

// One replacement pass of `curve` over a single segment.
std::vector<Segment> onePass(SFCurve& curve, Segment segment) {
    curve.segments = {segment};
    curve.step();
    return curve.segments;
}

std::size_t segmentCount(CurveType type, std::int32_t iterations) {
    const Shape shape = makeCurveShape(type, iterations, {0, 0}, {0, 0}, 0, 0, 1);
    EXPECT_EQ(shape.vertices.size() % 2, 0u);
    return shape.vertices.size() / 2;
}

TEST(RotatePoint, TurnsCounterClockwiseAboutThePivot) {
    const Vec2 quarter = rotatePoint({1, 0}, {0, 0}, 1.5707964f);
    EXPECT_NEAR(quarter.x, 0.0f, tolerance);
    EXPECT_NEAR(quarter.y, 1.0f, tolerance);

    const Vec2 aboutPivot = rotatePoint({3, 1}, {1, 1}, 1.5707964f);
    EXPECT_NEAR(aboutPivot.x, 1.0f, tolerance);
    EXPECT_NEAR(aboutPivot.y, 3.0f, tolerance);

    const Vec2 backwards = rotatePoint({1, 0}, {0, 0}, -sixtyDegrees);
    EXPECT_NEAR(backwards.x, 0.5f, tolerance);
    EXPECT_NEAR(backwards.y, -rootThreeHalves, tolerance);
}

TEST(CurveRules, FirstPassesReplaceEachSegmentInDrawingOrder) {
    Snowflake snowflake;
    expectSegments(
        onePass(snowflake, {0, 0, 3, 0}),
        {{0, 0, 1, 0}, {1, 0, 1.5f, rootThreeHalves}, {1.5f, rootThreeHalves, 2, 0}, {2, 0, 3, 0}});

    SFCustom custom;
    expectSegments(onePass(custom, {0, 0, 3, 0}), {{0, 0, 1, 0},
                                                   {1, -0.5f, 1, 0.5f},
                                                   {1, -0.5f, 2, -0.5f},
                                                   {1, 0.5f, 2, 0.5f},
                                                   {2, -0.5f, 2, 0.5f},
                                                   {2, 0, 3, 0}});

    HeighwayDragon dragon;
    expectSegments(onePass(dragon, {0, 0, 1, 0}), {{0, 0, 0.5f, 0.5f}, {1, 0, 0.5f, 0.5f}});
    expectSegments(onePass(dragon, {0, 0, 0, 1}), {{0, 0, -0.5f, 0.5f}, {0, 1, -0.5f, 0.5f}});

    Arrowhead arrowhead;
    expectSegments(onePass(arrowhead, {0, 0, 2, 0}),
                   {{0, 0, 0.5f, -rootThreeHalves},
                    {0.5f, -rootThreeHalves, 1.5f, -rootThreeHalves},
                    {1.5f, -rootThreeHalves, 2, 0}});
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, sixtyDegrees);
}

TEST(CurveRules, PassesMultiplyTheSegmentCount) {
    for (std::int32_t k = 0; k <= 5; ++k) {
        SCOPED_TRACE("iterations " + std::to_string(k));
        const auto power = [k](std::size_t base) {
            std::size_t result = 1;
            for (std::int32_t i = 0; i < k; ++i) {
                result *= base;
            }
            return result;
        };
        EXPECT_EQ(segmentCount(curveHeighwayDragon, k), power(2));
        EXPECT_EQ(segmentCount(curveArrowhead, k), power(3));
        EXPECT_EQ(segmentCount(curveSnowflake, k), 3 * power(4));
        EXPECT_EQ(segmentCount(curveCustom, k), power(6));
    }
    EXPECT_EQ(segmentCount(curveHeighwayDragon, 10), 1024u);
}

TEST(CurveRules, ArrowheadBendCarriesOverBetweenPasses) {
    Arrowhead arrowhead;
    arrowhead.segments = arrowhead.initialSegments();
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, -sixtyDegrees);

    arrowhead.step(); // one segment expanded
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, sixtyDegrees);
    // Going up the y axis, a -60 degree bend leans the first piece to the right.
    EXPECT_GT(arrowhead.segments[0].x1, 0.0f);

    const Segment firstOfPassOne = arrowhead.segments[0];
    arrowhead.step(); // three more expanded
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, -sixtyDegrees);
    EXPECT_EQ(arrowhead.segments.size(), 9u);
    // Pass two opened with +60 degrees: its first piece lies left of the segment it replaced.
    const Segment& first = arrowhead.segments[0];
    const float dx = firstOfPassOne.x1 - firstOfPassOne.x0;
    const float dy = firstOfPassOne.y1 - firstOfPassOne.y0;
    EXPECT_GT(dx * (first.y1 - first.y0) - dy * (first.x1 - first.x0), 0.0f);
}

TEST(CurveRules, ZeroIterationsGiveTheStartingFigure) {
    const Shape dragon = makeCurveShape(curveHeighwayDragon, 0, {0, 0}, {0, 0}, 0, 0, 1);
    ASSERT_EQ(dragon.vertices.size(), 2u);
    EXPECT_EQ(dragon.vertices[0], (Vec2{0, 0}));
    EXPECT_EQ(dragon.vertices[1], (Vec2{0, 1}));

    const Shape arrowhead = makeCurveShape(curveArrowhead, 0, {0, 0}, {0, 0}, 0, 0, 1);
    EXPECT_EQ(arrowhead.vertices, dragon.vertices);

    const Shape snowflake = makeCurveShape(curveSnowflake, -1, {0, 0}, {0, 0}, 0, 0, 1);
    ASSERT_EQ(snowflake.vertices.size(), 6u);
    const std::vector<Vec2> triangle = {
        {1, 0}, {0, 0}, {0, 0}, {0.5f, rootThreeHalves}, {0.5f, rootThreeHalves}, {1, 0}};
    for (std::size_t i = 0; i < triangle.size(); ++i) {
        EXPECT_NEAR(snowflake.vertices[i].x, triangle[i].x, tolerance);
        EXPECT_NEAR(snowflake.vertices[i].y, triangle[i].y, tolerance);
    }

    const Shape custom = makeCurveShape(curveCustom, 0, {0, 0}, {0, 0}, 0, 0, 1);
    EXPECT_EQ(custom.vertices, (std::vector<Vec2>{{0, 0}, {1.5f, 0}}));
}

TEST(CurveShape, IsALineListOnOneStraightRouteFromItsStart) {
    const Shape shape =
        makeCurveShape(curveSnowflake, 2, {0.25f, -0.5f}, {-0.75f, 0.5f}, 15.0f, 120.0f, 10.0f);
    EXPECT_EQ(shape.kind, ShapeKind::Lines);
    EXPECT_EQ(shape.vertices.size(), 2u * 3u * 16u);
    EXPECT_TRUE(shape.colours.empty());
    EXPECT_EQ(shape.x, 0.25f);
    EXPECT_EQ(shape.y, -0.5f);
    EXPECT_EQ(shape.angle, 0.0f);
    EXPECT_EQ(shape.routeIndex, 0u);

    ASSERT_EQ(shape.routes.size(), 1u);
    const Route& route = shape.routes[0];
    EXPECT_EQ(route.startX, 0.25f);
    EXPECT_EQ(route.startY, -0.5f);
    EXPECT_EQ(route.endX, -0.75f);
    EXPECT_EQ(route.endY, 0.5f);
    EXPECT_EQ(route.startAngle, 15.0f);
    EXPECT_EQ(route.endAngle, 120.0f);
    EXPECT_EQ(route.duration, 10.0f);
    EXPECT_EQ(route.startTicks, 0);
}

TEST(CurveShape, UnknownTypeMakesNoCurveButKeepsTheRoute) {
    for (const CurveType type : {-1, 4}) {
        SCOPED_TRACE("type " + std::to_string(type));
        const Shape shape = makeCurveShape(type, 3, {0.5f, 0.5f}, {1, 1}, 0, 90, 5);
        EXPECT_EQ(shape.kind, ShapeKind::Lines);
        EXPECT_TRUE(shape.vertices.empty());
        EXPECT_EQ(shape.x, 0.5f);
        EXPECT_EQ(shape.y, 0.5f);
        ASSERT_EQ(shape.routes.size(), 1u);
        EXPECT_EQ(shape.routes[0].endAngle, 90.0f);
    }
}

} // namespace
