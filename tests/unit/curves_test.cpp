// The recursive curves: each rule's first pass to the last bit; the arrowhead's bend alternates.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "curves/curves.h"
#include "curves/sf_curve.h"

namespace {

// Single-precision steps, each rounded as the rules write them.
const auto add = [](Vec2 a, Vec2 b) { return Vec2{a.x + b.x, a.y + b.y}; };
const auto times = [](Vec2 v, float f) { return Vec2{v.x * f, v.y * f}; };
const auto turned = [](Vec2 v, float radians) { return rotatePoint(v, {0, 0}, radians); };

// A slanted segment, on which every rounding of the rules shows in the last bits.
constexpr Vec2 p{0.1f, 0.2f}, q{1.1f, 0.3f};
constexpr Vec2 d{q.x - p.x, q.y - p.y};
constexpr Vec2 e{d.x / 3, d.y / 3};

// One pass of `curve` over p -> q against the expected segments' ends, bit for bit.
void expectFirstPass(SFCurve& curve, const std::vector<Vec2>& expected) {
    curve.segments = {{p.x, p.y, q.x, q.y}};
    curve.step();
    ASSERT_EQ(curve.segments.size() * 2, expected.size());
    for (std::size_t i = 0; i < curve.segments.size(); ++i) {
        const Segment& s = curve.segments[i];
        EXPECT_EQ((Vec2{s.x0, s.y0}), expected[2 * i]) << "start of segment " << i;
        EXPECT_EQ((Vec2{s.x1, s.y1}), expected[2 * i + 1]) << "end of segment " << i;
    }
}

TEST(CurveRules, FirstPassesGiveTheRulesSegmentsToTheLastBit) {
    Snowflake snowflake; // a bump of a third raised on the left of the middle third
    const Vec2 a = add(p, e), b = add(add(e, e), p), apex = add(a, turned(e, 1.0471976f));
    expectFirstPass(snowflake, {p, a, a, apex, apex, b, b, q});

    SFCustom custom; // a square across the middle third, resuming at the middle of its far side
    const Vec2 nearRight = add(a, turned(times(e, 0.5f), -1.5707964f));
    const Vec2 nearLeft = add(a, turned(times(e, 0.5f), 1.5707964f));
    const Vec2 farRight = add(nearRight, e), farLeft = add(nearLeft, e);
    expectFirstPass(custom, {p, a, nearRight, nearLeft, nearRight, farRight, nearLeft, farLeft,
                             farRight, farLeft, times(add(farRight, farLeft), 0.5f), q});

    HeighwayDragon dragon; // two legs to one apex; the scale 1 / sqrt 2 is taken in double
    const double k = 1.0 / static_cast<float>(std::sqrt(2.0));
    const Vec2 m{p.x + static_cast<float>(d.x * k), p.y + static_cast<float>(d.y * k)};
    const Vec2 apexFromEnd = rotatePoint(m, p, 2.3561945f);
    expectFirstPass(dragon, {p, rotatePoint(m, p, 0.7853982f), q,
                             add(q, Vec2{apexFromEnd.x - p.x, apexFromEnd.y - p.y})});

    Arrowhead arrowhead; // three half-length legs, the first bent by -60 degrees
    const Vec2 half = times(d, 0.5f), bend = add(p, turned(half, -1.0471976f));
    expectFirstPass(arrowhead, {p, bend, bend, add(bend, half), add(bend, half), q});
    EXPECT_EQ(arrowhead.turningAngle, 1.0471976f); // flipped after each segment, and kept:
    arrowhead.step();                              // three more flips
    EXPECT_EQ(arrowhead.turningAngle, -1.0471976f);
}

} // namespace
