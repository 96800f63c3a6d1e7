// The Scene's activation, update and draw on a manually set clock and real OpenGL.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <GL/glew.h>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scene/scene.h"
#include "shaders/shader_program.h"
#include "shapes/builders.h"

namespace {

constexpr DemoClock::Ticks base = 3'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(std::llround(seconds * 1e7));
}

constexpr float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f};

// Travels from (0, 0) to (1, -1) in 2 s while the shininess goes from 10 to 50.
LightRoute movingLight(GLenum shadeModel = GL_SMOOTH) {
    return LightRoute({0.0f, 0.0f}, {1.0f, -1.0f}, 10.0f, 50.0f, 2.0f, grey, shadeModel,
                      GL_SPECULAR);
}

Shape square(Vec2 from, Vec2 to, Colour colour = {1.0f, 1.0f, 1.0f}, float halfSize = 0.1f) {
    return makeSquareShape(colour, from, to, 0.0f, 0.0f, 1.0f, halfSize);
}

constexpr DemoClock::Ticks untouchedStamp = 42;

void doNothing(Shape*) {}

// A callback Shape that carries a route, to show that activation leaves it alone.
Shape callbackShape(ShapeCallback update = doNothing) {
    Shape shape;
    shape.kind = ShapeKind::Callback;
    shape.drawCallback = doNothing;
    shape.updateCallback = update;
    shape.routes.emplace_back(Vec2{0.0f, 0.0f}, Vec2{1.0f, 1.0f}, 0.0f, 0.0f, 1.0f);
    shape.routes[0].startTicks = untouchedStamp;
    return shape;
}

class SceneTest : public testing::Test {
  protected:
    void SetUp() override {
        resetFrame();
        DemoClock::setManualTime(base);
    }
    void TearDown() override {
        DemoClock::setSource(nullptr);
        resetFrame();
    }
};

TEST_F(SceneTest, StartActivatesTheShapesOfStartTimeZeroAndStampsTheirFirstRoute) {
    Scene scene(10.0f);
    scene.setContent({square({0, 0}, {1, 0}), square({0, 0}, {1, 0}), callbackShape()},
                     {0.0f, 0.5f, 0.0f}, movingLight());
    scene.start();

    EXPECT_EQ(scene.startTicks, base);
    EXPECT_EQ(scene.lighting.route.startTicks, base);
    EXPECT_EQ(scene.active, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(scene.shapes[0].routes[0].startTicks, base);
    EXPECT_EQ(scene.shapes[1].routes[0].startTicks, 0u);
    EXPECT_EQ(scene.shapes[2].routes[0].startTicks, untouchedStamp);
}

TEST_F(SceneTest, WaitingShapesActivateOnceTheElapsedTimeIsStrictlyGreater) {
    Scene scene(10.0f);
    scene.setContent(
        {square({0, 0}, {1, 0}), square({0, 0}, {1, 0}), square({0, 0}, {1, 0}), callbackShape()},
        {0.0f, 0.5f, -1.0f, 0.25f}, movingLight());
    scene.start();
    EXPECT_EQ(scene.active, (std::vector<bool>{true, false, false, false}));

    // The first call, at elapsed 0, takes the negative start time.
    scene.activateShapes();
    EXPECT_EQ(scene.active, (std::vector<bool>{true, false, true, false}));
    EXPECT_EQ(scene.shapes[2].routes[0].startTicks, base);

    DemoClock::setManualTime(at(0.25));
    scene.activateShapes();
    EXPECT_FALSE(scene.active[3]);

    DemoClock::setManualTime(at(0.3));
    scene.activateShapes();
    EXPECT_TRUE(scene.active[3]);
    EXPECT_EQ(scene.shapes[3].routes[0].startTicks, untouchedStamp);

    DemoClock::setManualTime(at(0.5));
    scene.activateShapes();
    EXPECT_FALSE(scene.active[1]);

    DemoClock::setManualTime(at(0.5001));
    scene.activateShapes();
    EXPECT_TRUE(scene.active[1]);
    EXPECT_EQ(scene.shapes[1].routes[0].startTicks, at(0.5001));
    EXPECT_EQ(scene.shapes[0].routes[0].startTicks, base); // stamped once only
    EXPECT_EQ(scene.shapes[2].routes[0].startTicks, base);
}

// What the frame hook saw, and who else was called.
static struct {
    Scene* scene = nullptr;
    int hookCalls = 0;
    int updateCalls = 0;
    float shapeXSeenByHook = 0.0f;
    float lightXSeenByHook = 0.0f;
    int updateCallsSeenByHook = 0;
} updateState;

void countUpdate(Shape*) {
    ++updateState.updateCalls;
}

void failIfUpdated(Shape*) {
    ADD_FAILURE() << "an inactive Shape was updated";
}

void recordFrame() {
    ++updateState.hookCalls;
    updateState.shapeXSeenByHook = updateState.scene->shapes[0].x;
    updateState.lightXSeenByHook = updateState.scene->lighting.route.currentX;
    updateState.updateCallsSeenByHook = updateState.updateCalls;
}

TEST_F(SceneTest, UpdateMovesLightWhileItsRouteRunsStepsActiveShapesAndRunsTheHookLast) {
    Scene scene(10.0f);
    scene.setContent(
        {square({0, 0}, {2, 0}), callbackShape(countUpdate), callbackShape(failIfUpdated)},
        {0.0f, 0.0f, 5.0f}, movingLight());
    scene.frameHook = recordFrame;
    updateState = {};
    updateState.scene = &scene;
    scene.start();

    DemoClock::setManualTime(at(0.5));
    scene.update();
    EXPECT_FLOAT_EQ(scene.lighting.route.currentX, 0.25f);
    EXPECT_FLOAT_EQ(scene.lighting.route.currentY, -0.25f);
    EXPECT_FLOAT_EQ(scene.lighting.route.currentAngle, 20.0f);
    EXPECT_FLOAT_EQ(scene.shapes[0].x, 1.0f);
    EXPECT_EQ(updateState.hookCalls, 1);
    EXPECT_FLOAT_EQ(updateState.shapeXSeenByHook, 1.0f);
    EXPECT_FLOAT_EQ(updateState.lightXSeenByHook, 0.25f);
    EXPECT_EQ(updateState.updateCallsSeenByHook, 1);

    // At exactly its duration the light still updates, and snaps to its end.
    DemoClock::setManualTime(at(2.0));
    scene.update();
    EXPECT_EQ(scene.lighting.route.currentX, 1.0f);
    EXPECT_EQ(scene.lighting.route.currentY, -1.0f);
    EXPECT_EQ(scene.lighting.route.currentAngle, 50.0f);

    // Past it the light keeps its last values (its route alone would carry on to x = 1.5).
    DemoClock::setManualTime(at(3.0));
    scene.update();
    EXPECT_EQ(scene.lighting.route.currentX, 1.0f);
    EXPECT_EQ(scene.lighting.route.currentAngle, 50.0f);
    EXPECT_EQ(updateState.hookCalls, 3);
    EXPECT_EQ(updateState.updateCalls, 3);
}

// A fragment shader of one flat colour whose red comes from a uniform.
constexpr const char* flatColourSource = R"(uniform float red;
void main() {
    gl_FragColor = vec4(red, 0.5, 0.25, 1.0);
})";

