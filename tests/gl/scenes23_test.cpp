// Scenes 2 and 3 on real OpenGL: their random draws, the strokes' and rectangles' paths, the
// breathing outlines, the blob centres, and what the shaders paint on the first frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/scene_builders.h"

namespace {

constexpr DemoClock::Ticks base = 7'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

constexpr double pi = 3.14159265358979323846;

// The first `count` numbers of the C generator's default sequence, which the production's
// unseeded builders consume.
std::vector<int> defaultSequence(int count, unsigned seed = 1) {
    std::srand(seed);
    std::vector<int> values(count);
    for (int& value : values) {
        value = std::rand();
    }
    std::srand(seed);
    return values;
}

// Activates a copy of a route-driven Shape at `base` and steps it at 60 frames a second for
// `seconds`, calling `onFrame` after every step.
template <typename OnFrame> Shape runShape(Shape shape, double seconds, OnFrame onFrame) {
    DemoClock::setManualTime(base);
    shape.routes[0].start();
    for (int frame = 0; frame <= static_cast<int>(seconds * 60.0); ++frame) {
        DemoClock::setManualTime(at(frame / 60.0));
        stepShape(shape);
        onFrame(shape);
    }
    return shape;
}
Shape runShape(const Shape& shape, double seconds) {
    return runShape(shape, seconds, [](const Shape&) {});
}

// Draws the Scene's first frame, as the timeline does right after start().
std::vector<std::uint8_t> drawFirstFrame(Scene& scene) {
    DemoClock::setManualTime(base);
    scene.start();
    resetFrame();
    scene.draw();
    glFinish();
    std::vector<std::uint8_t> pixels = readBackBuffer();
    glUseProgram(0);
    return pixels;
}

class ScenesTest : public testing::Test {
  protected:
    void SetUp() override { DemoClock::setManualTime(base); }
    void TearDown() override { DemoClock::setSource(nullptr); }
};

// ---- Scene 2 ----

constexpr int strokeCount = 49;
constexpr int firstStroke = 1;
constexpr int firstOutline = 50;

TEST_F(ScenesTest, Scene2HasTitleStrokesAndOutlinesWithTheirStartTimes) {
    const Scene scene = buildScene2();
    EXPECT_EQ(scene.duration, 11.0f);
    ASSERT_EQ(scene.shapes.size(), 53u);
    ASSERT_EQ(scene.startTimes.size(), 53u);

    EXPECT_EQ(scene.shapes[0].kind, ShapeKind::Callback);
    EXPECT_EQ(scene.shapes[0].param, 2.0f);
    EXPECT_EQ(scene.startTimes[0], 0.0f);

    for (int k = 0; k < strokeCount; ++k) {
        const Shape& stroke = scene.shapes[firstStroke + k];
        EXPECT_EQ(stroke.kind, ShapeKind::Lines);
        ASSERT_EQ(stroke.colours.size(), 1u);
        EXPECT_NEAR(stroke.colours[0].r, 135 / 255.0, 1e-6);
        EXPECT_NEAR(stroke.colours[0].g, 128 / 255.0, 1e-6);
        EXPECT_NEAR(stroke.colours[0].b, 94 / 255.0, 1e-6);
        ASSERT_EQ(stroke.vertices.size(), 2u);
        EXPECT_EQ(stroke.vertices[0], (Vec2{-0.1f, 0.0f}));
        EXPECT_EQ(stroke.vertices[1], (Vec2{0.1f, 0.0f}));
        ASSERT_EQ(stroke.routes.size(), 2u);
        EXPECT_EQ(stroke.routes[0].duration, 0.5f);
        EXPECT_EQ(stroke.routes[1].duration, 0.5f);
        EXPECT_NEAR(scene.startTimes[firstStroke + k], 1.5 + 0.21 * k, 1e-4) << "stroke " << k;
    }
    // Stroke 45 is the last to appear; the last three start after the Scene has ended.
    EXPECT_LT(scene.startTimes[firstStroke + 45], scene.duration);
    for (int k = 46; k < strokeCount; ++k) {
        EXPECT_GT(scene.startTimes[firstStroke + k], scene.duration) << "stroke " << k;
    }

    for (int i = firstOutline; i < 53; ++i) {
        EXPECT_EQ(scene.shapes[i].kind, ShapeKind::Callback);
        EXPECT_EQ(scene.shapes[i].param, 0.0f);
        EXPECT_TRUE(scene.shapes[i].vertices.empty());
        EXPECT_EQ(scene.startTimes[i], 0.0f);
    }
    EXPECT_EQ(scene.shapes[50].drawCallback, scene.shapes[51].drawCallback);
    EXPECT_EQ(scene.shapes[50].drawCallback, scene.shapes[52].drawCallback);
    EXPECT_NE(scene.shapes[50].updateCallback, scene.shapes[51].updateCallback);
    EXPECT_NE(scene.shapes[51].updateCallback, scene.shapes[52].updateCallback);

    EXPECT_NE(scene.outro, nullptr);
    EXPECT_NE(scene.frameHook, nullptr);
    EXPECT_EQ(scene.lighting.shadeModel, static_cast<std::uint32_t>(GL_FLAT));
    EXPECT_EQ(scene.lighting.route.duration, 22.5f); // outlasts the Scene: the light stops half way
}

TEST_F(ScenesTest, Scene2RegistersTheBlobUniformsInOrderOnAFragmentOnlyProgram) {
    const Scene scene = buildScene2();
    ASSERT_TRUE(scene.hasShader);
    EXPECT_NE(scene.shader.program, 0u);
    EXPECT_EQ(scene.shader.vertexShader, 0u);
    EXPECT_NE(scene.shader.fragmentShader, 0u);
    const std::vector<std::string> names{"u_time",     "center_x",   "center_y",  "center_x_1",
                                         "center_y_1", "center_x_2", "center_y_2"};
    EXPECT_EQ(scene.shader.floatUniformNames, names);
    ASSERT_EQ(scene.shader.floatUniforms.size(), names.size());
    // Every name is one the linked shader really has, so each upload reaches it.
    for (const std::string& name : names) {
        EXPECT_GE(glGetUniformLocation(scene.shader.program, name.c_str()), 0) << name;
    }
    EXPECT_TRUE(scene.shader.vec2Uniforms.empty());
    EXPECT_TRUE(scene.shader.arrayUniforms.empty());
}

TEST_F(ScenesTest, Scene2DrawsTwoNumbersPerStrokeThenSixForTheBlobCentres) {
    const std::vector<int> sequence = defaultSequence(105);
    const Scene scene = buildScene2();
    EXPECT_EQ(std::rand(), sequence[104]) << "the builder draws exactly 104 numbers";

    for (int k = 0; k < strokeCount; ++k) {
        const float spin = static_cast<float>(sequence[2 * k + 1] % 480);
        const Shape& stroke = scene.shapes[firstStroke + k];
        EXPECT_EQ(stroke.routes[0].startAngle, 0.0f);
        EXPECT_EQ(stroke.routes[0].endAngle, spin) << "stroke " << k;
        EXPECT_EQ(stroke.routes[1].startAngle, spin);
        EXPECT_EQ(stroke.routes[1].endAngle, spin + 240.0f);
    }
    // Numbers 99 to 104 of the sequence, in the order the uniforms are registered after u_time.
    const std::vector<float*>& uniforms = scene.shader.floatUniforms;
    for (int c = 0; c < 6; ++c) {
        const float expected = static_cast<float>((sequence[98 + c] % 255) / 255.0 - 0.5);
        EXPECT_EQ(*uniforms[1 + c], expected) << scene.shader.floatUniformNames[1 + c];
        EXPECT_GE(*uniforms[1 + c], -0.5f);
        EXPECT_LE(*uniforms[1 + c], 0.4961f);
    }
    EXPECT_EQ(*uniforms[0], 0.0f); // the clock has not run yet
}

TEST_F(ScenesTest, Scene2StrokesFallSwingAndSettleOnTheirGridPoints) {
    const std::vector<int> sequence = defaultSequence(98);
    const Scene scene = buildScene2();
    for (int row = 0; row < 7; ++row) {
        for (int column = 0; column < 7; ++column) {
            const int k = 7 * row + column;
            const float spin = static_cast<float>(sequence[2 * k + 1] % 480);
            const double gridX = column / 3.0 - 1.0;
            const double gridY = row / 3.0 - 1.0;
            bool sawTop = false, sawSwingPoint = false;
            const Shape landed =
                runShape(scene.shapes[firstStroke + k], 1.2, [&](const Shape& stroke) {
                    sawTop = sawTop || (stroke.y == 1.0f && stroke.angle == 0.0f &&
                                        std::fabs(stroke.x - gridX) < 1e-6);
                    sawSwingPoint =
                        sawSwingPoint || (stroke.routeIndex == 0 && stroke.angle == spin &&
                                          std::fabs(stroke.x - (gridX + 1 / 3.0)) < 1e-6 &&
                                          std::fabs(stroke.y - (gridY - 1 / 3.0)) < 1e-6);
                });
            EXPECT_TRUE(sawTop) << "stroke " << k << " starts at the top edge above its column";
            EXPECT_TRUE(sawSwingPoint) << "stroke " << k << " swings past its grid point";
            EXPECT_EQ(landed.routeIndex, 1u);
            EXPECT_NEAR(landed.x, gridX, 1e-6) << "stroke " << k;
            EXPECT_NEAR(landed.y, gridY, 1e-6) << "stroke " << k;
            EXPECT_EQ(landed.angle, spin + 240.0f) << "stroke " << k;
        }
    }
}

TEST_F(ScenesTest, Scene2FrameHookRunsTheClockFromItsFirstCallAndTurnsTheCentresPerFrame) {
    Scene scene = buildScene2();
    const std::vector<float*>& uniforms = scene.shader.floatUniforms;
    std::vector<double> radius(3), angle(3);
    for (int c = 0; c < 3; ++c) {
        const double x = *uniforms[1 + 2 * c], y = *uniforms[2 + 2 * c];
        radius[c] = std::hypot(x, y);
        angle[c] = std::atan2(y, x);
    }

    DemoClock::setManualTime(at(3.0));
    scene.frameHook();
    EXPECT_EQ(*uniforms[0], 0.0f) << "the clock starts at the hook's first call";
    DemoClock::setManualTime(at(5.5));
    scene.frameHook();
    EXPECT_FLOAT_EQ(*uniforms[0], 2.5f);
    DemoClock::setManualTime(at(5.5));
    scene.frameHook(); // a third frame at the same moment: the centres turn all the same

    for (int c = 0; c < 3; ++c) {
        const double x = *uniforms[1 + 2 * c], y = *uniforms[2 + 2 * c];
        EXPECT_NEAR(std::hypot(x, y), radius[c], 1e-5);
        if (radius[c] > 0.05) { // the turn of a centre very near the middle is lost in rounding
            double turned = std::atan2(y, x) - angle[c];
            turned = std::remainder(turned, 2 * pi);
            EXPECT_NEAR(turned, 3 * 0.0005, 2e-5) << "centre " << c;
        }
    }
}

// Runs Scene 2's clock to `seconds` and updates the three outlines.
void updateOutlinesAt(Scene& scene, double seconds) {
    DemoClock::setManualTime(base);
    scene.frameHook();
    DemoClock::setManualTime(at(seconds));
    scene.frameHook();
    for (int i = firstOutline; i < 53; ++i) {
        scene.shapes[i].updateCallback(&scene.shapes[i]);
    }
}

TEST_F(ScenesTest, Scene2OutlinesCollapseWhenTheirWidthVanishes) {
    Scene scene = buildScene2();
    updateOutlinesAt(scene, pi / 2); // |cos t| = 0: no width
    for (int i = firstOutline; i < 53; ++i) {
        ASSERT_EQ(scene.shapes[i].vertices.size(), 4u);
        for (const Vec2& corner : scene.shapes[i].vertices) {
            EXPECT_NEAR(corner.x, 0.0f, 1e-6) << "outline " << i;
        }
    }
    // The first two keep their height and become vertical segments; the third, whose height also
    // follows |cos t|, shrinks to the origin.
    EXPECT_GT(scene.shapes[50].vertices[2].y, 0.4f);
    EXPECT_GT(scene.shapes[51].vertices[2].y, 0.5f);
    for (const Vec2& corner : scene.shapes[52].vertices) {
        EXPECT_NEAR(corner.y, 0.0f, 1e-6);
    }
}

TEST_F(ScenesTest, Scene2OutlineTopEdgeStopsAtHalfItsWidth) {
    Scene scene = buildScene2();
    // The third outline turns at 0.5 from π/5: at t = 8π/5 its angle is π, where |sin| is 0 and
    // |cos| is 1.
    const double t = 8 * pi / 5;
    updateOutlinesAt(scene, t);
    const double width = 0.7 * std::fabs(std::cos(t));
    const double height = 0.5 * std::fabs(std::cos(t));
    const std::vector<Vec2>& corners = scene.shapes[52].vertices;
    ASSERT_EQ(corners.size(), 4u);
    EXPECT_NEAR(corners[0].x, -width, 1e-5);
    EXPECT_NEAR(corners[0].y, -height, 1e-5);
    EXPECT_NEAR(corners[1].x, width, 1e-5);
    EXPECT_NEAR(corners[1].y, -height, 1e-5);
    EXPECT_NEAR(corners[2].x, width * width / 2, 1e-5);
    EXPECT_NEAR(corners[2].y, width * height / 2, 1e-5);
    EXPECT_NEAR(corners[3].x, -width * width / 2, 1e-5);
    EXPECT_NEAR(corners[3].y, width * height / 2, 1e-5);
}

TEST_F(ScenesTest, Scene2OutlineIsDrawnAsLinesAndLeavesPolygonsFilled) {
    Scene scene = buildScene2();
    Shape& outline = scene.shapes[firstOutline];
    resetFrame();
    outline.drawCallback(&outline); // no vertices before its first update: nothing drawn
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    EXPECT_TRUE(isBlack(pixelAt(readBackBuffer(), 320, 240)));

    outline.vertices = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}};
    glColor3f(1, 1, 1);
    outline.drawCallback(&outline);
    glFinish();
    const auto pixels = readBackBuffer();
    EXPECT_TRUE(isBlack(pixelAt(pixels, 320, 240))) << "the inside stays empty";
    int edgeRows = 0;
    for (int row = 100; row < 380; ++row) {
        edgeRows += isBlack(pixelAt(pixels, 160, row)) && isBlack(pixelAt(pixels, 159, row)) &&
                            isBlack(pixelAt(pixels, 161, row))
                        ? 0
                        : 1;
    }
    EXPECT_GT(edgeRows, 200) << "the left edge at x = -0.5 is drawn";
    GLint modes[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);
    EXPECT_EQ(modes[1], GL_FILL);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

