// Scene 4: the credits. Three waves, ten seconds apart, each a revealed title and handle, a
// turning Penrose tiling, a turning polygon ring and a turning curve, over the fault-line
// backdrop, which spins once and shrinks away in the last six seconds.
#include <array>
#include <cstdint>
#include <vector>

#include <GL/glew.h>

#include "curves/sf_curve.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"
#include "scenes/tiling.h"
#include "shapes/builders.h"
#include "text/credit_lines.h"
#include "transitions/outros.h"

namespace {

constexpr float sceneDuration = scenePlayTimes[3];
constexpr int waveCount = 3;
constexpr float waveStartTimes[waveCount] = {0.0f, 10.0f, 20.0f};

constexpr float scrambleSeconds = 2.0f;

// The objects of a wave turn in place for ten seconds.
constexpr float turnSeconds = 10.0f;

struct CurvePlan {
    CurveType type;
    std::int32_t iterations;
    Vec2 place;
    float endAngle;
};

constexpr CurvePlan curvePlans[waveCount] = {
    {curveHeighwayDragon, 10, {0.5f, 0.5f}, 120.0f},
    {curveArrowhead, 6, {0.5f, -0.2f}, 45.0f},
    {curveSnowflake, 3, {0.5f, -0.2f}, 120.0f},
};
constexpr Colour curveColour = colourFromBytes(176, 155, 113);

constexpr std::int32_t penroseLevels[waveCount] = {1, 2, 3};
constexpr Vec2 tilingPlace{-0.61f, -0.61f};

constexpr std::array<std::int32_t, 5> ringSideCounts[waveCount] = {
    {3, 3, 4, 3, 4},
    {3, 3, 3, 4, 4},
    {3, 3, 3, 3, 6},
};
constexpr float ringSideLength = 0.17f;
constexpr Vec2 ringPlace{0.61f, -0.61f};

constexpr float fullTurns = 720.0f;

// Once its ten seconds are over, an object of the first two waves jumps far off the visible
// square and stays there.
constexpr Vec2 offStage{5.0f, 5.0f};
constexpr float offStageSeconds = 5.0f;

Route turnInPlace(Vec2 place, float endAngle) {
    return Route(place, place, 0.0f, endAngle, turnSeconds);
}

Shape makeCurve(const CurvePlan& plan) {
    return makeCurveShape(plan.type, plan.iterations, plan.place, plan.place, 0.0f, plan.endAngle,
                          turnSeconds);
}

// The tiling stands at its place from the start; its route comes later in the build.
Shape makeTiling(std::int32_t level) {
    Shape tiling = makePenroseShape(level);
    tiling.x = tilingPlace.x;
    tiling.y = tilingPlace.y;
    return tiling;
}

// The ring's position stays at the origin until its first motion step.
Shape makeRing(const std::array<std::int32_t, 5>& sideCounts) {
    PolygonRing ring(std::vector<std::int32_t>(sideCounts.begin(), sideCounts.end()),
                     ringSideLength);
    ring.buildPolygons();
    Shape shape = ring.toShape();
    shape.routes.push_back(turnInPlace(ringPlace, fullTurns));
    return shape;
}

LightRoute makeLighting() {
    const float material[4] = {220.0f / 255.0f, 215.0f / 255.0f, 201.0f / 255.0f, 5.5f};
    return LightRoute({2.0f, 1.0f}, {-2.0f, -1.0f}, 1.0f, 5.0f, 31.5f, material, GL_SMOOTH,
                      GL_DIFFUSE);
}

} // namespace

// Only the backdrop's picture draws from the random sequence: its 5000 values, right after the
// backdrop Shape is appended.
Scene buildScene4() {
    Scene scene(sceneDuration);

    std::array<Shape, waveCount> titles, names, curves, tilings, rings;
    for (int wave = 0; wave < waveCount; ++wave) {
        const int title = 2 * wave, name = 2 * wave + 1; // each title is followed by its handle
        titles[wave] =
            makeCallbackShape(creditLineDraws[title], creditLineUpdates[title], scrambleSeconds);
        names[wave] =
            makeCallbackShape(creditLineDraws[name], creditLineUpdates[name], scrambleSeconds);
    }
    for (int wave = 0; wave < waveCount; ++wave) {
        curves[wave] = makeCurve(curvePlans[wave]);
    }
    for (Shape& curve : curves) {
        curve.colours = {curveColour};
    }
    for (int wave = 0; wave < waveCount; ++wave) {
        tilings[wave] = makeTiling(penroseLevels[wave]);
    }
    for (int wave = 0; wave < waveCount; ++wave) {
        rings[wave] = makeRing(ringSideCounts[wave]);
    }
    for (Shape& tiling : tilings) {
        tiling.routes.push_back(turnInPlace(tilingPlace, fullTurns));
    }
    const Shape backdrop = makeBackdropShape();
    for (int wave = 0; wave + 1 < waveCount; ++wave) {
        for (Shape* leaving : {&tilings[wave], &rings[wave], &curves[wave]}) {
            leaving->routes.emplace_back(offStage, offStage, 0.0f, 0.0f, offStageSeconds);
        }
    }

    std::vector<Shape> shapes;
    std::vector<float> startTimes;
    for (int wave = 0; wave < waveCount; ++wave) {
        for (const Shape* shape :
             {&titles[wave], &names[wave], &tilings[wave], &rings[wave], &curves[wave]}) {
            shapes.push_back(*shape);
            startTimes.push_back(waveStartTimes[wave]);
        }
        if (wave == 0) { // the backdrop follows the first wave
            shapes.push_back(backdrop);
            startTimes.push_back(waveStartTimes[wave]);
            generateBackdropTexture();
        }
    }

    scene.setContent(shapes, startTimes, makeLighting());
    scene.outro = scene4Outro;
    return scene;
}
