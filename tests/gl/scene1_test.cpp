// Scene 1 on real OpenGL: squares on their routes, corner lines growing from their first update.
#include <gtest/gtest.h>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 5'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

// One playing frame as the timeline runs it: draw, update, activate.
void playFrame(Scene& scene, double seconds) {
    DemoClock::setManualTime(at(seconds));
    resetFrame();
    scene.draw();
    scene.update();
    scene.activateShapes();
}

class Scene1Test : public testing::Test {
  protected:
    void SetUp() override {
        DemoClock::setManualTime(base);
        scene = buildScene1();
        scene.start();
    }
    void TearDown() override { DemoClock::setSource(nullptr); }
    Scene scene;
};

TEST_F(Scene1Test, BuildsTenShapesWithTheirStartTimesAndNoShader) {
    ASSERT_EQ(scene.shapes.size(), 10u);
    const std::vector<float> expected{0, 0, 0, 0, 1.5f, 1.5f, 2.5f, 2.5f, 3.5f, 3.5f};
    EXPECT_EQ(scene.startTimes, expected);
    EXPECT_FALSE(scene.hasShader);
    EXPECT_FLOAT_EQ(scene.duration, 5.815f);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(scene.shapes[i].kind, ShapeKind::Quads);
        EXPECT_EQ(scene.shapes[i].routes.size(), 1u);
    }
    for (int i = 6; i < 10; ++i) {
        EXPECT_EQ(scene.shapes[i].kind, ShapeKind::Callback);
        EXPECT_EQ(scene.shapes[i].param, 1.0f);
    }
}

TEST_F(Scene1Test, SquaresStartAtTheOriginThenSettleIntoABlockAroundTheCentre) {
    DemoClock::setManualTime(base);
    resetFrame();
    scene.draw();
    for (int i = 0; i < 4; ++i) { // the first draw shows the builder's origin
        EXPECT_EQ(scene.shapes[i].x, 0.0f);
        EXPECT_EQ(scene.shapes[i].angle, 0.0f);
    }
    scene.update();
    EXPECT_EQ(scene.shapes[0].x, 0.7f); // from the first update on, the route places it
    for (int frame = 1; frame < 120; ++frame) {
        playFrame(scene, frame / 60.0);
    }
    const float ends[4][2] = {{0.3f, 0.3f}, {0.3f, -0.3f}, {-0.3f, -0.3f}, {-0.3f, 0.3f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(scene.shapes[i].x, ends[i][0]);
        EXPECT_EQ(scene.shapes[i].y, ends[i][1]);
    }
    EXPECT_EQ(scene.shapes[0].angle, 360.0f);
    playFrame(scene, 2.0);
    const auto pixels = readBackBuffer();
    // Each quarter of the screen around the centre is covered by one lit square.
    EXPECT_FALSE(isBlack(pixelAt(pixels, 400, 300)));
    EXPECT_FALSE(isBlack(pixelAt(pixels, 400, 180)));
    EXPECT_FALSE(isBlack(pixelAt(pixels, 240, 180)));
    EXPECT_FALSE(isBlack(pixelAt(pixels, 240, 300)));
    EXPECT_TRUE(isBlack(pixelAt(pixels, 20, 240))); // nothing left of the block
}

TEST_F(Scene1Test, CornerLinesGrowFromTheirOwnFirstUpdateAndStopAtFullLength) {
    for (int frame = 0; frame <= 52; ++frame) { // every 50 ms up to 2.6 s
        playFrame(scene, frame * 0.05);
    }
    // Lines 7 and 8 were activated at the end of the frame at 2.55 s and first drawn and
    // updated at 2.6 s: their length starts from there, not from their start time.
    const Shape& down = scene.shapes[6];
    ASSERT_EQ(down.vertices.size(), 2u);
    EXPECT_EQ(down.vertices[0], (Vec2{-0.88f, 0.88f}));
    EXPECT_EQ(down.vertices[1].y, 0.0f);
    playFrame(scene, 3.1);
    EXPECT_NEAR(down.vertices[1].y, -1.0f, 1e-5);
    EXPECT_NEAR(scene.shapes[7].vertices[1].y, 1.0f, 1e-5);
    playFrame(scene, 3.5);  // not yet: activation needs a time strictly past 3.5 s
    playFrame(scene, 3.55); // lines 9 and 10 activated at the end of this frame
    playFrame(scene, 3.6);  // first drawn and updated: growth starts here
    playFrame(scene, 4.0);
    EXPECT_NEAR(scene.shapes[8].vertices[1].x, -0.8f, 1e-5); // grows left
    EXPECT_NEAR(scene.shapes[9].vertices[1].x, 0.8f, 1e-5);  // grows right
    playFrame(scene, 5.0);
    EXPECT_EQ(down.vertices[1].y, -1.85f);
    EXPECT_EQ(scene.shapes[7].vertices[1].y, 1.85f);
    EXPECT_EQ(scene.shapes[8].vertices[1].x, -1.85f);

    // The finished vertical line at x = -0.88 reaches from y = 0.78 down to -0.97 (the small
    // square parked at (-0.85, 0.85) covers the column above y = 0.75).
    playFrame(scene, 5.5);
    const auto pixels = readBackBuffer();
    auto litInColumn = [&](int row) {
        for (int column = 36; column <= 40; ++column) {
            if (!isBlack(pixelAt(pixels, column, row))) {
                return true;
            }
        }
        return false;
    };
    const int lowestRow = static_cast<int>((1.0f - 0.97f) * 240.0f);
    const int rowAtSquare = static_cast<int>((1.0f + 0.7f) * 240.0f);
    int litRows = 0;
    for (int row = lowestRow + 1; row < rowAtSquare; ++row) {
        litRows += litInColumn(row) ? 1 : 0;
    }
    EXPECT_EQ(litRows, rowAtSquare - lowestRow - 1);
    EXPECT_FALSE(litInColumn(lowestRow - 2)); // nothing below its end
}

} // namespace
