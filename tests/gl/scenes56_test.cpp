// Scenes 5 and 6 on real OpenGL: their Shapes and start times, their random draws, the frame
// hooks that turn the noise gradients and the point pairs, and what the shaders paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/scene_builders.h"
#include "shapes/builders.h"
#include "text/line_callbacks.h"
#include "text/text.h"
#include "transitions/outros.h"

namespace {

constexpr DemoClock::Ticks base = 9'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

// The first `count` numbers of the C generator's default sequence, which the production's
// unseeded builders consume; the generator is left at the start of that sequence.
std::vector<int> defaultSequence(int count) {
    std::srand(1);
    std::vector<int> values(count);
    for (int& value : values) {
        value = std::rand();
    }
    std::srand(1);
    return values;
}

constexpr double pi = 3.14159265358979323846;

// The signed angle, -pi to pi, that turns the direction of (fromX, fromY) onto (toX, toY).
double turnBetween(double fromX, double fromY, double toX, double toY) {
    return std::remainder(std::atan2(toY, toX) - std::atan2(fromY, fromX), 2 * pi);
}

void expectRoute(const Route& route, Vec2 from, Vec2 to, float fromAngle, float toAngle,
                 float duration) {
    EXPECT_EQ((Vec2{route.startX, route.startY}), from);
    EXPECT_EQ((Vec2{route.endX, route.endY}), to);
    EXPECT_EQ(route.startAngle, fromAngle);
    EXPECT_EQ(route.endAngle, toAngle);
    EXPECT_EQ(route.duration, duration);
}

void expectWhiteSquare(const Shape& square, float halfSize) {
    EXPECT_EQ(square.kind, ShapeKind::Quads);
    ASSERT_EQ(square.colours.size(), 1u);
    EXPECT_EQ(square.colours[0], (Colour{1.0f, 1.0f, 1.0f}));
    const std::vector<Vec2> corners{
        {-halfSize, -halfSize}, {halfSize, -halfSize}, {halfSize, halfSize}, {-halfSize, halfSize}};
    ASSERT_EQ(square.vertices.size(), 4u);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(square.vertices[c], corners[c]);
    }
    ASSERT_EQ(square.routes.size(), 1u);
}

void expectTextShape(const Shape& shape, ShapeCallback draw, float param) {
    EXPECT_EQ(shape.kind, ShapeKind::Callback);
    EXPECT_EQ(shape.drawCallback, draw);
    EXPECT_EQ(shape.updateCallback, keepStill);
    EXPECT_EQ(shape.param, param);
    EXPECT_TRUE(shape.vertices.empty());
    EXPECT_TRUE(shape.routes.empty());
}

void expectUniformsExist(const ShaderProgram& shader, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        EXPECT_GE(glGetUniformLocation(shader.program, name.c_str()), 0) << name;
    }
}

class Scenes56Test : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override {
        glUseProgram(0);
        DemoClock::setSource(nullptr);
    }
};

// ---- Scene 5 ----

constexpr int gradientCount = 169;
constexpr int firstGreeting = 2;
constexpr int squareIndex = 10;
constexpr int panelIndex = 11;

