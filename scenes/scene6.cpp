// Scene 6: the closing card. The release line and the personal greetings over a full-screen
// field in which fifty pairs of random points vote on every pixel; the pairs turn slowly about
// the centre, each the other way from its neighbour. The curtain ends the production.
#include <cmath>
#include <vector>

#include <GL/glew.h>

#include "clock/demo_clock.h"
#include "clock/step_clock.h"
#include "random/random.h"
#include "scene/scene.h"
#include "scenes/random_field.h"
#include "scenes/scene_builders.h"
#include "shaders/shader_sources.h"
#include "shaders/software_renderer.h"
#include "shapes/builders.h"
#include "text/line_callbacks.h"
#include "text/text.h"
#include "transitions/outros.h"

namespace {

constexpr int pairCount = 50;

// The random-sources shader reads these through the pointers registered with its uniforms;
// pair i is (firstX[i], firstY[i]) and (secondX[i], secondY[i]), in centred screen coordinates.
static struct {
    float firstX[pairCount];  // "random_x_0"
    float firstY[pairCount];  // "random_y_0"
    float secondX[pairCount]; // "random_x_1"
    float secondY[pairCount]; // "random_y_1"
    StepClock turnClock;
} state;

constexpr float sceneDuration = scenePlayTimes[5];
constexpr float textParam = 15.0f; // static lines never read it

constexpr Vec2 screenCentre{0.0f, 0.0f};
constexpr float fieldDuration = 15.0f;
constexpr float fieldHalfSize = 1.0f; // covers the whole drawing space

// The pairs turn by at most this fraction of a radian per step of 1/60 s.
constexpr double turnDivisor = 300.0;

LightRoute makeLighting() {
    const float material[4] = {135.0f / 255.0f, 128.0f / 255.0f, 94.0f / 255.0f, 1.0f};
    return LightRoute({-5.0f, -5.0f}, {-5.0f, 0.0f}, 5.0f, 10.0f, 15.05f, material, GL_FLAT,
                      GL_DIFFUSE);
}

// One of the 51 values k / 51 - 0.5, from the next random number.
float randomCoordinate() {
    return static_cast<float>((Random::draw() % 51) / 51.0 - 0.5);
}

// One array after another, each from its first element to its last.
void fillPoints() {
    for (float* coordinates : {state.firstX, state.firstY, state.secondX, state.secondY}) {
        for (int i = 0; i < pairCount; ++i) {
            coordinates[i] = randomCoordinate();
        }
    }
}

void turnPoint(float& x, float& y, float c, float s) {
    const float wasX = x;
    const float wasY = y;
    x = c * wasX - s * wasY;
    y = s * wasX + c * wasY;
}

// One step of the turn: even pairs turn counter-clockwise and odd pairs clockwise about the
// centre by |sin t| / 300 radians.
void turnPairsOnce(float t) {
    const float turn =
        static_cast<float>(std::fabs(std::sin(static_cast<double>(t))) / turnDivisor);
    for (int i = 0; i < pairCount; ++i) {
        const float angle = i % 2 == 0 ? turn : -turn;
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float s = static_cast<float>(std::sin(static_cast<double>(angle)));
        turnPoint(state.firstX[i], state.firstY[i], c, s);
        turnPoint(state.secondX[i], state.secondY[i], c, s);
    }
}

// Runs after the Shapes' update every frame and takes the steps that have come due, t counted
// from the first call, so that the field turns at the 60 fps production's pace at any frame
// rate.
void turnPairs() {
    state.turnClock.advance(DemoClock::now(), latestSceneFirstFrame(), turnPairsOnce);
}

} // namespace

Scene buildScene6() {
    Scene scene(sceneDuration);

    std::vector<Shape> shapes;
    shapes.push_back(makeCallbackShape(drawReleaseLine, keepStill, textParam));
    shapes.push_back(makeCallbackShape(drawPersonalGreetHeading, keepStill, textParam));
    shapes.push_back(makeCallbackShape(drawPersonalGreetLine1, keepStill, textParam));
    shapes.push_back(makeCallbackShape(drawPersonalGreetLine2, keepStill, textParam));
    shapes.push_back(makeSquareShape({1.0f, 1.0f, 1.0f}, screenCentre, screenCentre, 0.0f, 0.0f,
                                     fieldDuration, fieldHalfSize));
    const std::vector<float> startTimes(shapes.size(), 0.0f);

    scene.setContent(shapes, startTimes, makeLighting());

    fillPoints();
    // The clock counts from the frame hook's first call after this build.
    state.turnClock.restart();

    // A software renderer gets the field computed by the processor's vector lanes: the same
    // values for a fraction of what the shader's fifty pairs a pixel cost it.
    const bool onProcessor = renderingInSoftware();
    scene.shader =
        ShaderProgram(onProcessor ? randomFieldFragmentSource : randomSourcesFragmentSource);
    if (onProcessor) {
        scene.shader.processorStage = loadRandomField;
    }
    scene.shader.addArray(state.firstX, pairCount, "random_x_0");
    scene.shader.addArray(state.firstY, pairCount, "random_y_0");
    scene.shader.addArray(state.secondX, pairCount, "random_x_1");
    scene.shader.addArray(state.secondY, pairCount, "random_y_1");
    scene.hasShader = true;
    scene.frameHook = turnPairs;
    scene.outro = scene6Outro;
    return scene;
}