GLint currentProgram() {
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    return program;
}

TEST_F(SceneTest, DrawSetsTheLightAndMaterialFromTheLightRoute) {
    Scene scene(10.0f);
    scene.setContent({}, {}, movingLight(GL_FLAT));
    scene.lighting.route.currentX = 0.25f;
    scene.lighting.route.currentY = -0.5f;
    scene.lighting.route.currentAngle = 20.0f;
    scene.draw();

    GLfloat position[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, position);
    EXPECT_EQ(position[0], 0.25f);
    EXPECT_EQ(position[1], -0.5f);
    EXPECT_EQ(position[2], 1.0f);
    EXPECT_EQ(position[3], 3.0f);
    GLfloat shininess = 0.0f;
    glGetMaterialfv(GL_FRONT, GL_SHININESS, &shininess);
    EXPECT_EQ(shininess, 20.0f);
    GLfloat specular[4];
    glGetMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    EXPECT_EQ(specular[0], 0.5f);
    EXPECT_EQ(specular[3], 1.0f);
    GLint shadeModel = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shadeModel);
    EXPECT_EQ(shadeModel, GL_FLAT);
    for (const GLenum capability : {GL_COLOR_MATERIAL, GL_LIGHTING, GL_LIGHT0, GL_DEPTH_TEST}) {
        EXPECT_TRUE(glIsEnabled(capability)) << capability;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(SceneTest, DrawWithoutShaderUnbindsAnyProgram) {
    const ShaderProgram leftOver("", "", flatColourSource);
    glUseProgram(leftOver.program);
    ASSERT_EQ(currentProgram(), static_cast<GLint>(leftOver.program));

    Scene scene(10.0f);
    scene.setContent({}, {}, movingLight());
    scene.draw();
    EXPECT_EQ(currentProgram(), 0);
}

float redLevel = 0.0f;

TEST_F(SceneTest, DrawBindsTheShaderAndItColoursOnlyTheActiveShapes) {
    Scene scene(10.0f);
    // Two overlapping squares of different colours and a third that is not yet active.
    scene.setContent({square({0, 0}, {0, 0}, {0.0f, 0.0f, 1.0f}, 0.3f),
                      square({0, 0}, {0, 0}, {0.0f, 1.0f, 0.0f}, 0.3f),
                      square({0, 0}, {0, 0}, {1.0f, 1.0f, 1.0f}, 0.9f)},
                     {0.0f, 0.0f, 1.0f}, movingLight());
    scene.shader = ShaderProgram("", "", flatColourSource);
    scene.shader.addFloat(&redLevel, "red");
    scene.hasShader = true;
    scene.start();
    // The first Shape sits where the square builder left it until its first motion step.
    scene.shapes[1].x = 0.2f;
    scene.shapes[1].y = 0.2f;

    redLevel = 0.8f;
    scene.draw();
    EXPECT_EQ(currentProgram(), static_cast<GLint>(scene.shader.program));
    const auto pixels = readBackBuffer();
    for (const Vec2 point :
         {Vec2{0.0f, 0.0f}, Vec2{0.25f, 0.25f}, Vec2{0.45f, 0.45f}, Vec2{-0.25f, -0.25f}}) {
        EXPECT_EQ(levelDistance(pixelAtPoint(pixels, point.x, point.y), 0.8f, 0.5f, 0.25f), 0)
            << point.x << ", " << point.y;
    }
    const LitArea area = litArea(pixels);
    EXPECT_EQ(area.left, 224);   // -0.3
    EXPECT_EQ(area.right, 479);  // 0.5
    EXPECT_EQ(area.bottom, 168); // -0.3
    EXPECT_EQ(area.top, 359);    // 0.5
}

TEST_F(SceneTest, ShaderSceneWithNoActiveShapeStaysBlack) {
    Scene scene(10.0f);
    scene.setContent({square({0, 0}, {0, 0}, {1.0f, 1.0f, 1.0f}, 0.5f)}, {2.0f}, movingLight());
    scene.shader = ShaderProgram("", "", flatColourSource);
    scene.hasShader = true;
    scene.start();
    scene.draw();
    EXPECT_EQ(litArea(readBackBuffer()).count, 0);
}

} // namespace