TEST_F(Scenes56Test, Scene5HasBoxesTextSquareAndPanelWithTheirStartTimes) {
    const Scene scene = buildScene5();
    EXPECT_EQ(scene.duration, 31.65f);
    ASSERT_EQ(scene.shapes.size(), 12u);
    ASSERT_EQ(scene.startTimes.size(), 12u);

    const Shape& boxes = scene.shapes[0];
    EXPECT_EQ(boxes.kind, ShapeKind::Quads);
    EXPECT_EQ(boxes.vertices.size(), 36u * 12);
    EXPECT_TRUE(boxes.colours.empty());
    EXPECT_EQ(boxes.x, -1.0f);
    EXPECT_EQ(boxes.y, 0.2f);
    ASSERT_EQ(boxes.routes.size(), 1u);
    expectRoute(boxes.routes[0], {-1.0f, 0.2f}, {-1.0f, 0.2f}, 0.0f, 0.0f, 10.0f);

    expectTextShape(scene.shapes[1], drawRespectHeading, 2.0f);
    for (int g = 0; g < 8; ++g) {
        SCOPED_TRACE("greeting " + std::to_string(g + 1));
        expectTextShape(scene.shapes[firstGreeting + g], greetGroupDrawCallbacks[g], 2.0f);
    }

    const Shape& square = scene.shapes[squareIndex];
    expectWhiteSquare(square, 0.25f);
    expectRoute(square.routes[0], {-0.51f, -0.51f}, {-0.51f, -0.51f}, 0.0f, 720.0f, 25.0f);

    const Shape& panel = scene.shapes[panelIndex];
    EXPECT_EQ(panel.kind, ShapeKind::Callback);
    EXPECT_NE(panel.drawCallback, nullptr);
    EXPECT_EQ(panel.param, 31.65f);

    // Heading and boxes at once, the square and the panel soon after, and the greetings one
    // every 3.5 s from 3.3 s on, each step added in single precision.
    EXPECT_EQ(scene.startTimes[0], 0.0f);
    EXPECT_EQ(scene.startTimes[1], 0.0f);
    EXPECT_EQ(scene.startTimes[squareIndex], 1.7f);
    EXPECT_EQ(scene.startTimes[panelIndex], 2.1f);
    float greetingStart = 3.3f;
    for (int g = 0; g < 8; ++g) {
        EXPECT_EQ(scene.startTimes[firstGreeting + g], greetingStart) << "greeting " << g + 1;
        EXPECT_NEAR(scene.startTimes[firstGreeting + g], 3.3 + 3.5 * g, 1e-5);
        greetingStart += 3.5f;
    }
    EXPECT_LT(scene.startTimes[firstGreeting + 7], scene.duration);

    EXPECT_EQ(scene.lighting.shadeModel, static_cast<std::uint32_t>(GL_SMOOTH));
    EXPECT_EQ(scene.lighting.materialParameter, static_cast<std::uint32_t>(GL_DIFFUSE));
    expectRoute(scene.lighting.route, {-1.0f, 0.0f}, {1.0f, -1.0f}, 15.0f, 10.0f, 27.05f);
    EXPECT_EQ(scene.lighting.materialColour[0], 1.0f);
    EXPECT_NEAR(scene.lighting.materialColour[1], 0.9481481f, 1e-7);
    EXPECT_NEAR(scene.lighting.materialColour[2], 0.6962963f, 1e-7);
    EXPECT_EQ(scene.lighting.materialColour[3], 1.0f);
    EXPECT_EQ(scene.outro, scene5Outro);
    EXPECT_NE(scene.frameHook, nullptr);
}

TEST_F(Scenes56Test, Scene5RegistersTimeAndTwoGradientArraysOnAFragmentOnlyProgram) {
    const Scene scene = buildScene5();
    ASSERT_TRUE(scene.hasShader);
    EXPECT_NE(scene.shader.program, 0u);
    EXPECT_EQ(scene.shader.vertexShader, 0u);
    EXPECT_NE(scene.shader.fragmentShader, 0u);
    EXPECT_EQ(scene.shader.floatUniformNames, std::vector<std::string>{"u_time"});
    ASSERT_EQ(scene.shader.floatUniforms.size(), 1u);
    EXPECT_EQ(*scene.shader.floatUniforms[0], 0.0f);
    EXPECT_EQ(scene.shader.arrayUniformNames,
              (std::vector<std::string>{"gradient_x", "gradient_y"}));
    EXPECT_EQ(scene.shader.arrayUniformCounts, (std::vector<int>{169, 169}));
    ASSERT_EQ(scene.shader.arrayUniforms.size(), 2u);
    EXPECT_TRUE(scene.shader.vec2Uniforms.empty());
    expectUniformsExist(scene.shader, {"u_time", "gradient_x", "gradient_y"});
}

TEST_F(Scenes56Test, Scene5DrawsAllXComponentsThenAllYComponentsIntoUnitGradients) {
    const std::vector<int> sequence = defaultSequence(2 * gradientCount + 1);
    const Scene scene = buildScene5();
    EXPECT_EQ(std::rand(), sequence[2 * gradientCount]) << "the builder draws exactly 338";

    const float* gx = scene.shader.arrayUniforms[0];
    const float* gy = scene.shader.arrayUniforms[1];
    for (int k = 0; k < gradientCount; ++k) {
        const double x = (sequence[k] % 16383) / 16383.0 - 0.5;
        const double y = (sequence[gradientCount + k] % 16383) / 16383.0 - 0.5;
        const double length = std::hypot(x, y);
        ASSERT_GT(length, 0.0);
        EXPECT_NEAR(gx[k], x / length, 1e-6) << "gradient " << k;
        EXPECT_NEAR(gy[k], y / length, 1e-6) << "gradient " << k;
        EXPECT_NEAR(std::hypot(gx[k], gy[k]), 1.0, 1e-6) << "gradient " << k;
    }
}

