// Scene 3: the sign-off line, four Heighway dragons of growing depth that slide in and turn a
// quarter turn, and ten rectangles that fall from a top corner into a row, all on a warm glow.
#include <vector>

#include <GL/glew.h>

#include "curves/sf_curve.h"
#include "random/random.h"
#include "scenes/scene_builders.h"
#include "shaders/shader_sources.h"
#include "shapes/builders.h"
#include "text/line_callbacks.h"
#include "text/text.h"
#include "transitions/outros.h"

namespace {

constexpr float sceneDuration = scenePlayTimes[2];

struct DragonPlan {
    float startTime;
    int iterations;
    Vec2 from, to;
};

// The last dragon has equal ends: it only turns about its own origin.
constexpr DragonPlan dragons[] = {
    {0.45f, 3, {-1.0f, -1.0f}, {0.0f, 0.0f}},
    {4.15f, 4, {-1.0f, 1.0f}, {0.0f, 1.0f}},
    {7.85f, 5, {0.0f, -1.0f}, {1.0f, 0.0f}},
    {11.55f, 6, {1.0f, 1.0f}, {1.0f, 1.0f}},
};
constexpr float dragonTurn = 90.0f;
constexpr float dragonDuration = 5.0f;

constexpr int rectangleCount = 10;
constexpr float firstRectangleX = -0.9f;
constexpr float rectangleXStep = 0.2f;
constexpr float landingY = -0.81f;
constexpr float rectangleStartStep = 2.125f;
// Three legs that together take exactly the time between two rectangles.
constexpr float legDuration = 17.0f / 24.0f;
constexpr float tiltFromLeft = 0.5235988f; // π/6: counter-clockwise from the top-left corner

// A rectangle leaves its top corner, passes two points near its own column turned about that
// corner, and lands at (x, -0.81), spinning two full turns on the way. Only the random number's
// parity matters: even starts at the left corner, odd at the right.
Shape makeFallingRectangle(float x, int random) {
    const bool fromLeft = random % 2 == 0;
    const float side = fromLeft ? -1.0f : 1.0f;
    const float tilt = fromLeft ? tiltFromLeft : -tiltFromLeft;
    const Vec2 corner{side, 1.0f};
    const Vec2 first = rotatePoint({x * 0.5f, -0.405f}, corner, tilt);
    const Vec2 second = rotatePoint({x * 0.7f, -0.567f}, corner,
                                    static_cast<float>(static_cast<double>(tilt) * 0.7));
    Shape rectangle;
    rectangle.kind = ShapeKind::Quads;
    rectangle.vertices = {{-0.1f, -0.07f}, {0.1f, -0.07f}, {0.1f, 0.07f}, {-0.1f, 0.07f}};
    rectangle.routes.emplace_back(corner, first, 0.0f, 480.0f, legDuration);
    rectangle.routes.emplace_back(first, second, 480.0f, 600.0f, legDuration);
    rectangle.routes.emplace_back(second, Vec2{x, landingY}, 600.0f, 720.0f, legDuration);
    return rectangle;
}

LightRoute makeLighting() {
    const float material[4] = {1.0f, 123.0f / 162.0f, 92.0f / 162.0f, 1.0f};
    // The light stands still in the lower left.
    return LightRoute({-1.0f, -1.0f}, {-1.0f, -1.0f}, 1.0f, 5.0f, 21.5f, material, GL_SMOOTH,
                      GL_DIFFUSE);
}

} // namespace

Scene buildScene3() {
    Scene scene(sceneDuration);
    std::vector<Shape> shapes;
    std::vector<float> startTimes;

    shapes.push_back(makeCallbackShape(drawSignOffLine, keepStill, 2.0f));
    startTimes.push_back(0.0f);

    for (const DragonPlan& dragon : dragons) {
        shapes.push_back(makeCurveShape(curveHeighwayDragon, dragon.iterations, dragon.from,
                                        dragon.to, 0.0f, dragonTurn, dragonDuration));
        startTimes.push_back(dragon.startTime);
    }

    float x = firstRectangleX;
    float rectangleStart = 0.0f;
    for (int k = 0; k < rectangleCount; ++k) {
        shapes.push_back(makeFallingRectangle(x, Random::draw()));
        startTimes.push_back(rectangleStart);
        x += rectangleXStep;
        rectangleStart += rectangleStartStep;
    }

    scene.setContent(shapes, startTimes, makeLighting());
    scene.shader = ShaderProgram(gaussianGlowFragmentSource);
    scene.hasShader = true;
    scene.outro = scene3Outro;
    return scene;
}
