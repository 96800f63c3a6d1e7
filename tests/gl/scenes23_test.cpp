// Scenes 2 and 3: their random draws and where the strokes and rectangles land.

#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

class ScenesTest : public ClockedTest {
  protected:
    // A copy of a route-driven Shape, stepped at 60 frames a second for `seconds` from `base`.
    static Shape runShape(Shape shape, double seconds) {
        DemoClock::setManualTime(base);
        shape.routes[0].start();
        for (int frame = 0; frame <= static_cast<int>(seconds * 60.0); ++frame) {
            DemoClock::setManualTime(base + frame * DemoClock::ticksPerSecond / 60);
            stepShape(shape);
        }
        return shape;
    }
};

constexpr int firstStroke = 1;
constexpr int firstRectangle = 5;

TEST_F(ScenesTest, Scene2TakesTwoNumbersPerStrokeAndNumbers99To104ForTheBlobCentres) {
    const std::vector<int> sequence = randSequence(105);
    const Scene scene = buildScene2();
    EXPECT_EQ(std::rand(), sequence[104]) << "the builder draws exactly 104 numbers";
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(*scene.shader.floatUniforms[1 + c],
                  static_cast<float>((sequence[98 + c] % 255) / 255.0 - 0.5))
            << scene.shader.floatUniformNames[1 + c];
    }

    // Each stroke lands on its grid point turned by its own spin R, the second number it takes,
    // plus 240 degrees.
    for (int k = 0; k < 49; ++k) {
        const Shape landed = runShape(scene.shapes[firstStroke + k], 1.2);
        EXPECT_NEAR(landed.x, (k % 7) / 3.0 - 1.0, 1e-6) << "stroke " << k;
        EXPECT_NEAR(landed.y, (k / 7) / 3.0 - 1.0, 1e-6) << "stroke " << k;
        EXPECT_EQ(landed.angle, static_cast<float>(sequence[2 * k + 1] % 480) + 240.0f) << k;
    }
    // Stroke 45 is the last to appear; the last three would start after the Scene has ended.
    EXPECT_LT(scene.startTimes[firstStroke + 45], scene.duration);
    EXPECT_GT(scene.startTimes[firstStroke + 46], scene.duration);
}

TEST_F(ScenesTest, Scene3TakesTenNumbersAndItsRectanglesLandInARowOnTheBottomLine) {
    unsigned seed = 1; // a sequence whose first number is even: rectangle 0 from the top left
    while (randSequence(1, seed)[0] % 2 != 0) {
        ++seed;
    }
    const std::vector<int> sequence = randSequence(11, seed);
    const Scene scene = buildScene3();
    EXPECT_EQ(std::rand(), sequence[10]) << "the builder draws exactly ten numbers";
    // From the top-left corner with φ = π/6, rectangle 0 ends its first leg at Q1.
    EXPECT_NEAR(scene.shapes[firstRectangle].routes[0].endX, 0.1788, 1e-4);
    EXPECT_NEAR(scene.shapes[firstRectangle].routes[0].endY, 0.0582, 1e-4);
    for (int k = 0; k < 10; ++k) {
        const Shape& rectangle = scene.shapes[firstRectangle + k];
        // An even number starts it from the top-left corner, an odd one from the top-right.
        EXPECT_EQ(rectangle.routes[0].startX, sequence[k] % 2 == 0 ? -1.0f : 1.0f) << k;
        const Shape landed = runShape(rectangle, 2.3);
        EXPECT_NEAR(landed.x, -0.9 + 0.2 * k, 1e-5) << "rectangle " << k;
        EXPECT_EQ(landed.y, -0.81f);
        EXPECT_EQ(landed.angle, 720.0f);
    }
}

} // namespace