// The turn of every gradient from `before` to the current arrays.
std::vector<double> gradientTurns(const Scene& scene, const std::vector<float>& beforeX,
                                  const std::vector<float>& beforeY) {
    std::vector<double> turns(gradientCount);
    for (int k = 0; k < gradientCount; ++k) {
        turns[k] = turnBetween(beforeX[k], beforeY[k], scene.shader.arrayUniforms[0][k],
                               scene.shader.arrayUniforms[1][k]);
    }
    return turns;
}

TEST_F(Scenes56Test, Scene5HookTurnsNothingFirstThenTurnsNeighboursAlongTheSignPattern) {
    Scene scene = buildScene5();
    float* const time = scene.shader.floatUniforms[0];
    const float* gx = scene.shader.arrayUniforms[0];
    const float* gy = scene.shader.arrayUniforms[1];
    const std::vector<float> builtX(gx, gx + gradientCount), builtY(gy, gy + gradientCount);

    DemoClock::setManualTime(at(4.0));
    scene.frameHook();
    EXPECT_EQ(*time, 0.0f) << "the clock starts at the hook's first call";
    EXPECT_EQ(std::vector<float>(gx, gx + gradientCount), builtX) << "sin 0 turns nothing";
    EXPECT_EQ(std::vector<float>(gy, gy + gradientCount), builtY);

    // At t = 1.5 s, |sin t| is nearly 1: every gradient turns by about 1/150 radian.
    DemoClock::setManualTime(at(5.5));
    scene.frameHook();
    EXPECT_EQ(*time, 1.5f);
    const double expectedTurn = std::fabs(std::sin(1.5)) / 150;
    const std::vector<double> turns = gradientTurns(scene, builtX, builtY);
    EXPECT_GT(turns[0], 0.0) << "the first gradient turns counter-clockwise";
    for (int k = 0; k < gradientCount; ++k) {
        EXPECT_NEAR(std::fabs(turns[k]), expectedTurn, 1e-6) << "gradient " << k;
        EXPECT_NEAR(std::hypot(gx[k], gy[k]), 1.0, 1e-6) << "gradient " << k;
    }
    // Columns 5 to 9 pass the opposite direction on to their right-hand neighbour; the others,
    // including the end of one row to the start of the next, pass on their own.
    for (int k = 1; k < gradientCount; ++k) {
        const int previousColumn = (k - 1) % 13;
        const bool flipped = previousColumn >= 5 && previousColumn <= 9;
        EXPECT_EQ(turns[k] * turns[k - 1] < 0, flipped) << "gradients " << k - 1 << ", " << k;
    }

    // The turns accumulate: a second frame at the same moment turns everything as far again.
    const std::vector<float> onceX(gx, gx + gradientCount), onceY(gy, gy + gradientCount);
    scene.frameHook();
    const std::vector<double> again = gradientTurns(scene, onceX, onceY);
    for (int k = 0; k < gradientCount; ++k) {
        EXPECT_NEAR(again[k], turns[k], 1e-6) << "gradient " << k;
    }
}

// The gradient-noise field at the centre of a pixel, 0 to 255 per channel; empty where a corner
// of the pixel's cell lies past the 169 gradients, or where the pixel is too close to a cell
// edge for the clamped corners to agree between single and double precision.
std::vector<double> noiseColour(int column, int row, const ShaderProgram& shader) {
    const double sx = (column + 0.5) / 640.0, sy = (row + 0.5) / 480.0;
    const double ix = std::floor(13 * sx), iy = std::floor(13 * (1 - sy));
    const double u = 13 * sx - ix, v = 13 * (1 - sy) - iy;
    if (u < 0.02 || u > 0.98 || v < 0.02 || v > 0.98) {
        return {};
    }
    const float* gx = shader.arrayUniforms[0];
    const float* gy = shader.arrayUniforms[1];
    bool outside = false;
    auto corner = [&](double cx, double cy, double floor) {
        const int k = static_cast<int>(13 * cy + cx);
        if (k >= gradientCount) {
            outside = true;
            return 0.0;
        }
        const double d = gx[k] * (sx - cx / 13) + gy[k] * (sy - (1 - cy / 13));
        return std::clamp((d + 1) / 2, floor, 1.0);
    };
    const double topLeft = corner(ix, iy, 0.21), topRight = corner(ix + 1, iy, 0.33);
    const double bottomRight = corner(ix + 1, iy + 1, 0.25);
    const double bottomLeft = corner(ix, iy + 1, 0.30);
    if (outside) {
        return {};
    }
    const double val = std::clamp((1 - u) * (1 - v) * topLeft + u * (1 - v) * topRight +
                                      u * v * bottomRight + (1 - u) * v * bottomLeft,
                                  0.33, 1.0);
    const double time = *shader.floatUniforms[0];
    return {255 * val * std::fabs(std::sin(sx)), 255 * val * std::fabs(std::cos(sy)),
            255 * std::clamp(val * std::fabs(std::cos(time)), 0.5, 1.0)};
}

