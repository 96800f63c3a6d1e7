// Routes and the Shape motion step on an exactly set clock.
#include <gtest/gtest.h>

#include "app/demo_clock.h"
#include "shapes/builders.h"
#include "shapes/route.h"
#include "shapes/shape.h"

namespace {

constexpr DemoClock::Ticks base = 1'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

class RouteTest : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }
};

TEST_F(RouteTest, LinearRouteIsUnclampedAndSnapsWithinThirtyMilliseconds) {
    Route route({0, 0}, {2, 4}, 0, 90, 1.0f);
    route.start();
    DemoClock::setManualTime(at(0.5));
    route.update();
    EXPECT_FLOAT_EQ(route.currentX, 1.0f);
    EXPECT_FLOAT_EQ(route.currentY, 2.0f);
    EXPECT_FLOAT_EQ(route.currentAngle, 45.0f);

    DemoClock::setManualTime(at(0.96));
    route.update();
    EXPECT_NE(route.currentX, 2.0f);
    EXPECT_NEAR(route.currentX, 1.92f, 1e-5);

    DemoClock::setManualTime(at(0.98));
    route.update();
    EXPECT_EQ(route.currentX, 2.0f);
    EXPECT_EQ(route.currentY, 4.0f);
    EXPECT_EQ(route.currentAngle, 90.0f);

    DemoClock::setManualTime(at(1.5)); // callers stop before this; the parameter is not clamped
    route.update();
    EXPECT_NEAR(route.currentX, 3.0f, 1e-5);
}

TEST_F(RouteTest, BezierRouteSnapsWithinFiftyMillisecondsAndBendsTowardsItsControl) {
    QuadraticBezierRoute straight({0, 0}, {2, 0}, {1, 0}, 1.0f);
    straight.start();
    DemoClock::setManualTime(at(0.25));
    straight.update();
    EXPECT_NEAR(straight.currentX, 0.5f, 1e-6); // uniform speed on a straight control
    EXPECT_NEAR(straight.currentY, 0.0f, 1e-6);
    DemoClock::setManualTime(at(0.96));
    straight.update();
    EXPECT_EQ(straight.currentX, 2.0f);

    QuadraticBezierRoute bent({0, 0}, {2, 0}, {1, 2}, 1.0f);
    DemoClock::setManualTime(base);
    bent.start();
    DemoClock::setManualTime(at(0.5));
    bent.update();
    EXPECT_NEAR(bent.currentY, 1.0f, 1e-6); // pulled towards (1, 2) without reaching it
    EXPECT_EQ(bent.currentAngle, 0.0f);
}

TEST_F(RouteTest, ChainHandsOverInTheFrameAfterTheEndWithoutMoving) {
    Shape shape = makeSquareShape({1, 0, 0}, {0, 0}, {1, 0}, 0, 90, 1.0f, 0.3f);
    shape.routes.emplace_back(Vec2{1, 0}, Vec2{1, 1}, 90, 180, 1.0f);
    shape.routes[0].start();

    DemoClock::setManualTime(at(0.99));
    stepShape(shape);
    EXPECT_EQ(shape.x, 1.0f);
    EXPECT_EQ(shape.angle, 90.0f);

    DemoClock::setManualTime(at(1.01)); // first route is seen over: hand over, stay put
    stepShape(shape);
    EXPECT_EQ(shape.routeIndex, 1u);
    EXPECT_EQ(shape.routes[1].startTicks, at(1.01));
    EXPECT_EQ(shape.x, 1.0f);
    EXPECT_EQ(shape.y, 0.0f);

    DemoClock::setManualTime(at(1.51));
    stepShape(shape);
    EXPECT_NEAR(shape.y, 0.5f, 1e-5);
    EXPECT_NEAR(shape.angle, 135.0f, 1e-3);

    DemoClock::setManualTime(at(2.0));
    stepShape(shape);
    DemoClock::setManualTime(at(9.0)); // after the last route the Shape keeps its place
    stepShape(shape);
    EXPECT_EQ(shape.routeIndex, 1u);
    EXPECT_EQ(shape.y, 1.0f);
    EXPECT_EQ(shape.angle, 180.0f);
}

TEST_F(RouteTest, CopiesCarryStartTicksAndCurrentValues) {
    Shape shape = makeSquareShape({0, 1, 0}, {0, 0}, {1, 1}, 0, 0, 1.0f, 0.3f);
    shape.routes[0].start();
    DemoClock::setManualTime(at(0.5));
    stepShape(shape);
    const Shape copy = shape;
    EXPECT_EQ(copy.routes[0].startTicks, base);
    EXPECT_EQ(copy.routes[0].currentX, shape.routes[0].currentX);
    EXPECT_EQ(copy.x, 0.5f);
    EXPECT_EQ(copy.vertices, shape.vertices);
}

TEST(SquareShape, HasFourCornersOneColourAndOneRouteWithDeltas) {
    const Shape square =
        makeSquareShape({0.5f, 0.25f, 1}, {0.7f, 0.7f}, {0.3f, 0.3f}, 0, 360, 1.5f, 0.3f);
    EXPECT_EQ(square.kind, ShapeKind::Quads);
    const std::vector<Vec2> corners{{-0.3f, -0.3f}, {0.3f, -0.3f}, {0.3f, 0.3f}, {-0.3f, 0.3f}};
    EXPECT_EQ(square.vertices, corners);
    ASSERT_EQ(square.colours.size(), 1u);
    ASSERT_EQ(square.routes.size(), 1u);
    EXPECT_FLOAT_EQ(square.routes[0].deltaX, 0.3f - 0.7f);
    EXPECT_FLOAT_EQ(square.routes[0].deltaAngle, 360.0f);
    EXPECT_EQ(square.x, 0.0f);
    EXPECT_EQ(square.angle, 0.0f);
}

TEST(DemoClockTest, ElapsedSecondsAreSignedTickDifferences) {
    EXPECT_FLOAT_EQ(DemoClock::secondsBetween(0, 15'000'000), 1.5f);
    EXPECT_FLOAT_EQ(DemoClock::secondsBetween(20'000'000, 10'000'000), -1.0f);
    const DemoClock::Ticks a = DemoClock::now();
    const DemoClock::Ticks b = DemoClock::now();
    EXPECT_LE(a, b); // the real source is monotonic
}

} // namespace
