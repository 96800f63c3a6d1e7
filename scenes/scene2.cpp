// Scene 2: the title over a 7x7 grid of strokes that drop in and tumble into place, and three
// outlined quadrilaterals breathing around the centre, all shaded by three slowly circling blobs.
#include <algorithm>
#include <cmath>
#include <vector>

#include <GL/glew.h>

#include "clock/demo_clock.h"
#include "clock/step_clock.h"
#include "gfx/immediate.h"
#include "random/random.h"
#include "scene/scene.h"
#include "scenes/scene_builders.h"
#include "shaders/shader_sources.h"
#include "shapes/builders.h"
#include "text/line_callbacks.h"
#include "text/text.h"
#include "transitions/outros.h"

namespace {

constexpr int blobCount = 3;

// The blob shader reads these through the pointers registered with its uniforms.
static struct {
    float clock; // seconds since the first frame hook: "u_time"
    Vec2 centres[blobCount];
    StepClock turnClock;
} state;

constexpr float sceneDuration = scenePlayTimes[1];
constexpr float third = 1.0f / 3.0f; // the float 0.33333334
constexpr int gridSize = 7;
constexpr Colour strokeColour = colourFromBytes(135, 128, 94);
constexpr float strokeLegDuration = 0.5f;
constexpr float firstStrokeStart = 1.5f;
constexpr float strokeStartStep = 0.21f;
constexpr int strokeSpinRange = 480; // degrees of the first leg's turn: 0 to 479
constexpr float strokeReturnSpin = 240.0f;

// A stroke falls from the top edge to a third below and right of its grid point, then comes back
// up and left to it, spinning all the way.
Shape makeStroke(int row, int column, float spin) {
    const float x = static_cast<float>(column) * third - 1.0f;
    const float y = static_cast<float>(row) * third - 1.0f;
    const float belowY = static_cast<float>(row - 1) * third - 1.0f;
    const Vec2 swingPoint{x + third, belowY};
    Shape stroke;
    stroke.kind = ShapeKind::Lines;
    stroke.colours.push_back(strokeColour);
    stroke.vertices = {{-0.1f, 0.0f}, {0.1f, 0.0f}};
    stroke.routes.emplace_back(Vec2{x, 1.0f}, swingPoint, 0.0f, spin, strokeLegDuration);
    stroke.routes.emplace_back(swingPoint, Vec2{x, y}, spin, spin + strokeReturnSpin,
                               strokeLegDuration);
    return stroke;
}

// How one outline breathes: its width and height pulse with |cos t| or |sin t| of the clock, and
// its corners follow an angle that turns at `speed` from `phase`.
struct Breath {
    float widthScale;
    float heightScale;
    bool heightFollowsCos;
    float phase;
    float speed;
};

constexpr float pi = 3.14159265358979f;
constexpr Breath breaths[] = {
    {0.7f, 0.5f, false, pi / 4.0f, 0.7f},
    {0.6f, 0.7f, false, pi / 6.0f, 0.3f},
    {0.7f, 0.5f, true, pi / 5.0f, 0.5f},
};

// The bottom edge scales with |cos θ| and the top edge with |sin θ|, neither below its floor.
template <int index> void updateOutline(Shape* shape) {
    const Breath& breath = breaths[index];
    const float t = state.clock;
    const float width = breath.widthScale * std::fabs(std::cos(t));
    const float height =
        breath.heightScale * std::fabs(breath.heightFollowsCos ? std::cos(t) : std::sin(t));
    const float theta = t * breath.speed + breath.phase;
    const float top = std::max(std::fabs(std::sin(theta)), width * 0.5f);
    const float bottom = std::max(std::fabs(std::cos(theta)), height / 3.0f);
    shape->vertices = {{-bottom * width, -bottom * height},
                       {bottom * width, -bottom * height},
                       {top * width, top * height},
                       {-top * width, top * height}};
}

// Sets no colour: the outline takes the one the strokes and the title left current. Before its
// first update it has no vertices and draws nothing.
void drawOutline(Shape* shape) {
    gfx::setOutline(true);
    gfx::begin(gfx::Primitive::Quads);
    for (const Vec2& corner : shape->vertices) {
        gfx::vertex(corner.x, corner.y);
    }
    gfx::end();
    gfx::setOutline(false);
}

template <int index> Shape makeOutline() {
    return makeCallbackShape(drawOutline, updateOutline<index>, 0.0f);
}

// The turn per step of 1/60 s; cosine and sine taken in double and rounded to float.
const float blobTurnCos = static_cast<float>(std::cos(0.0005));
const float blobTurnSin = static_cast<float>(std::sin(0.0005));

void turnBlobsOnce(float) {
    for (Vec2& centre : state.centres) {
        const Vec2 was = centre;
        centre.x = blobTurnCos * was.x - blobTurnSin * was.y;
        centre.y = blobTurnSin * was.x + blobTurnCos * was.y;
    }
}

// Runs after the Shapes' update every frame: the clock counts from the first call, and the blob
// centres turn counter-clockwise about the screen centre by the steps that have come due.
void updateBlobs() {
    const DemoClock::Ticks now = DemoClock::now();
    state.turnClock.advance(now, latestSceneFirstFrame(), turnBlobsOnce);
    state.clock = DemoClock::secondsBetween(state.turnClock.startTicks(), now);
}

// A coordinate in [-0.5, 0.4961] from the next random number.
float randomCentreCoordinate() {
    return static_cast<float>((Random::draw() % 255) / 255.0 - 0.5);
}

LightRoute makeLighting() {
    const float material[4] = {63.0f / 79.0f, 78.0f / 79.0f, 1.0f, 1.0f};
    // The route lasts about twice the Scene, so the light only gets about half way.
    return LightRoute({-2.0f, -1.0f}, {2.0f, 1.0f}, 1.0f, 11.0f, 22.5f, material, GL_FLAT,
                      GL_DIFFUSE);
}

} // namespace