void expectNoiseColour(const std::vector<std::uint8_t>& pixels, int column, int row,
                       const ShaderProgram& shader) {
    const Rgb p = pixelAt(pixels, column, row);
    const std::vector<double> expected = noiseColour(column, row, shader);
    ASSERT_EQ(expected.size(), 3u) << "pick a pixel inside a cell: " << column << "," << row;
    EXPECT_NEAR(p.r, expected[0], 2.0) << column << "," << row;
    EXPECT_NEAR(p.g, expected[1], 2.0) << column << "," << row;
    EXPECT_NEAR(p.b, expected[2], 2.0) << column << "," << row;
}

// Window pixels covered by a box of the drawing space, with a margin of `margin` pixels.
struct PixelBox {
    int left, right, bottom, top;
    bool contains(int column, int row) const {
        return column >= left && column <= right && row >= bottom && row <= top;
    }
};
PixelBox pixelBox(float x0, float y0, float x1, float y1, int margin) {
    return {static_cast<int>(std::floor((x0 + 1) * 320)) - margin,
            static_cast<int>(std::ceil((x1 + 1) * 320)) + margin,
            static_cast<int>(std::floor((y0 + 1) * 240)) - margin,
            static_cast<int>(std::ceil((y1 + 1) * 240)) + margin};
}

TEST_F(Scenes56Test, Scene5ShowsBoxesSquareAndPanelInTheNoiseColoursAndBlackElsewhere) {
    Scene scene = buildScene5();
    scene.start();
    scene.update(); // the hook's clock starts here
    // At 2.2 s the square and the panel have joined the boxes and the heading; the greetings
    // have not started.
    DemoClock::setManualTime(at(2.2));
    scene.activateShapes();
    scene.update();
    ASSERT_FLOAT_EQ(*scene.shader.floatUniforms[0], 2.2f);
    resetFrame();
    scene.draw();
    glFinish();
    const auto pixels = readBackBuffer();
    const ShaderProgram& shader = scene.shader;

    // The panel covers the right quarter, columns 480 to 639, in the field's colours: blue
    // never falls below half.
    int checkedInPanel = 0;
    for (int row = 0; row < 480; ++row) {
        for (int column = 480; column < 640; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            ASSERT_GE(p.b, 127) << column << "," << row;
            if (column % 11 == 0 && row % 13 == 0 && !noiseColour(column, row, shader).empty()) {
                expectNoiseColour(pixels, column, row, shader);
                ++checkedInPanel;
            }
        }
    }
    EXPECT_GT(checkedInPanel, 200);
    EXPECT_TRUE(isBlack(pixelAt(pixels, 478, 10))) << "the panel starts at x = 0.5";

    // The first box stands across the line at (-1 + 1/12, 0.2); the square waits at
    // (-0.51, -0.51). Both show the field, not their own colour.
    expectNoiseColour(pixels, 26, 288, shader);
    expectNoiseColour(pixels, 157, 118, shader);
    EXPECT_LT(pixelAt(pixels, 157, 118).r, 250) << "the white square takes the field's colour";

    // Everywhere else, where nothing is drawn, the screen stays black.
    float lowest = 1, highest = -1;
    for (const Vec2& corner : scene.shapes[0].vertices) {
        lowest = std::min(lowest, corner.y);
        highest = std::max(highest, corner.y);
    }
    const PixelBox drawn[] = {
        pixelBox(-1.0f, 0.2f + lowest, 0.5f, 0.2f + highest, 2), // boxes
        pixelBox(-0.76f, -0.76f, -0.26f, -0.26f, 2),             // square
        pixelBox(-0.47f, 0.71f - 0.03f, 0.2f, 0.71f + 0.1f, 2),  // heading
        pixelBox(0.5f, -1.0f, 1.0f, 1.0f, 1),                    // panel
    };
    int boxPixels = 0, stray = 0;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const bool covered =
                std::any_of(std::begin(drawn), std::end(drawn),
                            [&](const PixelBox& b) { return b.contains(column, row); });
            const bool lit = !isBlack(pixelAt(pixels, column, row));
            stray += lit && !covered ? 1 : 0;
            boxPixels += lit && drawn[0].contains(column, row) && column < 470 ? 1 : 0;
        }
    }
    EXPECT_EQ(stray, 0);
    // 36 boxes of 1/18 by 1/18 are about 18 by 13 pixels each.
    EXPECT_GT(boxPixels, 36 * 17 * 12);
}

