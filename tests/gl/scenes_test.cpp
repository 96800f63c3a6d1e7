// The Scene record and the Scenes on real OpenGL and a set clock: activation, drawing, the
// random numbers taken, where Shapes go, what frame hooks turn, and Scene 4's backdrop.
#include "gl_support.h"

#include <random>

#include <GL/freeglut.h>

#include "random/random.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"
#include "shapes/builders.h"
#include "text/lines.h"
#include "text/text.h"

namespace {

// The first `count` numbers of the unseeded random sequence, which is then restarted.
std::vector<int> randSequence(int count) {
    Random::seed(1);
    std::vector<int> values(count);
    std::generate(values.begin(), values.end(), Random::draw);
    Random::seed(1);
    return values;
}

// The signed angle, -π to π, that turns the direction of `from` onto that of `to`.
double turnBetween(Vec2 from, Vec2 to) {
    return std::remainder(std::atan2(to.y, to.x) - std::atan2(from.y, from.x), 2 * M_PI);
}

class ScenesTest : public ClockedTest {
  protected:
    // A copy of a route-driven Shape, stepped at 60 frames a second for `seconds` from `base`.
    static Shape runShape(Shape shape, double seconds) {
        DemoClock::setManualTime(base);
        shape.routes[0].start();
        for (int frame = 0; frame <= seconds * 60; ++frame) {
            DemoClock::setManualTime(base + frame * DemoClock::ticksPerSecond / 60);
            stepShape(shape);
        }
        return shape;
    }
};

TEST_F(ScenesTest, ShapesActivateOnceTheElapsedTimeIsStrictlyGreaterAndDrawLitAndShaded) {
    constexpr float grey[4] = {0.5f, 0.5f, 0.5f, 1.0f}; // squares to (2, 0) in 1 s, a light in 2 s
    const auto square = [](float half) {
        return makeSquareShape({1, 1, 1}, {}, {2, 0}, 0, 0, 1, half);
    };
    Scene scene(10.0f);
    scene.setContent({square(0.3f), square(0.9f), square(0.1f)}, {0.0f, 0.5f, -1.0f},
                     LightRoute({0, 0}, {1, -1}, 10, 50, 2, grey, GL_FLAT, GL_SPECULAR));
    scene.shader = ShaderProgram("void main() { fragColour = vec4(0.8, 0.4, 0.2, 1); }");
    scene.hasShader = true;
    scene.start();
    EXPECT_EQ(scene.active, (std::vector<bool>{true, false, false}));
    scene.activateShapes(); // at elapsed 0 the negative start time is due
    EXPECT_TRUE(scene.active[2]);
    DemoClock::setManualTime(at(0.5));
    scene.activateShapes();
    EXPECT_FALSE(scene.active[1]);
    DemoClock::setManualTime(at(0.5001));
    scene.activateShapes();
    EXPECT_TRUE(scene.active[1]);
    EXPECT_EQ(scene.shapes[1].routes[0].startTicks, at(0.5001));

    scene.lighting.route.currentX = 0.25f;
    scene.draw();
    const Rgb middle = pixelAt(readBackBuffer(), 320, 240);
    EXPECT_EQ((std::array{middle.r, middle.g, middle.b}), (std::array{204, 102, 51}));
    EXPECT_EQ(gfx::lightPosition(), (std::array{0.25f, 0.0f, 1.0f, 3.0f}));
    scene.hasShader = false; // the program bound above must not stay bound
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    scene.draw();
    EXPECT_EQ(gfx::sceneProgram(), 0u);
    // Flat: the first square drawn (the depth test keeps it) is lit as its last corner,
    // (-0.3, 0.3), by the light at (0.25, 0, 1) / 3: ambient 0.2 plus the cosine to the light.
    const double toLight[3] = {0.25 / 3 + 0.3, -0.3, 1.0 / 3};
    const double lit = 0.2 + toLight[2] / std::hypot(toLight[0], toLight[1], toLight[2]);
    const Rgb white = pixelAt(readBackBuffer(), 320, 240);
    EXPECT_NEAR(white.r, lit * 255, 1.0);
    EXPECT_EQ(white.g, white.r);
    resetFrame();
}

TEST_F(ScenesTest, Scene2StrokesSwingBelowTheirPlaceAndLandOnItAndItsHookTurnsAndBreathes) {
    const std::vector<int> r = randSequence(105);
    Scene scene = buildScene2();
    EXPECT_EQ(Random::draw(), r[104]) << "the builder draws exactly 104 numbers";
    // Stroke k swings a third right of and below its grid point, then lands, spun by its 2nd draw.
    for (int k = 0; k < 49; ++k) {
        const Shape swung = runShape(scene.shapes[1 + k], 0.5);
        const Shape landed = runShape(scene.shapes[1 + k], 1.2);
        const double x = (k % 7) / 3.0 - 1, y = (k / 7) / 3.0 - 1;
        EXPECT_NEAR(std::hypot(swung.x - x - 1 / 3.0, swung.y - y + 1 / 3.0), 0, 1e-6) << k;
        EXPECT_NEAR(std::hypot(landed.x - x, landed.y - y), 0, 1e-6) << "stroke " << k;
        EXPECT_EQ(landed.angle, float(r[2 * k + 1] % 480) + 240.0f) << "stroke " << k;
    }
    // The title is centred to the half pixel: its odd width ends half a pixel past a column.
    scene.shapes[0].drawCallback(nullptr);
    const std::array<float, 2> next = rasterPosition(); // where a next glyph would go
    const auto* title = reinterpret_cast<const unsigned char*>(titleWord.c_str());
    EXPECT_EQ(next[0], 320 + glutBitmapLength(GLUT_BITMAP_TIMES_ROMAN_24, title) / 2.0f);

    const std::vector<float*>& uniforms = scene.shader.floatUniforms; // u_time, the centres
    const Vec2 was{*uniforms[1], *uniforms[2]};
    DemoClock::setManualTime(at(-1 / 60.0));
    scene.start();
    for (int frame = 0; frame <= 207; ++frame) { // the clock starts 3.45 s before the last
        DemoClock::setManualTime(at(frame / 60.0));
        scene.frameHook();
    }
    const float t = *uniforms[0];
    ASSERT_EQ(t, 3.45f);
    // 0.0005 rad in each 1/60 s step, the first at the first call.
    EXPECT_NEAR(turnBetween(was, {*uniforms[1], *uniforms[2]}), 0.0005 * (3.45 * 60 + 1), 1e-5)
        << "counter-clockwise";
    // Width, height, phase and speed of each outline. At 3.45 s the first one's top is held at
    // half its width, the second one's bottom at a third of its height.
    const float c = std::fabs(std::cos(t)), s = std::fabs(std::sin(t));
    const float outlines[3][4] = {{0.7f * c, 0.5f * s, 0.7853982f, 0.7f},
                                  {0.6f * c, 0.7f * s, 0.5235988f, 0.3f},
                                  {0.7f * c, 0.5f * c, 0.62831855f, 0.5f}};
    for (int i = 0; i < 3; ++i) {
        const auto [w, h, phase, speed] = outlines[i];
        Shape& outline = scene.shapes[50 + i];
        outline.updateCallback(&outline);
        const float top = std::max(std::fabs(std::sin(t * speed + phase)), w / 2);
        const float bottom = std::max(std::fabs(std::cos(t * speed + phase)), h / 3);
        const float corners[] = {-bottom * w, -bottom * h, bottom * w, -bottom * h,
                                 top * w,     top * h,     -top * w,   top * h};
        ASSERT_EQ(outline.vertices.size(), 4u);
        for (int k = 0; k < 8; ++k) {
            const Vec2 v = outline.vertices[k / 2];
            EXPECT_NEAR(k % 2 ? v.y : v.x, corners[k], 1e-6) << "outline " << i << ", " << k;
        }
    }
}

// The backdrop's life is one per process, so one test follows it from its first call.
TEST_F(ScenesTest, Scene4TakesTheBackdropsNumbersAndTheBackdropShowsThenSpinsAway) {
    const std::vector<int> r = randSequence(5001);
    buildScene4();
    EXPECT_EQ(Random::draw(), r[5000]) << "the builder draws 5000 numbers";
    Random::seed(1); // the backdrop's two point sets are all it draws
    const std::vector<Vec2> a = randomPointSet(), b = randomPointSet();
    EXPECT_TRUE(backdropPixels() == generateBackdropReference(a, b)) << "not the exact picture";
    const auto rightEdgeAlone = [](double seconds) { // -1 when nothing shows
        DemoClock::setManualTime(at(seconds));
        resetFrame();
        drawBackdrop(nullptr);
        return litArea(readBackBuffer())[1];
    };
    EXPECT_EQ(rightEdgeAlone(0.0), -1) << "the first call only uploads the texture";
    EXPECT_EQ(rightEdgeAlone(0.1), 639);
    // Past 25 s: one frame at scale 0, then full size, turning and shrinking to nothing.
    EXPECT_EQ(rightEdgeAlone(25.0), 639);
    EXPECT_EQ(rightEdgeAlone(25.001), 639); // the routes start; drawn before
    EXPECT_EQ(rightEdgeAlone(25.002), -1);  // the routes' initial zero scale
    EXPECT_EQ(rightEdgeAlone(25.003), 639);
    rightEdgeAlone(31.6); // past the end, two calls behind: the scale is clamped at 0
    rightEdgeAlone(31.6);
    EXPECT_EQ(rightEdgeAlone(31.6), -1);
}

// Scenes 5 and 6 turn gradients by |sin t| / 150 and pairs by |sin t| / 300 in each 1/60 s step:
// at 30, 60, 144 fps or uneven intervals they stand at 3.2 s where the 60 fps production has them.
TEST_F(ScenesTest, Scenes5And6HooksTurnByTheClockAtAnyFrameRateEachWayToTheirPattern) {
    const std::vector<int> r = randSequence(339 + 200);
    constexpr double end = 3.2;
    double sines = 0; // the 60 fps production's turn by then, in units of 1/150 and 1/300 rad
    for (int k = 0; k < end * 60; ++k) {
        sines += std::fabs(std::sin(k / 60.0));
    }
    std::mt19937 uneven(17);
    for (const double rate : {30.0, 60.0, 144.0, 0.0}) { // 0: 2 to 50 ms between frames
        SCOPED_TRACE(rate);
        DemoClock::setManualTime(base);
        Scene five = buildScene5(), six = buildScene6();
        six.start();
        EXPECT_TRUE(rate != 30 || Random::draw() == r[338 + 200])
            << "the builders draw 338 and 200";
        const std::vector<float*>& gradients = five.shader.arrayUniforms; // x, y
        const std::vector<float*>& pairs = six.shader.arrayUniforms;      // x0, y0, x1, y1
        const std::vector<float> gx(gradients[0], gradients[0] + 169),
            gy(gradients[1], gradients[1] + 169), px(pairs[0], pairs[0] + 50),
            py(pairs[1], pairs[1] + 50);
        std::uniform_real_distribution<> interval(0.002, 0.05);
        for (double t = 0; t < end;) { // from the first frame after the start
            t = std::min(t + (rate ? 1 / rate : interval(uneven)), end);
            DemoClock::setManualTime(at(t));
            five.frameHook();
            six.frameHook();
        }
        double sign = 1; // counter-clockwise first; the gradients of columns 5 to 9 hand the other
        for (int k = 0; k < 169; ++k) { // way on to the next
            EXPECT_NEAR(turnBetween({gx[k], gy[k]}, {gradients[0][k], gradients[1][k]}),
                        sign * sines / 150, 1.0 / 150) // within the largest step
                << "gradient " << k;
            sign = k % 13 >= 5 && k % 13 <= 9 ? -sign : sign;
        }
        for (int i = 0; i < 50; ++i) { // even pairs counter-clockwise, odd ones clockwise
            EXPECT_NEAR(turnBetween({px[i], py[i]}, {pairs[0][i], pairs[1][i]}),
                        (i % 2 ? -1 : 1) * sines / 300, 1.0 / 300)
                << "pair " << i;
        }
    }
}

} // namespace