// The radial-blob field at a pixel, 0 to 255 per channel.
std::vector<double> blobColour(int px, int py, const std::vector<float*>& uniforms) {
    const double time = *uniforms[0];
    const double sx = (px + 0.5) / 640.0, sy = (py + 0.5) / 480.0;
    const double widths[3] = {5.5 * std::fabs(std::cos(time / 0.5)),
                              4.5 * std::fabs(std::sin(time / 0.5)),
                              5.5 * std::fabs(std::sin(time / 0.5))};
    double sum = 0.0;
    for (int c = 0; c < 3; ++c) {
        const double distance =
            std::hypot(sx - 0.5 - *uniforms[1 + 2 * c], sy - 0.5 - *uniforms[2 + 2 * c]);
        sum += std::exp(-widths[c] * std::sqrt(distance));
    }
    const double val = std::clamp(0.33 * sum, 0.41, 1.0);
    return {255 * std::min(sx, sy) * val, 255 * std::max(sx, sy) * val * 155 / 176,
            255 * val * 113 / 176};
}

TEST_F(ScenesTest, Scene2FirstFrameShowsOnlyTheTitleInTheBlobColours) {
    Scene scene = buildScene2();
    const auto pixels = drawFirstFrame(scene);
    int lit = 0;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            if (isBlack(p)) {
                continue;
            }
            ++lit;
            // Only the title is on screen: the strokes have not started and the outlines have
            // no corners yet. It sits on the baseline y = 0, around the middle.
            EXPECT_GE(row, 234);
            EXPECT_LE(row, 262);
            EXPECT_GT(column, 260);
            EXPECT_LT(column, 380);
            const std::vector<double> expected =
                blobColour(column, row, scene.shader.floatUniforms);
            EXPECT_NEAR(p.r, expected[0], 2.0) << column << "," << row;
            EXPECT_NEAR(p.g, expected[1], 2.0) << column << "," << row;
            EXPECT_NEAR(p.b, expected[2], 2.0) << column << "," << row;
            EXPECT_FALSE(p.r == 135 && p.g == 128 && p.b == 94);
            if (HasFailure()) {
                return;
            }
        }
    }
    EXPECT_GT(lit, 100) << "the title's glyphs are drawn";
}

