// Routes and the Shape motion step on an exactly set clock.
#include <gtest/gtest.h>

#include "clock/demo_clock.h"
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

    static void updateAt(BaseRoute& route, double seconds) {
        DemoClock::setManualTime(at(seconds));
        route.update();
    }
    static void stepAt(Shape& shape, double seconds) {
        DemoClock::setManualTime(at(seconds));
        stepShape(shape);
    }
};

TEST_F(RouteTest, LinearSnapsWithinThirtyMillisecondsAndIsNotClamped) {
    Route route({0, 0}, {2, 4}, 0, 90, 1.0f);
    route.start();
    updateAt(route, 0.96);
    EXPECT_NEAR(route.currentX, 1.92f, 1e-5);
    updateAt(route, 0.98);
    EXPECT_EQ(route.currentY, 4.0f);
    EXPECT_EQ(route.currentAngle, 90.0f);
    updateAt(route, 1.5);
    EXPECT_NEAR(route.currentX, 3.0f, 1e-5);
}

TEST_F(RouteTest, BezierSnapsWithinFiftyMillisecondsAndBendsTowardsItsControl) {
    QuadraticBezierRoute route({0, 0}, {2, 0}, {1, 2}, 1.0f);
    route.start();
    updateAt(route, 0.5);
    EXPECT_NEAR(route.currentY, 1.0f, 1e-6);
    updateAt(route, 0.94);
    EXPECT_NEAR(route.currentX, 1.88f, 1e-5);
    updateAt(route, 0.96);
    EXPECT_EQ(route.currentX, 2.0f);
    EXPECT_EQ(route.currentY, 0.0f);
}

TEST_F(RouteTest, ChainHandsOverInTheFrameAfterTheEndWithoutMovingAndCopiesKeepTheState) {
    Shape shape = makeSquareShape({1, 0, 0}, {0, 0}, {1, 0}, 0, 90, 1.0f, 0.3f);
    shape.routes.emplace_back(Vec2{1, 0}, Vec2{1, 1}, 90, 180, 1.0f);
    shape.routes[0].start();
    stepAt(shape, 0.99);
    stepAt(shape, 1.01);
    EXPECT_EQ(shape.routeIndex, 1u);
    EXPECT_EQ(shape.routes[1].startTicks, at(1.01));
    EXPECT_EQ(shape.x, 1.0f);
    EXPECT_EQ(shape.angle, 90.0f);

    stepAt(shape, 1.51);
    const Shape copy = shape; // copies carry start ticks and current values
    EXPECT_EQ(copy.routes[1].startTicks, at(1.01));
    EXPECT_NEAR(copy.routes[1].currentY, 0.5f, 1e-5);
    stepAt(shape, 2.0);
    stepAt(shape, 9.0); // after the last route the Shape keeps its place
    EXPECT_EQ(shape.y, 1.0f);
}

} // namespace
