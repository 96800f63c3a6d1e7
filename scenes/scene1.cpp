// Scene 1: four squares slide into a block at the centre, two small ones sweep the edges, and
// four white lines grow out of the corners to frame the picture.
#include <algorithm>

#include <GL/glew.h>

#include "clock/demo_clock.h"
#include "gfx/immediate.h"
#include "scenes/scene_builders.h"
#include "shapes/builders.h"
#include "transitions/outros.h"

namespace {

enum class Axis { Vertical, Horizontal };

struct CornerLine {
    Vec2 anchor;
    Axis axis;
    int direction; // vertical: 1 grows down, else up; horizontal: 3 grows left, else right
};

constexpr CornerLine cornerLines[] = {
    {{-0.88f, 0.88f}, Axis::Vertical, 1},
    {{0.88f, -0.88f}, Axis::Vertical, 0},
    {{0.88f, 0.85f}, Axis::Horizontal, 3},
    {{-0.88f, -0.88f}, Axis::Horizontal, 2},
};
constexpr int cornerLineCount = 4;

static struct {
    DemoClock::Ticks growthStart[cornerLineCount];
    bool growing[cornerLineCount];
    unsigned drawCount[cornerLineCount];
} state;

constexpr float maxLineLength = 1.85f;

// Each line grows two units a second (divided by its param) from its own first update.
template <int index> void updateCornerLine(Shape* shape) {
    if (!state.growing[index]) {
        state.growing[index] = true;
        state.growthStart[index] = DemoClock::now();
    }
    const CornerLine& line = cornerLines[index];
    const float elapsed = DemoClock::secondsSince(state.growthStart[index]);
    const float length = 2.0f * elapsed / shape->param;
    Vec2& end = shape->vertices[1];
    if (line.axis == Axis::Vertical) {
        end.y = std::max(std::min(line.direction == 1 ? -length : length, maxLineLength),
                         -maxLineLength);
    } else {
        end.x = std::max(std::min(line.direction == 3 ? -length : length, maxLineLength),
                         -maxLineLength);
    }
}

// The line starts a tenth of a unit off its anchor: on the near side for the vertical lines,
// on the far side for the horizontal ones.
Vec2 startOffset(const CornerLine& line) {
    if (line.axis == Axis::Vertical) {
        return {0.0f, line.direction == 1 ? -0.1f : 0.1f};
    }
    return {line.direction == 2 ? -0.1f : 0.1f, 0.0f};
}

template <int index> void drawCornerLine(Shape* shape) {
    if (state.drawCount[index] == 0) {
        shape->vertices.push_back(cornerLines[index].anchor);
        shape->vertices.push_back({0.0f, 0.0f});
    }
    ++state.drawCount[index];
    const Vec2 origin = shape->vertices[0];
    const Vec2 from = startOffset(cornerLines[index]);
    const Vec2 to = shape->vertices[1];
    gfx::MatrixStack& matrices = gfx::modelview();
    matrices.push();
    matrices.translate(origin.x, origin.y, 0.0f);
    gfx::colour(1.0f, 1.0f, 1.0f);
    gfx::begin(gfx::Primitive::Lines);
    gfx::vertex(from.x, from.y);
    gfx::vertex(to.x, to.y);
    gfx::end();
    matrices.pop();
}

template <int index> Shape makeCornerLine() {
    return makeCallbackShape(drawCornerLine<index>, updateCornerLine<index>, 1.0f);
}

struct SquarePlan {
    Colour colour;
    float halfSize;
    Vec2 start, end;
    float startAngle, endAngle, duration;
};

const SquarePlan squares[] = {
    {colourFromBytes(44, 54, 57), 0.3f, {0.7f, 0.7f}, {0.3f, 0.3f}, 0, 360, 1.5f},
    {colourFromBytes(63, 78, 79), 0.3f, {0.7f, -0.7f}, {0.3f, -0.3f}, 0, 360, 1.0f},
    {colourFromBytes(162, 123, 92), 0.3f, {-0.8f, -0.3f}, {-0.3f, -0.3f}, 0, 0, 1.0f},
    {colourFromBytes(220, 215, 201), 0.3f, {-0.3f, 0.7f}, {-0.3f, 0.3f}, 0, 0, 1.0f},
    {colourFromBytes(63, 78, 79), 0.1f, {0.85f, 0.85f}, {-0.85f, 0.85f}, 0, 360, 1.0f},
    {colourFromBytes(63, 78, 79), 0.1f, {-0.85f, -0.85f}, {0.85f, -0.85f}, 0, 360, 1.0f},
};

} // namespace

Scene buildScene1() {
    Scene scene(scenePlayTimes[0]);
    std::vector<Shape> shapes;
    for (const SquarePlan& square : squares) {
        shapes.push_back(makeSquareShape(square.colour, square.start, square.end, square.startAngle,
                                         square.endAngle, square.duration, square.halfSize));
    }
    shapes.push_back(makeCornerLine<0>());
    shapes.push_back(makeCornerLine<1>());
    shapes.push_back(makeCornerLine<2>());
    shapes.push_back(makeCornerLine<3>());
    const std::vector<float> startTimes{0, 0, 0, 0, 1.5f, 1.5f, 2.5f, 2.5f, 3.5f, 3.5f};
    const float material[4] = {44.0f / 57.0f, 54.0f / 57.0f, 1.0f, 1.0f};
    const LightRoute light({-2, -1}, {2, 1}, 1.0f, 21.0f, 4.5f, material, GL_SMOOTH, GL_AMBIENT);
    scene.setContent(shapes, startTimes, light);
    scene.outro = scene1Outro;
    return scene;
}