// ---- Scene 3 ----

constexpr int firstDragon = 1;
constexpr int firstRectangle = 5;
constexpr int rectangleCount = 10;

TEST_F(ScenesTest, Scene3HasTextFourDragonsAndTenRectanglesWithTheirStartTimes) {
    const Scene scene = buildScene3();
    EXPECT_EQ(scene.duration, 21.25f);
    ASSERT_EQ(scene.shapes.size(), 15u);
    const std::vector<float> startTimes{0,       0.45f,  4.15f,   7.85f,  11.55f,
                                        0,       2.125f, 4.25f,   6.375f, 8.5f,
                                        10.625f, 12.75f, 14.875f, 17.0f,  19.125f};
    EXPECT_EQ(scene.startTimes, startTimes);

    EXPECT_EQ(scene.shapes[0].kind, ShapeKind::Callback);
    EXPECT_EQ(scene.shapes[0].param, 2.0f);

    for (int d = 0; d < 4; ++d) {
        const Shape& dragon = scene.shapes[firstDragon + d];
        EXPECT_EQ(dragon.kind, ShapeKind::Lines);
        EXPECT_EQ(dragon.vertices.size(), 2u << (3 + d)) << "2^" << 3 + d << " segments";
        EXPECT_TRUE(dragon.colours.empty());
        ASSERT_EQ(dragon.routes.size(), 1u);
        EXPECT_EQ(dragon.routes[0].startAngle, 0.0f);
        EXPECT_EQ(dragon.routes[0].endAngle, 90.0f);
        EXPECT_EQ(dragon.routes[0].duration, 5.0f);
    }
    const Vec2 dragonEnds[4][2] = {
        {{-1, -1}, {0, 0}}, {{-1, 1}, {0, 1}}, {{0, -1}, {1, 0}}, {{1, 1}, {1, 1}}};
    for (int d = 0; d < 4; ++d) {
        const Route& route = scene.shapes[firstDragon + d].routes[0];
        EXPECT_EQ((Vec2{route.startX, route.startY}), dragonEnds[d][0]);
        EXPECT_EQ((Vec2{route.endX, route.endY}), dragonEnds[d][1]);
    }

    for (int k = 0; k < rectangleCount; ++k) {
        const Shape& rectangle = scene.shapes[firstRectangle + k];
        EXPECT_EQ(rectangle.kind, ShapeKind::Quads);
        EXPECT_TRUE(rectangle.colours.empty());
        const std::vector<Vec2> corners{
            {-0.1f, -0.07f}, {0.1f, -0.07f}, {0.1f, 0.07f}, {-0.1f, 0.07f}};
        ASSERT_EQ(rectangle.vertices.size(), 4u);
        for (int v = 0; v < 4; ++v) {
            EXPECT_EQ(rectangle.vertices[v], corners[v]);
        }
        ASSERT_EQ(rectangle.routes.size(), 3u);
        for (const Route& leg : rectangle.routes) {
            EXPECT_NEAR(leg.duration * 3, 2.125, 1e-6); // each leg a third of the interval
        }
    }

    ASSERT_TRUE(scene.hasShader);
    EXPECT_NE(scene.shader.vertexShader, 0u);
    EXPECT_NE(scene.shader.fragmentShader, 0u);
    EXPECT_TRUE(scene.shader.floatUniforms.empty());
    EXPECT_TRUE(scene.shader.arrayUniforms.empty());
    EXPECT_EQ(scene.frameHook, nullptr);
    EXPECT_NE(scene.outro, nullptr);
}

