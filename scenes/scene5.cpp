// Scene 5: the greetings. Boxes from the custom curve, the heading, a square turning twice, a
// panel over the right quarter and, one every 3.5 s, the eight group names, all showing a
// gradient-noise field whose 169 gradients turn back and forth so that the noise drifts.
#include <cmath>
#include <vector>

#include <GL/glew.h>

#include "clock/demo_clock.h"
#include "clock/step_clock.h"
#include "curves/sf_curve.h"
#include "gfx/immediate.h"
#include "random/random.h"
#include "scene/scene.h"
#include "scenes/custom_boxes.h"
#include "scenes/scene_builders.h"
#include "shaders/shader_sources.h"
#include "shapes/builders.h"
#include "text/line_callbacks.h"
#include "text/text.h"
#include "transitions/outros.h"

namespace {

constexpr int gridSide = 13;
constexpr int gradientCount = gridSide * gridSide; // index 13 * row + column, row 0 at the top

// The noise shader reads these through the pointers registered with its uniforms.
static struct {
    float clock;                    // seconds since the frame hook's first call: "u_time"
    float gradientX[gradientCount]; // "gradient_x"
    float gradientY[gradientCount]; // "gradient_y"
    StepClock turnClock;
} state;

constexpr float sceneDuration = scenePlayTimes[4];
constexpr float textParam = 2.0f; // static lines never read it

constexpr float firstGreetingStart = 3.3f;
constexpr float greetingStartStep = 3.5f;
constexpr float squareStart = 1.7f;
constexpr float panelStart = 2.1f;

constexpr Vec2 boxesAnchor{-1.0f, 0.2f};
constexpr int boxesIterations = 3;
constexpr float boxesRouteDuration = 10.0f;

constexpr Vec2 squareAnchor{-0.51f, -0.51f};
constexpr float squareTurn = 720.0f; // two turns in place
constexpr float squareDuration = 25.0f;
constexpr float squareHalfSize = 0.25f;

// The gradients turn by at most this fraction of a radian per step of 1/60 s.
constexpr double turnDivisor = 150.0;

// The right quarter of the screen, as one quad in the current colour.
void drawRightPanel(Shape*) {
    gfx::begin(gfx::Primitive::Quads);
    gfx::vertex(0.5f, 1.0f);
    gfx::vertex(0.5f, -1.0f);
    gfx::vertex(1.0f, -1.0f);
    gfx::vertex(1.0f, 1.0f);
    gfx::end();
}

Shape makeRightPanel() {
    return makeCallbackShape(drawRightPanel, keepStill, sceneDuration); // param not read
}

Shape makeCustomBoxes() {
    Shape boxes = makeCurveShape(curveCustom, boxesIterations, boxesAnchor, boxesAnchor, 0.0f, 0.0f,
                                 boxesRouteDuration);
    fillCustomBoxes(boxes);
    return boxes;
}

LightRoute makeLighting() {
    const float material[4] = {1.0f, 0.9481481f, 0.6962963f, 1.0f};
    return LightRoute({-1.0f, 0.0f}, {1.0f, -1.0f}, 15.0f, 10.0f, 27.05f, material, GL_SMOOTH,
                      GL_DIFFUSE);
}

// A gradient component in [-0.5, 0.5) from the next random number; never exactly 0 after the
// subtraction, so no pair is (0, 0).
float randomGradientComponent() {
    return static_cast<float>((Random::draw() % 16383) / 16383.0 - 0.5);
}

// All x components are drawn before any y component; then every pair becomes a unit vector.
void fillGradients() {
    for (float& x : state.gradientX) {
        x = randomGradientComponent();
    }
    for (float& y : state.gradientY) {
        y = randomGradientComponent();
    }
    for (int k = 0; k < gradientCount; ++k) {
        float& x = state.gradientX[k];
        float& y = state.gradientY[k];
        const float length = static_cast<float>(std::sqrt(static_cast<double>(x * x + y * y)));
        x = x / length;
        y = y / length;
    }
}

// Columns 5 to 9 of every row hand the opposite turn on to the next gradient.
bool flipsTurnAfter(int k) {
    const int column = k % gridSide;
    return column >= 5 && column <= 9;
}

// One step: every gradient turns by |sin t| / 150 radians, counter-clockwise or clockwise along
// a fixed pattern. The turns accumulate.
void turnGradientsOnce(float t) {
    const float turn =
        static_cast<float>(std::fabs(std::sin(static_cast<double>(t))) / turnDivisor);
    int sign = 1;
    for (int k = 0; k < gradientCount; ++k) {
        const float angle = static_cast<float>(sign) * turn;
        const float c = static_cast<float>(std::cos(static_cast<double>(angle)));
        const float n = static_cast<float>(std::sin(static_cast<double>(angle)));
        const float x = state.gradientX[k];
        const float y = state.gradientY[k];
        state.gradientX[k] = c * x - n * y;
        state.gradientY[k] = n * x + c * y;
        if (flipsTurnAfter(k)) {
            sign = -sign;
        }
    }
}

// Runs after the Shapes' update every frame: the clock counts from the first call, and the
// gradients take the steps that have come due, at the 60 fps production's pace at any rate.
void turnGradients() {
    const DemoClock::Ticks now = DemoClock::now();
    state.turnClock.advance(now, latestSceneFirstFrame(), turnGradientsOnce);
    state.clock = DemoClock::secondsBetween(state.turnClock.startTicks(), now);
}

} // namespace

Scene buildScene5() {
    Scene scene(sceneDuration);

    std::vector<Shape> lines;
    lines.push_back(makeCallbackShape(drawRespectHeading, keepStill, textParam));
    for (const ShapeCallback drawGreeting : greetGroupDrawCallbacks) {
        lines.push_back(makeCallbackShape(drawGreeting, keepStill, textParam));
    }
    const Shape panel = makeRightPanel();

    std::vector<Shape> shapes;
    shapes.push_back(makeCustomBoxes());
    shapes.insert(shapes.end(), lines.begin(), lines.end());
    shapes.push_back(makeSquareShape({1.0f, 1.0f, 1.0f}, squareAnchor, squareAnchor, 0.0f,
                                     squareTurn, squareDuration, squareHalfSize));
    shapes.push_back(panel);

    std::vector<float> startTimes{0.0f, 0.0f};
    float greetingStart = firstGreetingStart;
    for (std::size_t g = 0; g < greetGroupDrawCallbacks.size(); ++g) {
        startTimes.push_back(greetingStart);
        greetingStart += greetingStartStep;
    }
    startTimes.push_back(squareStart);
    startTimes.push_back(panelStart);

    scene.setContent(shapes, startTimes, makeLighting());

    fillGradients();
    // The clock counts from the frame hook's first call after this build.
    state.clock = 0.0f;
    state.turnClock.restart();

    scene.shader = ShaderProgram(gradientNoiseFragmentSource);
    scene.shader.addFloat(&state.clock, "u_time");
    scene.shader.addArray(state.gradientX, gradientCount, "gradient_x");
    scene.shader.addArray(state.gradientY, gradientCount, "gradient_y");
    scene.hasShader = true;
    scene.frameHook = turnGradients;
    scene.outro = scene5Outro;
    return scene;
}
