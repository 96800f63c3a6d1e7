// Routes and the Shape motion step on an exactly set clock.
#include <gtest/gtest.h>

#include "shapes/builders.h"
#include "shapes/route.h"
#include "shapes/shape.h"

namespace {

constexpr DemoClock::Ticks base = 1'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7 + 0.5);
}
template <typename Step> void stepAt(double seconds, Step step) {
    DemoClock::setManualTime(at(seconds));
    step();
}

// Ticks made a double, a float, then divided in float: past 2^24 ticks not as dividing first.
TEST(DemoClockTime, RoundsTicksToFloatBeforeDividingFarFromItsStart) {
    constexpr DemoClock::Ticks start = DemoClock::Ticks{1} << 50;
    for (const std::int64_t ticks : {16'777'217LL, 33'554'435LL, 36'000'000'001LL, -16'777'217LL}) {
        const float expected = static_cast<float>(static_cast<double>(ticks)) / 1e7f;
        EXPECT_EQ(DemoClock::secondsBetween(start, start + ticks), expected) << ticks;
    }
}

TEST(Routes, StraightOnesSnapWithin30MsBezierOnesWithin50MsNeitherIsClamped) {
    DemoClock::setManualTime(base);
    Route line({0, 0}, {2, 4}, 0, 90, 1.0f);
    QuadraticBezierRoute curve({0, 0}, {2, 0}, {1, 2}, 1.0f);
    line.start();
    curve.start();
    stepAt(0.5, [&] { curve.update(); });
    EXPECT_NEAR(curve.currentY, 1.0f, 1e-6); // bent half way towards the control point
    stepAt(0.94, [&] { curve.update(); });
    EXPECT_NEAR(curve.currentX, 1.88f, 1e-5);
    stepAt(0.96, [&] { line.update(), curve.update(); });
    EXPECT_NEAR(line.currentX, 1.92f, 1e-5);
    EXPECT_EQ((Vec2{curve.currentX, curve.currentY}), (Vec2{2.0f, 0.0f}));
    stepAt(0.98, [&] { line.update(); });
    EXPECT_EQ((Vec2{line.currentY, line.currentAngle}), (Vec2{4.0f, 90.0f}));
    stepAt(1.5, [&] { line.update(); });
    EXPECT_NEAR(line.currentX, 3.0f, 1e-5);
    DemoClock::setSource(nullptr);
}

TEST(Routes, AChainRunsALegUpToItsEndAndHandsOverInTheNextFrameWithoutMoving) {
    DemoClock::setManualTime(base);
    Shape shape = makeSquareShape({1, 0, 0}, {0, 0}, {1, 0}, 0, 90, 1.0f, 0.3f);
    shape.routes.emplace_back(Vec2{1, 0}, Vec2{1, 1}, 90, 180, 1.0f);
    shape.routes[0].start();
    const auto step = [&shape] { stepShape(shape); };
    stepAt(0.5, step);
    stepAt(1.0, step); // exactly at its end the first leg still runs
    EXPECT_EQ(shape.routeIndex, 0u);
    EXPECT_EQ((Vec2{shape.x, shape.angle}), (Vec2{1.0f, 90.0f}));
    shape.x = -7.0f;
    stepAt(1.0001, step);
    EXPECT_EQ(shape.routeIndex, 1u);
    EXPECT_EQ(shape.routes[1].startTicks, at(1.0001));
    EXPECT_EQ(shape.x, -7.0f) << "the handover frame moves nothing";
    stepAt(2.0, step);
    stepAt(9.0, step); // after the last leg the Shape keeps its place
    EXPECT_EQ((Vec2{shape.y, shape.angle}), (Vec2{1.0f, 180.0f}));
    DemoClock::setSource(nullptr);
}

} // namespace