TEST_F(ScenesTest, Scene3DrawsOneNumberPerRectangleAndPicksTheCornerByParity) {
    const std::vector<int> sequence = defaultSequence(11);
    const Scene scene = buildScene3();
    EXPECT_EQ(std::rand(), sequence[10]) << "the builder draws exactly ten numbers";
    bool sawLeft = false, sawRight = false;
    for (int k = 0; k < rectangleCount; ++k) {
        const Route& first = scene.shapes[firstRectangle + k].routes[0];
        const bool even = sequence[k] % 2 == 0;
        EXPECT_EQ(first.startX, even ? -1.0f : 1.0f) << "rectangle " << k;
        EXPECT_EQ(first.startY, 1.0f);
        (even ? sawLeft : sawRight) = true;
    }
    EXPECT_TRUE(sawLeft && sawRight) << "the default sequence uses both corners";
}

// The signed angle that turns `from` onto `to`, both about `pivot`.
double turnAbout(Vec2 pivot, Vec2 from, Vec2 to) {
    const double a = std::atan2(from.y - pivot.y, from.x - pivot.x);
    const double b = std::atan2(to.y - pivot.y, to.x - pivot.x);
    return std::remainder(b - a, 2 * pi);
}
double distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

TEST_F(ScenesTest, Scene3RectanglesTurnAboutTheirCornerAndLandInARow) {
    const Scene scene = buildScene3();
    for (int k = 0; k < rectangleCount; ++k) {
        const Shape& rectangle = scene.shapes[firstRectangle + k];
        const Route* legs = rectangle.routes.data();
        const double x = -0.9 + 0.2 * k;
        const Vec2 corner{legs[0].startX, legs[0].startY};
        const double tilt = corner.x < 0 ? pi / 6 : -pi / 6; // counter-clockwise from the left
        const Vec2 q1{legs[0].endX, legs[0].endY};
        const Vec2 q2{legs[1].endX, legs[1].endY};
        // The legs join up.
        EXPECT_EQ(legs[1].startX, q1.x);
        EXPECT_EQ(legs[1].startY, q1.y);
        EXPECT_EQ(legs[2].startX, q2.x);
        EXPECT_EQ(legs[2].startY, q2.y);
        // Q1 and Q2 are points near the column, turned about the corner by φ and 0.7 φ.
        const Vec2 near1{static_cast<float>(x * 0.5), -0.405f};
        const Vec2 near2{static_cast<float>(x * 0.7), -0.567f};
        EXPECT_NEAR(distance(corner, q1), distance(corner, near1), 1e-5) << "rectangle " << k;
        EXPECT_NEAR(turnAbout(corner, near1, q1), tilt, 1e-5) << "rectangle " << k;
        EXPECT_NEAR(distance(corner, q2), distance(corner, near2), 1e-5) << "rectangle " << k;
        EXPECT_NEAR(turnAbout(corner, near2, q2), 0.7 * tilt, 1e-5) << "rectangle " << k;

        // Stepped through its three legs, it lands on y = -0.81 at its own x after two turns.
        const Shape landed = runShape(rectangle, 2.3);
        EXPECT_EQ(landed.routeIndex, 2u);
        EXPECT_NEAR(landed.x, x, 1e-5) << "rectangle " << k;
        EXPECT_EQ(landed.y, -0.81f);
        EXPECT_EQ(landed.angle, 720.0f);
    }
}

