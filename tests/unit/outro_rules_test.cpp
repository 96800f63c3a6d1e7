// The particle dissolves' destination, flight-time and bend rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <tuple>
#include <utility>

#include "transitions/outro_rules.h"

namespace {

constexpr int width = 640, height = 480;

using Point = std::pair<float, float>;
Point asPair(Vec2 v) {
    return {v.x, v.y};
}

// How many values of rand() a call consumed (up to 4), told by where the sequence continues.
template <typename Call> int randDraws(Call call) {
    std::srand(1234);
    call();
    const int next = std::rand();
    std::srand(1234);
    int draws = 0;
    while (draws < 4 && std::rand() != next) {
        ++draws;
    }
    return draws;
}

TEST(DestinationRules, CornersTieLeftAndDownGridCellsStayFixedAndEdgesAreStraightAcross) {
    EXPECT_EQ(asPair(cornerTarget(320, 100, width, height)), Point(0, 0));
    EXPECT_EQ(asPair(cornerTarget(321, 240, width, height)), Point(639, 479));
    EXPECT_EQ(asPair(cornerTarget(321, 239, width, height)), Point(639, 0));
    EXPECT_EQ(asPair(cornerTarget(320, 240, width, height)), Point(0, 479));

    EXPECT_EQ(asPair(gridTarget(127, 95, width, height)), Point(64, 48));
    EXPECT_EQ(asPair(gridTarget(128, 96, width, height)), Point(192, 144));
    EXPECT_EQ(asPair(gridTarget(639, 479, width, height)), Point(576, 432));
    EXPECT_EQ(asPair(gridTarget(127, 95, 320, 240)), Point(64, 48));

    std::set<Point> seen;
    std::srand(7);
    for (int i = 0; i < 400; ++i) {
        seen.insert(asPair(edgeTarget(100, 200, width, height)));
    }
    EXPECT_EQ(seen, (std::set<Point>{{100, 0}, {639, 200}, {100, 479}, {0, 200}}));
}

TEST(FlightTime, IsEveryMultipleOfTOverTheStepCountBelowT) {
    for (const auto& [duration, time, steps] :
         {std::tuple{&randomDuration, 5.51f, 255}, std::tuple{&coarseDuration, 3.91f, 21}}) {
        SCOPED_TRACE(testing::Message() << steps << " steps");
        std::set<int> stepsSeen;
        std::srand(11);
        for (int i = 0; i < 20000; ++i) {
            const float k = duration(time) / time * steps;
            ASSERT_NEAR(k, std::round(k), 1e-3f);
            stepsSeen.insert(static_cast<int>(std::round(k)));
        }
        ASSERT_EQ(stepsSeen.size(), static_cast<std::size_t>(steps));
        EXPECT_EQ(std::pair(*stepsSeen.begin(), *stepsSeen.rbegin()), std::pair(0, steps - 1));
    }
}

TEST(BendControlPoint, TurnsHalfTheFlightBySixtyDegreesToEitherSide) {
    const Vec2 from{300, 40}, to{120, 400};
    const float hx = (to.x - from.x) * 0.5f, hy = (to.y - from.y) * 0.5f;
    const float half = std::hypot(hx, hy);
    std::set<bool> leftTurns;
    std::srand(17);
    for (int i = 0; i < 200; ++i) {
        const Vec2 control = bendControlPoint(from, to);
        const float cx = control.x - from.x, cy = control.y - from.y;
        ASSERT_NEAR(std::hypot(cx, cy), half, 1e-3f);
        ASSERT_NEAR((hx * cx + hy * cy) / (half * half), 0.5f, 1e-5f); // cos 60 degrees
        leftTurns.insert(hx * cy - hy * cx > 0);
    }
    EXPECT_EQ(leftTurns.size(), 2u);
}

TEST(OutroRules, RandomRulesDrawOnceAndFixedRulesNever) {
    EXPECT_EQ(randDraws([] { edgeTarget(5, 5, width, height); }), 1);
    EXPECT_EQ(randDraws([] { randomDuration(1.0f); }), 1);
    EXPECT_EQ(randDraws([] { coarseDuration(1.0f); }), 1);
    EXPECT_EQ(randDraws([] { bendControlPoint({0, 0}, {10, 10}); }), 1);
    EXPECT_EQ(randDraws([] { cornerTarget(5, 5, width, height); }), 0);
    EXPECT_EQ(randDraws([] { leftEdgeTarget(5, 5, width, height); }), 0);
    EXPECT_EQ(randDraws([] { gridTarget(5, 5, width, height); }), 0);
}

} // namespace
