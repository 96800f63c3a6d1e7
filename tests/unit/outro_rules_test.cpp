// The particle dissolves' destination, flight-time and bend rules, and the random draws they take.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "random/random.h"
#include "transitions/outro_rules.h"

namespace {

constexpr int width = 640, height = 480;

TEST(OutroRules, FixedDestinationsTieLeftAndDownRandomRulesTakeOneNumberEachForItsRemainder) {
    EXPECT_EQ(cornerTarget(320, 100, width, height), (Vec2{0, 0}));
    EXPECT_EQ(cornerTarget(321, 240, width, height), (Vec2{639, 479}));
    EXPECT_EQ(cornerTarget(321, 239, width, height), (Vec2{639, 0}));
    EXPECT_EQ(cornerTarget(320, 240, width, height), (Vec2{0, 479}));
    EXPECT_EQ(leftEdgeTarget(320, 240, width, height), (Vec2{0, 240}));
    EXPECT_EQ(gridTarget(127, 95, width, height), (Vec2{64, 48}));
    EXPECT_EQ(gridTarget(128, 96, width, height), (Vec2{192, 144}));
    EXPECT_EQ(gridTarget(639, 479, width, height), (Vec2{576, 432}));
    EXPECT_EQ(gridTarget(127, 95, 320, 240), (Vec2{64, 48})); // the first size is kept

    // Each random rule takes the next r: edge r mod 4, flight (r mod 255) / 255 T or
    // (r mod 21) / 21 T, bend side r mod 2. The fixed rules take none.
    Random::seed(7);
    std::vector<int> r(4 * 200);
    std::generate(r.begin(), r.end(), Random::draw);
    Random::seed(7);
    const Vec2 edges[] = {{100, 0}, {639, 200}, {100, 479}, {0, 200}};
    const Vec2 from{300, 40}, to{120, 400};
    const double hx = (to.x - from.x) * 0.5, hy = (to.y - from.y) * 0.5;
    for (int i = 0; i < 800; i += 4) {
        EXPECT_EQ(edgeTarget(100, 200, width, height), edges[r[i] % 4]);
        cornerTarget(5, 5, width, height);
        gridTarget(5, 5, width, height);
        EXPECT_EQ(randomDuration(5.51f), static_cast<float>(r[i + 1] % 255) / 255 * 5.51f);
        EXPECT_EQ(coarseDuration(3.91f), static_cast<float>(r[i + 2] % 21) / 21 * 3.91f);
        const double turn = (r[i + 3] % 2 == 1 ? 1 : -1) * M_PI / 3; // to the left when odd
        const Vec2 control = bendControlPoint(from, to);
        EXPECT_NEAR(control.x, from.x + hx * std::cos(turn) - hy * std::sin(turn), 1e-3);
        EXPECT_NEAR(control.y, from.y + hx * std::sin(turn) + hy * std::cos(turn), 1e-3);
    }
}

} // namespace