TEST_F(ScenesTest, Scene3RectangleFromTheLeftCornerPassesItsFirstPoint) {
    unsigned seed = 1; // find a sequence whose first number is even: the top-left corner
    for (;; ++seed) {
        std::srand(seed);
        if (std::rand() % 2 == 0) {
            break;
        }
    }
    std::srand(seed);
    const Scene scene = buildScene3();
    const Shape& rectangle = scene.shapes[firstRectangle];
    ASSERT_EQ(rectangle.routes[0].startX, -1.0f);
    bool passed = false;
    runShape(rectangle, 0.8, [&](const Shape& moving) {
        passed =
            passed || (moving.routeIndex == 0 && moving.angle == 480.0f &&
                       std::fabs(moving.x - 0.1788) < 1e-4 && std::fabs(moving.y - 0.0582) < 1e-4);
    });
    EXPECT_TRUE(passed) << "rectangle 0 ends its first leg at (0.1788, 0.0582)";
}

TEST_F(ScenesTest, Scene3LastDragonTurnsInPlace) {
    const Scene scene = buildScene3();
    const Shape& dragon = scene.shapes[firstDragon + 3];
    EXPECT_EQ(dragon.x, 1.0f);
    EXPECT_EQ(dragon.y, 1.0f);
    float lastAngle = -1.0f;
    bool stayed = true, turnedForward = true;
    const Shape turned = runShape(dragon, 5.2, [&](const Shape& moving) {
        stayed = stayed && moving.x == 1.0f && moving.y == 1.0f;
        turnedForward = turnedForward && moving.angle >= lastAngle;
        lastAngle = moving.angle;
    });
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(turnedForward);
    EXPECT_EQ(turned.angle, 90.0f);
}

