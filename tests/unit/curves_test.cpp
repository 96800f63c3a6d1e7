// The recursive curves: replacement rules, pass counts and the arrowhead's alternating bend.
#include <gtest/gtest.h>

#include <vector>

#include "curves/curves.h"
#include "curves/sf_curve.h"

namespace {

constexpr float rise = 0.8660254f; // the height of an equilateral triangle of side 1
constexpr float sixtyDegrees = 1.0471976f;

// One replacement pass of `curve` over `segment`, compared with x0, y0, x1, y1 of every
// expected segment in drawing order.
void expectFirstPass(SFCurve& curve, Segment segment, const std::vector<float>& expected) {
    curve.segments = {segment};
    curve.step();
    ASSERT_EQ(curve.segments.size() * 4, expected.size());
    for (std::size_t i = 0; i < curve.segments.size(); ++i) {
        const Segment& s = curve.segments[i];
        const float actual[] = {s.x0, s.y0, s.x1, s.y1};
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_NEAR(actual[k], expected[4 * i + k], 1e-6f) << "segment " << i;
        }
    }
}

std::size_t segmentCount(CurveType type, std::int32_t iterations) {
    return makeCurveShape(type, iterations, {0, 0}, {0, 0}, 0, 0, 1).vertices.size() / 2;
}

TEST(CurveRules, FirstPassesReplaceEachSegmentInDrawingOrder) {
    Snowflake snowflake;
    expectFirstPass(snowflake, {0, 0, 3, 0},
                    {0, 0, 1, 0, 1, 0, 1.5f, rise, 1.5f, rise, 2, 0, 2, 0, 3, 0});
    SFCustom custom;
    expectFirstPass(custom, {0, 0, 3, 0}, {0, 0,    1, 0,    1, -0.5f, 1, 0.5f, 1, -0.5f, 2, -0.5f,
                                           1, 0.5f, 2, 0.5f, 2, -0.5f, 2, 0.5f, 2, 0,     3, 0});
    HeighwayDragon dragon;
    expectFirstPass(dragon, {0, 0, 1, 0}, {0, 0, 0.5f, 0.5f, 1, 0, 0.5f, 0.5f});
    Arrowhead arrowhead;
    expectFirstPass(arrowhead, {0, 0, 2, 0},
                    {0, 0, 0.5f, -rise, 0.5f, -rise, 1.5f, -rise, 1.5f, -rise, 2, 0});
}

TEST(CurveRules, PassesMultiplyTheSegmentCountAndUnknownTypesMakeNoCurve) {
    std::size_t twoK = 1, threeK = 1, fourK = 1, sixK = 1;
    for (std::int32_t k = 0; k <= 5; ++k) {
        SCOPED_TRACE(testing::Message() << "iterations " << k);
        EXPECT_EQ(segmentCount(curveHeighwayDragon, k), twoK);
        EXPECT_EQ(segmentCount(curveArrowhead, k), threeK);
        EXPECT_EQ(segmentCount(curveSnowflake, k), 3 * fourK);
        EXPECT_EQ(segmentCount(curveCustom, k), sixK);
        twoK *= 2, threeK *= 3, fourK *= 4, sixK *= 6;
    }
    EXPECT_EQ(segmentCount(-1, 3), 0u); // unknown types make no curve
    EXPECT_EQ(segmentCount(4, 3), 0u);
}

TEST(CurveRules, ArrowheadBendCarriesOverBetweenPasses) {
    Arrowhead arrowhead;
    arrowhead.segments = arrowhead.initialSegments();
    arrowhead.step(); // one segment expanded: the bend flipped once, to +60 degrees
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, sixtyDegrees);
    arrowhead.step(); // three more: a bend reset to -60 degrees per pass would end at +60
    EXPECT_FLOAT_EQ(arrowhead.turningAngle, -sixtyDegrees);
}

} // namespace