Scene buildScene2() {
    Scene scene(sceneDuration);
    std::vector<Shape> shapes;
    std::vector<float> startTimes;

    shapes.push_back(makeCallbackShape(drawTitleWord, keepStill, 2.0f));
    startTimes.push_back(0.0f);

    // The last three strokes start after the Scene has ended and never appear.
    float strokeStart = firstStrokeStart;
    for (int row = 0; row < gridSize; ++row) {
        for (int column = 0; column < gridSize; ++column) {
            Random::draw(); // every stroke draws two numbers and keeps the second
            const float spin = static_cast<float>(Random::draw() % strokeSpinRange);
            shapes.push_back(makeStroke(row, column, spin));
            startTimes.push_back(strokeStart);
            strokeStart += strokeStartStep;
        }
    }

    shapes.push_back(makeOutline<0>());
    shapes.push_back(makeOutline<1>());
    shapes.push_back(makeOutline<2>());
    startTimes.insert(startTimes.end(), 3, 0.0f);

    scene.setContent(shapes, startTimes, makeLighting());
    scene.outro = scene2Outro;

    for (Vec2& centre : state.centres) {
        centre.x = randomCentreCoordinate();
        centre.y = randomCentreCoordinate();
    }
    // The clock counts from the frame hook's first call after this build.
    state.clock = 0.0f;
    state.turnClock.restart();

    scene.shader = ShaderProgram(radialBlobsFragmentSource);
    scene.shader.addFloat(&state.clock, "u_time");
    scene.shader.addFloat(&state.centres[0].x, "center_x");
    scene.shader.addFloat(&state.centres[0].y, "center_y");
    scene.shader.addFloat(&state.centres[1].x, "center_x_1");
    scene.shader.addFloat(&state.centres[1].y, "center_y_1");
    scene.shader.addFloat(&state.centres[2].x, "center_x_2");
    scene.shader.addFloat(&state.centres[2].y, "center_y_2");
    scene.hasShader = true;
    scene.frameHook = updateBlobs;
    return scene;
}