TEST_F(ScenesTest, Scene3FirstFrameShowsTheSignOffInTheGlowColour) {
    Scene scene = buildScene3();
    const auto pixels = drawFirstFrame(scene);
    // The glow is saturated within about 188 pixels across and 141 up and down of the centre,
    // so everything drawn near the middle has the glow's full colour.
    int lit = 0, litLeftOfRectangle = 0;
    for (int row = 200; row < 280; ++row) {
        for (int column = 180; column < 460; ++column) {
            const Rgb p = pixelAt(pixels, column, row);
            if (isBlack(p)) {
                continue;
            }
            ++lit;
            // Rectangle 0 starts at the origin, 64 x 34 pixels about the centre; the text runs
            // out to its left.
            litLeftOfRectangle += column < 286 ? 1 : 0;
            EXPECT_EQ(p.r, 255) << column << "," << row;
            EXPECT_NEAR(p.g, 255.0 * 123 / 162, 1.0) << column << "," << row;
            EXPECT_NEAR(p.b, 255.0 * 92 / 162, 1.0) << column << "," << row;
            if (HasFailure()) {
                return;
            }
        }
    }
    EXPECT_GT(lit, 60 * 30) << "the first rectangle covers the centre";
    EXPECT_GT(litLeftOfRectangle, 50) << "the sign-off's first letters are drawn";
    EXPECT_TRUE(isBlack(pixelAt(pixels, 320, 400))) << "nothing drawn, nothing shown";
}

} // namespace