// ---- Scene 6 ----

constexpr int pairCount = 50;

TEST_F(Scenes56Test, Scene6HasFourTextLinesAndAFullScreenSquareAllFromTheStart) {
    const Scene scene = buildScene6();
    EXPECT_EQ(scene.duration, 10.55f);
    ASSERT_EQ(scene.shapes.size(), 5u);
    EXPECT_EQ(scene.startTimes, std::vector<float>(5, 0.0f));

    expectTextShape(scene.shapes[0], drawReleaseLine, 15.0f);
    expectTextShape(scene.shapes[1], drawPersonalGreetHeading, 15.0f);
    expectTextShape(scene.shapes[2], drawPersonalGreetLine1, 15.0f);
    expectTextShape(scene.shapes[3], drawPersonalGreetLine2, 15.0f);
    expectWhiteSquare(scene.shapes[4], 1.0f);
    expectRoute(scene.shapes[4].routes[0], {0, 0}, {0, 0}, 0.0f, 0.0f, 15.0f);

    EXPECT_EQ(scene.lighting.shadeModel, static_cast<std::uint32_t>(GL_FLAT));
    EXPECT_EQ(scene.lighting.materialParameter, static_cast<std::uint32_t>(GL_DIFFUSE));
    expectRoute(scene.lighting.route, {-5.0f, -5.0f}, {-5.0f, 0.0f}, 5.0f, 10.0f, 15.05f);
    EXPECT_NEAR(scene.lighting.materialColour[0], 0.5294118f, 1e-7);
    EXPECT_NEAR(scene.lighting.materialColour[1], 0.5019608f, 1e-7);
    EXPECT_NEAR(scene.lighting.materialColour[2], 0.36862746f, 1e-7);
    EXPECT_EQ(scene.lighting.materialColour[3], 1.0f);
    EXPECT_EQ(scene.outro, scene6Outro);
    EXPECT_NE(scene.frameHook, nullptr);
}

TEST_F(Scenes56Test, Scene6RegistersFourPointArraysWithTheSharedVertexStage) {
    const Scene scene = buildScene6();
    ASSERT_TRUE(scene.hasShader);
    EXPECT_NE(scene.shader.program, 0u);
    EXPECT_NE(scene.shader.vertexShader, 0u);
    EXPECT_EQ(scene.shader.geometryShader, 0u);
    EXPECT_NE(scene.shader.fragmentShader, 0u);
    const std::vector<std::string> names{"random_x_0", "random_y_0", "random_x_1", "random_y_1"};
    EXPECT_EQ(scene.shader.arrayUniformNames, names);
    EXPECT_EQ(scene.shader.arrayUniformCounts, std::vector<int>(4, pairCount));
    EXPECT_EQ(scene.shader.arrayUniforms.size(), 4u);
    EXPECT_TRUE(scene.shader.floatUniforms.empty());
    EXPECT_TRUE(scene.shader.vec2Uniforms.empty());
    expectUniformsExist(scene.shader, names);
}

TEST_F(Scenes56Test, Scene6DrawsExactly200NumbersOneArrayAfterAnother) {
    const std::vector<int> sequence = defaultSequence(4 * pairCount + 1);
    const Scene scene = buildScene6();
    EXPECT_EQ(std::rand(), sequence[4 * pairCount]) << "the builder draws exactly 200";

    std::set<float> allowed;
    for (int k = 0; k <= 50; ++k) {
        allowed.insert(static_cast<float>(k / 51.0 - 0.5));
    }
    for (int a = 0; a < 4; ++a) {
        for (int i = 0; i < pairCount; ++i) {
            const float value = scene.shader.arrayUniforms[a][i];
            EXPECT_EQ(allowed.count(value), 1u)
                << scene.shader.arrayUniformNames[a] << "[" << i << "] = " << value;
            EXPECT_EQ(value, static_cast<float>((sequence[pairCount * a + i] % 51) / 51.0 - 0.5))
                << scene.shader.arrayUniformNames[a] << "[" << i << "]";
        }
    }
}

