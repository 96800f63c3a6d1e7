// Scene 1 on real OpenGL: squares on their routes, corner lines growing from their first update.

#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

class Scene1Test : public ClockedTest {
  protected:
    void SetUp() override {
        ClockedTest::SetUp();
        scene = buildScene1();
        scene.start();
    }

    // One playing frame as the timeline runs it: draw, update, activate.
    void playFrame(double seconds) {
        DemoClock::setManualTime(at(seconds));
        resetFrame();
        scene.draw();
        scene.update();
        scene.activateShapes();
    }
    Scene scene;
};

TEST_F(Scene1Test, SquaresShowAtTheOriginOnTheFirstDrawThenFollowTheirRoutes) {
    resetFrame();
    scene.draw();
    // The four large squares of half-size 0.3 all cover the middle, pixels 224 to 415 by 168
    // to 311, and nothing else.
    const LitArea first = litArea(readBackBuffer());
    EXPECT_EQ((std::array{first.left, first.right, first.bottom, first.top}),
              (std::array{224, 415, 168, 311}));
    scene.update();
    EXPECT_EQ(scene.shapes[0].x, 0.7f); // from the first update on, the route places it

    for (int frame = 1; frame < 120; ++frame) {
        playFrame(frame / 60.0);
    }
    const Vec2 ends[] = {{0.3f, 0.3f}, {0.3f, -0.3f}, {-0.3f, -0.3f}, {-0.3f, 0.3f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ((Vec2{scene.shapes[i].x, scene.shapes[i].y}), ends[i]) << "square " << i;
    }
    EXPECT_EQ(scene.shapes[0].angle, 360.0f);
}

TEST_F(Scene1Test, CornerLinesGrowFromTheirOwnFirstUpdateAndStopAtFullLength) {
    for (int frame = 0; frame <= 52; ++frame) { // every 50 ms up to 2.6 s
        playFrame(frame * 0.05);
    }
    // Lines 7 and 8 were activated at the end of the frame at 2.55 s and first drawn and
    // updated at 2.6 s: their length starts from there, not from their start time.
    const Shape& down = scene.shapes[6];
    ASSERT_EQ(down.vertices.size(), 2u);
    EXPECT_EQ(down.vertices[0], (Vec2{-0.88f, 0.88f}));
    EXPECT_EQ(down.vertices[1].y, 0.0f);
    playFrame(3.1);
    EXPECT_NEAR(down.vertices[1].y, -1.0f, 1e-5);
    playFrame(3.5);  // not yet: activation needs a time strictly past 3.5 s
    playFrame(3.55); // lines 9 and 10 activated at the end of this frame
    playFrame(3.6);  // first drawn and updated: growth starts here
    playFrame(4.0);
    EXPECT_NEAR(scene.shapes[8].vertices[1].x, -0.8f, 1e-5); // grows left
    EXPECT_NEAR(scene.shapes[9].vertices[1].x, 0.8f, 1e-5);  // grows right
    playFrame(5.0);
    EXPECT_EQ(down.vertices[1].y, -1.85f);
    EXPECT_EQ(scene.shapes[7].vertices[1].y, 1.85f);
    EXPECT_EQ(scene.shapes[8].vertices[1].x, -1.85f);
    EXPECT_EQ(scene.shapes[9].vertices[1].x, 1.85f);
}

} // namespace
