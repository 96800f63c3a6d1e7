// The particle dissolves' destination, flight-time and bend rules, and the curtain's descent.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <utility>

#include "transitions/curtain.h"
#include "transitions/outro_rules.h"

namespace {

constexpr int width = 640;
constexpr int height = 480;

using Point = std::pair<float, float>;
Point asPair(Vec2 v) {
    return {v.x, v.y};
}

// The step index k of a time k * T / steps, or -1 when the time is not such a multiple.
int stepIndex(float duration, float time, int steps) {
    const float k = duration / time * static_cast<float>(steps);
    const float nearest = std::round(k);
    return std::fabs(k - nearest) < 1e-3f ? static_cast<int>(nearest) : -1;
}

// How many values of rand() a call consumed, told by where the sequence continues.
template <typename Call> int randDraws(Call call) {
    constexpr unsigned seed = 1234;
    std::srand(seed);
    call();
    const int next = std::rand();
    for (int draws = 0; draws < 4; ++draws) {
        std::srand(seed);
        for (int i = 0; i < draws; ++i) {
            std::rand();
        }
        if (std::rand() == next) {
            return draws;
        }
    }
    return -1;
}

TEST(CornerTarget, SendsEachQuadrantToItsCornerWithTiesGoingLeftAndDown) {
    EXPECT_EQ(asPair(cornerTarget(320, 100, width, height)), Point(0, 0));
    EXPECT_EQ(asPair(cornerTarget(321, 240, width, height)), Point(639, 479));
    EXPECT_EQ(asPair(cornerTarget(321, 239, width, height)), Point(639, 0));
    EXPECT_EQ(asPair(cornerTarget(320, 240, width, height)), Point(0, 479));
    EXPECT_EQ(asPair(cornerTarget(0, 0, width, height)), Point(0, 0));
    EXPECT_EQ(asPair(cornerTarget(639, 479, width, height)), Point(639, 479));
    EXPECT_EQ(asPair(cornerTarget(10, 479, width, height)), Point(0, 479));
}

TEST(LeftEdgeTarget, KeepsTheRow) {
    EXPECT_EQ(asPair(leftEdgeTarget(500, 123, width, height)), Point(0, 123));
    EXPECT_EQ(asPair(leftEdgeTarget(0, 479, width, height)), Point(0, 479));
}

TEST(GridTarget, SendsEachPixelToTheCentreOfItsCellInAFiveByFiveGrid) {
    EXPECT_EQ(asPair(gridTarget(127, 95, width, height)), Point(64, 48));
    EXPECT_EQ(asPair(gridTarget(128, 96, width, height)), Point(192, 144));
    EXPECT_EQ(asPair(gridTarget(0, 0, width, height)), Point(64, 48));
    EXPECT_EQ(asPair(gridTarget(639, 479, width, height)), Point(576, 432));

    std::set<float> columns;
    std::set<float> rows;
    for (int x = 0; x < width; ++x) {
        const Vec2 end = gridTarget(x, 0, width, height);
        EXPECT_LE(std::fabs(end.x - static_cast<float>(x)), 64.0f) << x;
        columns.insert(end.x);
    }
    for (int y = 0; y < height; ++y) {
        const Vec2 end = gridTarget(0, y, width, height);
        EXPECT_LE(std::fabs(end.y - static_cast<float>(y)), 48.0f) << y;
        rows.insert(end.y);
    }
    EXPECT_EQ(columns, (std::set<float>{64, 192, 320, 448, 576}));
    EXPECT_EQ(rows, (std::set<float>{48, 144, 240, 336, 432}));

    // The cell size is fixed by the first use and kept.
    EXPECT_EQ(asPair(gridTarget(127, 95, 320, 240)), Point(64, 48));
}

TEST(EdgeTarget, GoesStraightAcrossToEachOfTheFourEdges) {
    const std::set<Point> edges{{100, 0}, {639, 200}, {100, 479}, {0, 200}};
    std::set<Point> seen;
    std::srand(7);
    for (int i = 0; i < 400; ++i) {
        const Point end = asPair(edgeTarget(100, 200, width, height));
        EXPECT_EQ(edges.count(end), 1u) << end.first << ", " << end.second;
        seen.insert(end);
    }
    EXPECT_EQ(seen, edges);
}

TEST(FlightTime, RandomDurationIsAMultipleOfTOver255BelowT) {
    constexpr float time = 5.51f;
    std::set<int> steps;
    std::srand(11);
    for (int i = 0; i < 20000; ++i) {
        const float duration = randomDuration(time);
        const int k = stepIndex(duration, time, 255);
        ASSERT_GE(k, 0) << duration;
        ASSERT_LE(k, 254) << duration;
        steps.insert(k);
    }
    EXPECT_EQ(steps.size(), 255u);
}

TEST(FlightTime, CoarseDurationIsAMultipleOfTOver21BelowT) {
    constexpr float time = 3.91f;
    std::set<int> steps;
    std::srand(13);
    for (int i = 0; i < 2000; ++i) {
        const float duration = coarseDuration(time);
        const int k = stepIndex(duration, time, 21);
        ASSERT_GE(k, 0) << duration;
        ASSERT_LE(k, 20) << duration;
        steps.insert(k);
    }
    EXPECT_EQ(steps.size(), 21u);
}

TEST(BendControlPoint, TurnsHalfTheFlightBySixtyDegreesToEitherSide) {
    const Vec2 start{10, 20};
    const Vec2 end{110, 20};
    const float rise = 50.0f * std::sin(1.0471976f);
    int above = 0;
    int below = 0;
    std::srand(17);
    for (int i = 0; i < 200; ++i) {
        const Vec2 control = bendControlPoint(start, end);
        EXPECT_NEAR(control.x, 35.0f, 1e-4f);
        ASSERT_NEAR(std::fabs(control.y - 20.0f), rise, 1e-4f);
        (control.y > 20.0f ? above : below) += 1;
    }
    EXPECT_GT(above, 0);
    EXPECT_GT(below, 0);

    // Any direction: the control point lies half the flight from the start, 60 degrees off it.
    std::srand(19);
    const Vec2 from{300, 40};
    const Vec2 to{120, 400};
    for (int i = 0; i < 20; ++i) {
        const Vec2 control = bendControlPoint(from, to);
        const float hx = (to.x - from.x) * 0.5f, hy = (to.y - from.y) * 0.5f;
        const float cx = control.x - from.x, cy = control.y - from.y;
        const float half = std::hypot(hx, hy);
        EXPECT_NEAR(std::hypot(cx, cy), half, 1e-3f);
        EXPECT_NEAR((hx * cx + hy * cy) / (half * half), 0.5f, 1e-5f);
    }
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

TEST(CurtainRows, DescendAtHeightOverFiveAndAHalfRowsPerSecond) {
    EXPECT_EQ(curtainRows(2.75f, 480), 240);
    EXPECT_EQ(curtainRows(0.0f, 480), 0);
    EXPECT_EQ(curtainRows(1.0f, 480), 87); // 87.27 rows, truncated
    EXPECT_EQ(curtainRows(5.5f, 480), 480);
    EXPECT_EQ(curtainRows(9.0f, 480), 480); // never more than the picture
    EXPECT_EQ(curtainRows(-0.5f, 480), 0);
}

} // namespace
