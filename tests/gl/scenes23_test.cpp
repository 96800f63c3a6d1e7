// Scenes 2 and 3 on real OpenGL: their random draws, where the strokes and rectangles land, and
// what the shaders paint on the first frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 7'000'000'000;

// The first `count` numbers of the C generator's sequence for `seed`, which is then restarted.
std::vector<int> randSequence(int count, unsigned seed = 1) {
    std::srand(seed);
    std::vector<int> values(count);
    for (int& value : values) {
        value = std::rand();
    }
    std::srand(seed);
    return values;
}

// A copy of a route-driven Shape, stepped at 60 frames a second for `seconds` from `base`.
Shape runShape(Shape shape, double seconds) {
    DemoClock::setManualTime(base);
    shape.routes[0].start();
    for (int frame = 0; frame <= static_cast<int>(seconds * 60.0); ++frame) {
        DemoClock::setManualTime(base + frame * DemoClock::ticksPerSecond / 60);
        stepShape(shape);
    }
    return shape;
}

// The Scene's first frame, drawn as the timeline does right after start().
std::vector<std::uint8_t> drawFirstFrame(Scene& scene) {
    scene.start();
    resetFrame();
    scene.draw();
    return readBackBuffer();
}

class ScenesTest : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }
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

// The radial-blob colour at the centre of pixel (column, row), 0 to 1 per channel, at time 0,
// when only the first blob has a width.
std::vector<double> blobColourAtStart(int column, int row, const std::vector<float*>& uniforms) {
    const double sx = pixelCentreX(column), sy = pixelCentreY(row);
    const double distance = std::hypot(sx - 0.5 - *uniforms[1], sy - 0.5 - *uniforms[2]);
    const double val = std::clamp(0.33 * (std::exp(-5.5 * std::sqrt(distance)) + 2), 0.41, 1.0);
    return {std::min(sx, sy) * val, std::max(sx, sy) * val * 155 / 176, val * 113 / 176};
}

TEST_F(ScenesTest, Scene2FirstFrameShowsOnlyTheTitleInTheBlobColours) {
    Scene scene = buildScene2();
    const auto pixels = drawFirstFrame(scene);
    ASSERT_EQ(*scene.shader.floatUniforms[0], 0.0f);
    const LitArea lit = litArea(pixels);
    EXPECT_GT(lit.count, 100) << "the title's glyphs are drawn";
    EXPECT_GT(lit.left, 260) << "only the title: no strokes yet, no outline corners";
    EXPECT_LT(lit.top, 262);
    int wrong = 0;
    for (int row = lit.bottom; row <= lit.top; ++row) {
        for (int column = lit.left; column <= lit.right; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            const auto want = blobColourAtStart(column, row, scene.shader.floatUniforms);
            wrong += !isBlack(p) && levelDistance(p, want[0], want[1], want[2]) > 2;
        }
    }
    EXPECT_EQ(wrong, 0) << "glyph pixels not in the blob colours";
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

TEST_F(ScenesTest, Scene3FirstFrameShowsTheSignOffAndFirstRectangleInTheGlowColour) {
    Scene scene = buildScene3();
    const auto pixels = drawFirstFrame(scene);
    // The glow is saturated within about 188 pixels across and 141 up and down of the centre.
    int lit = 0, litLeftOfRectangle = 0, wrong = 0;
    for (int row = 200; row < 280; ++row) {
        for (int column = 180; column < 460; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            if (!isBlack(p)) {
                ++lit;
                litLeftOfRectangle += column < 286; // rectangle 0 is 64 pixels wide at the centre
                wrong += levelDistance(p, 1.0f, 123 / 162.0f, 92 / 162.0f) > 1;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(lit, 60 * 30) << "the first rectangle covers the centre";
    EXPECT_GT(litLeftOfRectangle, 50) << "the sign-off's first letters are drawn";
}

} // namespace
