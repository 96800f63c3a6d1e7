// Filled boxes from the custom curve: one box across the middle third of every last-pass
// segment, the outer thirds folded flat, leftover points dropped.
#include <gtest/gtest.h>

#include "curves/sf_curve.h"
#include "scenes/custom_boxes.h"

namespace {

Shape customCurve(int iterations) {
    return makeCurveShape(curveCustom, iterations, {-1.0f, 0.2f}, {-1.0f, 0.2f}, 0.0f, 0.0f, 10.0f);
}

TEST(CustomBoxesTest, ThreeIterationsGiveThirtySixBoxesOfThreeQuads) {
    Shape shape = customCurve(3);
    fillCustomBoxes(shape);
    EXPECT_EQ(shape.kind, ShapeKind::Quads);
    ASSERT_EQ(shape.vertices.size(), 36u * 12);

    // The first segment of the last pass runs from (0, 0) to (6, 0) in 36ths: its first third
    // folded flat, the counter-clockwise box across the middle third, the last third folded flat.
    const float expected[] = {0, 0, 2, 0, 2, 0, 0, 0, 2, -1, 4, -1,
                              4, 1, 2, 1, 4, 0, 6, 0, 6, 0,  4, 0};
    for (std::size_t v = 0; v < 12; ++v) {
        EXPECT_NEAR(shape.vertices[v].x * 36, expected[2 * v], 1e-4f) << "vertex " << v;
        EXPECT_NEAR(shape.vertices[v].y * 36, expected[2 * v + 1], 1e-4f) << "vertex " << v;
    }
}

TEST(CustomBoxesTest, FewerThanTwelvePointsGiveNoBox) {
    Shape tooFew = customCurve(1);
    tooFew.vertices.resize(11);
    fillCustomBoxes(tooFew);
    EXPECT_EQ(tooFew.kind, ShapeKind::Quads);
    EXPECT_TRUE(tooFew.vertices.empty());
}

} // namespace
