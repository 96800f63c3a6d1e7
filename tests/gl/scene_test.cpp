// The Scene's activation, update and draw on a manually set clock and real OpenGL.

#include "gl_support.h"
#include "scene/scene.h"
#include "shaders/shader_program.h"
#include "shapes/builders.h"

namespace {

// Travels from (0, 0) to (1, -1) in 2 s while the shininess goes from 10 to 50.
LightRoute movingLight() {
    constexpr float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};
    return LightRoute({0.0f, 0.0f}, {1.0f, -1.0f}, 10.0f, 50.0f, 2.0f, grey, GL_FLAT, GL_SPECULAR);
}

// Travels from (0, 0) to (2, 0) in 1 s.
Shape square(float halfSize = 0.1f) {
    return makeSquareShape({1.0f, 1.0f, 1.0f}, {0, 0}, {2, 0}, 0.0f, 0.0f, 1.0f, halfSize);
}

class SceneTest : public ClockedTest {
  protected:
    void TearDown() override {
        ClockedTest::TearDown();
        resetFrame();
    }
};

TEST_F(SceneTest, ShapesActivateOnceTheElapsedTimeIsStrictlyGreaterAndGetTheirRouteStamped) {
    // A callback Shape's route, if it has one, is not its own to stamp.
    Shape callback = makeCallbackShape(keepStill, keepStill, 0.0f);
    callback.routes = square().routes;
    Scene scene(10.0f);
    scene.setContent({square(), square(), square(), callback}, {0.0f, 0.5f, -1.0f, 0.0f},
                     movingLight());
    scene.start();
    EXPECT_EQ(scene.lighting.route.startTicks, base);
    EXPECT_EQ(scene.active, (std::vector<bool>{true, false, false, true}));
    EXPECT_EQ(scene.shapes[3].routes[0].startTicks, 0u);

    scene.activateShapes(); // at elapsed 0 the negative start time is due
    EXPECT_TRUE(scene.active[2]);
    DemoClock::setManualTime(at(0.5));
    scene.activateShapes();
    EXPECT_FALSE(scene.active[1]);
    DemoClock::setManualTime(at(0.5001));
    scene.activateShapes();
    EXPECT_TRUE(scene.active[1]);
    EXPECT_EQ(scene.shapes[1].routes[0].startTicks, at(0.5001));
    EXPECT_EQ(scene.shapes[0].routes[0].startTicks, base); // stamped once only
    DemoClock::setManualTime(at(0.75));
    scene.update(); // the light moves along its route, active Shapes along theirs
    EXPECT_FLOAT_EQ(scene.lighting.route.currentX, 0.375f);
    EXPECT_FLOAT_EQ(scene.shapes[0].x, 1.5f);
}

TEST_F(SceneTest, DrawPlacesTheLightAndBindsTheShaderOnlyWhenTheSceneHasOne) {
    Scene scene(10.0f);
    scene.setContent({square(0.3f), square(0.9f)}, {0.0f, 1.0f}, movingLight());
    scene.shader =
        ShaderProgram("", "", "void main() { gl_FragColor = vec4(0.8, 0.5, 0.25, 1.0); }");
    scene.hasShader = true;
    scene.start();
    scene.lighting.route.currentX = 0.25f;
    scene.draw();
    const auto pixels = readBackBuffer();
    EXPECT_EQ(levelDistance(pixelAtPoint(pixels, 0.0f, 0.0f), 0.8f, 0.5f, 0.25f), 0);
    EXPECT_EQ(litArea(pixels).right, 415); // the larger square is not active

    GLfloat light[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, light);
    EXPECT_EQ(std::vector(light, light + 4), std::vector({0.25f, 0.0f, 1.0f, 3.0f})); // positional

    scene.hasShader = false; // the program bound above must not stay bound
    scene.draw();
    GLint program = -1;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(program, 0);
}

} // namespace