TEST_F(Scenes56Test, Scene6HookTurnsNothingFirstThenEvenAndOddPairsOppositeWays) {
    Scene scene = buildScene6();
    const std::vector<float*>& arrays = scene.shader.arrayUniforms;
    std::vector<std::vector<float>> built;
    for (const float* array : arrays) {
        built.emplace_back(array, array + pairCount);
    }

    DemoClock::setManualTime(at(2.0));
    scene.frameHook();
    for (int a = 0; a < 4; ++a) {
        EXPECT_EQ(std::vector<float>(arrays[a], arrays[a] + pairCount), built[a])
            << "sin 0 turns nothing: " << scene.shader.arrayUniformNames[a];
    }

    DemoClock::setManualTime(at(3.5)); // t = 1.5 s, |sin t| nearly 1
    scene.frameHook();
    const double expectedTurn = std::fabs(std::sin(1.5)) / 300;
    std::vector<double> pairTurns(pairCount);
    for (int i = 0; i < pairCount; ++i) {
        SCOPED_TRACE("pair " + std::to_string(i));
        const double first = turnBetween(built[0][i], built[1][i], arrays[0][i], arrays[1][i]);
        const double second = turnBetween(built[2][i], built[3][i], arrays[2][i], arrays[3][i]);
        // Even pairs counter-clockwise, odd pairs clockwise, both points alike.
        const double expected = i % 2 == 0 ? expectedTurn : -expectedTurn;
        EXPECT_NEAR(first, expected, 2e-5);
        EXPECT_NEAR(second, expected, 2e-5);
        EXPECT_NEAR(std::hypot(arrays[0][i] - arrays[2][i], arrays[1][i] - arrays[3][i]),
                    std::hypot(built[0][i] - built[2][i], built[1][i] - built[3][i]), 1e-6)
            << "the points of a pair keep their distance";
        pairTurns[i] = first;
    }
    EXPECT_NEAR(pairTurns[0], -pairTurns[1], 2e-5) << "pairs 0 and 1 turn opposite ways alike";
}

// The random-source field's grey level at the centre of a pixel, 0 to 1; negative where a pair's
// two distances are too close to call.
double randomFieldLevel(int column, int row, const std::vector<float*>& arrays) {
    const double px = (column + 0.5) / 640.0 - 0.5, py = (row + 0.5) / 480.0 - 0.5;
    int votes = 0;
    for (int i = 0; i < pairCount; ++i) {
        const double d0 = std::hypot(px - arrays[0][i], py - arrays[1][i]);
        const double d1 = std::hypot(px - arrays[2][i], py - arrays[3][i]);
        if (std::fabs(d0 - d1) < 1e-5) {
            return -1;
        }
        votes += d0 < d1 ? -1 : 1;
    }
    return std::clamp(0.66 + votes * 0.04, 0.0, 1.0);
}

TEST_F(Scenes56Test, Scene6FirstFrameShowsTheRandomPointFieldOverTheWholeScreen) {
    Scene scene = buildScene6();
    scene.start();
    resetFrame();
    scene.draw();
    glFinish();
    const auto pixels = readBackBuffer();

    int compared = 0, mismatched = 0;
    std::set<int> levels;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            ASSERT_TRUE(p.r == p.g && p.g == p.b) << "grey at " << column << "," << row;
            const double level = randomFieldLevel(column, row, scene.shader.arrayUniforms);
            if (level < 0) {
                continue;
            }
            ++compared;
            levels.insert(byteLevel(static_cast<float>(level)));
            mismatched += std::abs(p.r - 255 * level) > 1.5 ? 1 : 0;
        }
    }
    // Only the pixels on a pair's bisector are left out.
    EXPECT_GT(compared, 640 * 480 * 95 / 100);
    EXPECT_EQ(mismatched, 0);
    EXPECT_GE(levels.size(), 5u) << "the field has edges of many pairs";
}

} // namespace
