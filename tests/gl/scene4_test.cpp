// Scene 4 on real OpenGL: the rand values it takes, its three waves of Shapes and how the first
// two leave the stage, and the backdrop from its texture upload to its spin away.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 7'000'000'000;
constexpr int backdropShape = 5;

DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

bool same(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

class Scene4Test : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }
};

TEST_F(Scene4Test, TakesExactlyTheFiveThousandRandValuesOfItsBackdrop) {
    std::srand(1);
    std::vector<int> sequence(5001);
    for (int& value : sequence) {
        value = std::rand();
    }
    std::srand(1);
    const Scene scene = buildScene4();
    EXPECT_EQ(std::rand(), sequence[5000]);

    // Nothing before the backdrop drew from the sequence: set A took values 1 to 2500.
    std::srand(1);
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    EXPECT_TRUE(backdropPixels() == renderBackdropImage(a, b));
}

TEST_F(Scene4Test, SixteenShapesInThreeWavesOfWhichTheFirstTwoLeaveTheStage) {
    Scene scene = buildScene4();
    const std::vector<float> starts{0, 0, 0, 0, 0, 0, 10, 10, 10, 10, 10, 20, 20, 20, 20, 20};
    EXPECT_EQ(scene.startTimes, starts);
    const int firstWave[] = {2, 3, 4}, secondWave[] = {8, 9, 10}, thirdWave[] = {13, 14, 15};

    // Updates only, no drawing.
    scene.start();
    const auto playUntil = [&scene](double from, double to) {
        for (double t = from; t <= to + 1e-9; t += 0.05) {
            DemoClock::setManualTime(at(t));
            scene.update();
            scene.activateShapes();
        }
    };
    playUntil(0.0, 10.0);
    EXPECT_EQ(scene.shapes[firstWave[1]].x, 0.61f);
    playUntil(10.05, 10.1); // the turn is over: the next route starts, then moves them off
    for (const int index : firstWave) {
        EXPECT_EQ((Vec2{scene.shapes[index].x, scene.shapes[index].y}), (Vec2{5.0f, 5.0f}));
    }
    playUntil(10.15, 31.0);
    for (const int index : secondWave) {
        EXPECT_EQ(scene.shapes[index].x, 5.0f) << "shape " << index;
    }
    EXPECT_EQ(scene.shapes[thirdWave[0]].x, -0.61f);
    EXPECT_EQ(scene.shapes[thirdWave[1]].x, 0.61f);
    EXPECT_EQ(scene.shapes[thirdWave[2]].angle, 120.0f);
}

// The right-most lit column of the backdrop drawn alone at `seconds`, -1 if nothing shows.
int backdropRightEdgeAt(double seconds) {
    DemoClock::setManualTime(at(seconds));
    resetFrame();
    drawBackdrop(nullptr);
    return litArea(readBackBuffer()).right;
}

// The backdrop's life is one per process, so it is followed in one test from its first call.
TEST_F(Scene4Test, BackdropUploadsFirstThenLiesBehindTheShapesThenSpinsAway) {
    Scene scene = buildScene4();
    const BackdropImage image = backdropPixels();
    scene.start();
    EXPECT_EQ(backdropRightEdgeAt(0.0), -1) << "the first call only uploads the texture";

    resetFrame(); // the first frame, then the second compared with the Shapes drawn alone
    scene.draw();
    scene.update();
    scene.activateShapes();
    resetFrame();
    scene.draw();
    const std::vector<std::uint8_t> shown = readBackBuffer();
    scene.active[backdropShape] = false;
    resetFrame();
    scene.draw();
    const std::vector<std::uint8_t> shapes = readBackBuffer();
    int shapePixels = 0, wrong = 0;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const Rgb pixel = pixelAt(shown, column, row), shape = pixelAt(shapes, column, row);
            if (!isBlack(shape)) { // drawn before the backdrop, yet in front: the depth test
                ++shapePixels;
                wrong += !same(pixel, shape);
            } else if (row % 3 == 0 && column % 8 == 0) {
                // Pixels well inside a texel of the transposed picture: its columns run up the
                // window, its rows across.
                const std::size_t i = (3 * (column / 8) * backdropWidth + 2 * (row / 3)) * 4;
                wrong += !same(pixel, {image[i], image[i + 1], image[i + 2]});
            }
        }
    }
    EXPECT_GT(shapePixels, 1000);
    EXPECT_EQ(wrong, 0);

    // From 25 s: one frame at scale 0, then full size, turning and shrinking to nothing.
    EXPECT_EQ(backdropRightEdgeAt(25.0), 639);   // not past 25 s yet
    EXPECT_EQ(backdropRightEdgeAt(25.001), 639); // the routes start; drawn before
    EXPECT_EQ(backdropRightEdgeAt(25.002), -1);  // the routes' initial zero scale
    EXPECT_EQ(backdropRightEdgeAt(25.003), 639);
    backdropRightEdgeAt(31.6); // past the end, two calls behind: the scale is clamped at 0
    backdropRightEdgeAt(31.6);
    EXPECT_EQ(backdropRightEdgeAt(31.6), -1);
    EXPECT_EQ(backdropRightEdgeAt(32.6), -1);
}

} // namespace
