// Scene 4 on real OpenGL: the rand values it takes and the backdrop from its texture upload to
// its spin away.

#include "gl_support.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"

namespace {

constexpr int backdropShape = 5;

bool same(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

class Scene4Test : public ClockedTest {
  protected:
    // The right-most lit column of the backdrop drawn alone at `seconds`, -1 if nothing shows.
    static int backdropRightEdgeAt(double seconds) {
        DemoClock::setManualTime(at(seconds));
        resetFrame();
        drawBackdrop(nullptr);
        return litArea(readBackBuffer()).right;
    }
};

TEST_F(Scene4Test, TakesExactlyTheFiveThousandRandValuesOfItsBackdrop) {
    const std::vector<int> sequence = randSequence(5001);
    const Scene scene = buildScene4();
    EXPECT_EQ(std::rand(), sequence[5000]);

    // Nothing before the backdrop drew from the sequence: set A took values 1 to 2500.
    std::srand(1);
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    EXPECT_TRUE(backdropPixels() == renderBackdropImage(a, b));
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
