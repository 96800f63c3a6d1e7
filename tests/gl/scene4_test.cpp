// Scene 4 on real OpenGL: its sixteen Shapes in three waves, the rand values it takes, the
// objects leaving the stage, and the backdrop from its texture upload to its spin away.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "scenes/backdrop.h"
#include "scenes/scene_builders.h"
#include "text/credit_lines.h"
#include "text/lines.h"
#include "transitions/outros.h"

namespace {

constexpr DemoClock::Ticks base = 7'000'000'000;
DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(seconds * 1e7);
}

// Shape indices, counted from 0, in the Scene's drawing order.
constexpr int textShapes[] = {0, 1, 6, 7, 11, 12};
constexpr int backdropShape = 5;
constexpr int tilingShapes[] = {2, 8, 13};
constexpr int ringShapes[] = {3, 9, 14};
constexpr int curveShapes[] = {4, 10, 15};
constexpr int leavingShapes[] = {2, 3, 4, 8, 9, 10};

void expectRoute(const Route& route, Vec2 start, Vec2 end, float startAngle, float endAngle,
                 float duration) {
    EXPECT_EQ(route.startX, start.x);
    EXPECT_EQ(route.startY, start.y);
    EXPECT_EQ(route.endX, end.x);
    EXPECT_EQ(route.endY, end.y);
    EXPECT_EQ(route.startAngle, startAngle);
    EXPECT_EQ(route.endAngle, endAngle);
    EXPECT_EQ(route.duration, duration);
}

// Playing the Scene runs the credits' reveal, which rewrites the global display strings; they
// are put back afterwards for the tests that draw the lines as they start.
class Scene4Test : public testing::Test {
  protected:
    void SetUp() override {
        DemoClock::setManualTime(base);
        savedLines = shownLines();
    }
    void TearDown() override {
        DemoClock::setSource(nullptr);
        shownLines() = savedLines;
    }
    static std::tuple<std::string&, std::string&, std::string&, std::string&, std::string&,
                      std::string&>
    shownLines() {
        return std::tie(shownCodeTitle, shownCodeName, shownMusicTitle, shownMusicName,
                        shownGraphicsTitle, shownGraphicsName);
    }
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>
        savedLines;
};

class Scene4Content : public Scene4Test {};
class Scene4Backdrop : public Scene4Test {};

TEST_F(Scene4Content, TakesExactlyTheFiveThousandRandValuesOfItsBackdrop) {
    std::srand(1);
    std::vector<int> sequence(5001);
    for (int& value : sequence) {
        value = std::rand();
    }
    std::srand(1);
    const Scene scene = buildScene4();
    EXPECT_EQ(std::rand(), sequence[5000]);

    // Nothing before the backdrop drew from the sequence: set A took values 1 to 2500.
    std::srand(1);
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    EXPECT_TRUE(backdropPixels() == renderBackdropImage(a, b));
}

TEST_F(Scene4Content, SixteenShapesInThreeWavesTenSecondsApart) {
    const Scene scene = buildScene4();
    ASSERT_EQ(scene.shapes.size(), 16u);
    const std::vector<float> expectedStarts{0,  0,  0,  0,  0,  0,  10, 10,
                                            10, 10, 10, 20, 20, 20, 20, 20};
    EXPECT_EQ(scene.startTimes, expectedStarts);
    EXPECT_FLOAT_EQ(scene.duration, 31.05f);
    EXPECT_EQ(scene.outro, scene4Outro);
    EXPECT_FALSE(scene.hasShader);
    EXPECT_EQ(scene.frameHook, nullptr);

    const ShapeCallback draws[] = {drawShownCodeTitle,     drawShownCodeName,
                                   drawShownMusicTitle,    drawShownMusicName,
                                   drawShownGraphicsTitle, drawShownGraphicsName};
    const ShapeCallback updates[] = {updateShownCodeTitle,     updateShownCodeName,
                                     updateShownMusicTitle,    updateShownMusicName,
                                     updateShownGraphicsTitle, updateShownGraphicsName};
    for (int line = 0; line < 6; ++line) {
        const Shape& text = scene.shapes[textShapes[line]];
        SCOPED_TRACE(testing::Message() << "text line " << line);
        EXPECT_EQ(text.kind, ShapeKind::Callback);
        EXPECT_EQ(text.drawCallback, draws[line]);
        EXPECT_EQ(text.updateCallback, updates[line]);
        EXPECT_EQ(text.param, 2.0f);
        EXPECT_TRUE(text.vertices.empty());
        EXPECT_TRUE(text.routes.empty());
    }

    const Shape& backdrop = scene.shapes[backdropShape];
    EXPECT_EQ(backdrop.kind, ShapeKind::Callback);
    EXPECT_EQ(backdrop.drawCallback, drawBackdrop);
    EXPECT_NE(backdrop.updateCallback, nullptr);
    EXPECT_EQ(backdrop.param, 25.0f);
    EXPECT_TRUE(backdrop.routes.empty());

    const std::size_t tilingVertices[] = {60, 150, 390};   // 20, 50 and 130 triangles
    const std::size_t ringVertices[] = {17, 17, 18};       // 3.3.4.3.4, 3.3.3.4.4, 3.3.3.3.6
    const std::size_t curveVertices[] = {2048, 1458, 384}; // 2^10, 3^6 and 3 * 4^3 segments
    const float curveTurns[] = {120.0f, 45.0f, 120.0f};
    const Vec2 curvePlaces[] = {{0.5f, 0.5f}, {0.5f, -0.2f}, {0.5f, -0.2f}};
    for (int wave = 0; wave < 3; ++wave) {
        SCOPED_TRACE(testing::Message() << "wave " << wave);
        const Shape& tiling = scene.shapes[tilingShapes[wave]];
        EXPECT_EQ(tiling.kind, ShapeKind::Triangles);
        EXPECT_EQ(tiling.vertices.size(), tilingVertices[wave]);
        EXPECT_EQ(tiling.x, -0.61f);
        EXPECT_EQ(tiling.y, -0.61f);
        expectRoute(tiling.routes.at(0), {-0.61f, -0.61f}, {-0.61f, -0.61f}, 0, 720, 10);

        const Shape& ring = scene.shapes[ringShapes[wave]];
        EXPECT_EQ(ring.kind, ShapeKind::Polygon);
        EXPECT_EQ(ring.vertices.size(), ringVertices[wave]);
        EXPECT_EQ(ring.colours.size(), ringVertices[wave]);
        EXPECT_EQ(ring.x, 0.0f); // placed by its first motion step
        expectRoute(ring.routes.at(0), {0.61f, -0.61f}, {0.61f, -0.61f}, 0, 720, 10);

        const Shape& curve = scene.shapes[curveShapes[wave]];
        EXPECT_EQ(curve.kind, ShapeKind::Lines);
        EXPECT_EQ(curve.vertices.size(), curveVertices[wave]);
        expectRoute(curve.routes.at(0), curvePlaces[wave], curvePlaces[wave], 0, curveTurns[wave],
                    10);
        // One colour for the whole curve.
        ASSERT_EQ(curve.colours.size(), 1u);
        EXPECT_FLOAT_EQ(curve.colours[0].r, 0.6901961f);
        EXPECT_FLOAT_EQ(curve.colours[0].g, 0.6078432f);
        EXPECT_FLOAT_EQ(curve.colours[0].b, 0.4431373f);
    }
}

TEST_F(Scene4Content, LightCrossesTheScreenOnTheDiffuseMaterial) {
    const Scene scene = buildScene4();
    const Route& light = scene.lighting.route;
    expectRoute(light, {2.0f, 1.0f}, {-2.0f, -1.0f}, 1.0f, 5.0f, 31.5f);
    EXPECT_EQ(scene.lighting.shadeModel, static_cast<std::uint32_t>(GL_SMOOTH));
    EXPECT_EQ(scene.lighting.materialParameter, static_cast<std::uint32_t>(GL_DIFFUSE));
    EXPECT_FLOAT_EQ(scene.lighting.materialColour[0], 0.8627451f);
    EXPECT_FLOAT_EQ(scene.lighting.materialColour[1], 0.8431373f);
    EXPECT_FLOAT_EQ(scene.lighting.materialColour[2], 0.7882353f);
    EXPECT_EQ(scene.lighting.materialColour[3], 5.5f);
}

// Plays updates only (no drawing): the objects of the first two waves jump off stage after
// their ten seconds; the third wave stays where its turn ended.
TEST_F(Scene4Content, FirstTwoWavesLeaveTheStageAfterTheirTurn) {
    Scene scene = buildScene4();
    for (const int index : leavingShapes) {
        SCOPED_TRACE(testing::Message() << "shape " << index);
        ASSERT_EQ(scene.shapes[index].routes.size(), 2u);
        expectRoute(scene.shapes[index].routes[1], {5.0f, 5.0f}, {5.0f, 5.0f}, 0, 0, 5);
    }
    for (const int index : {tilingShapes[2], ringShapes[2], curveShapes[2]}) {
        EXPECT_EQ(scene.shapes[index].routes.size(), 1u) << "shape " << index;
    }

    scene.start();
    const auto step = [&scene](double seconds) {
        DemoClock::setManualTime(at(seconds));
        scene.update();
        scene.activateShapes();
    };
    for (double t = 0.0; t <= 10.0; t += 0.25) {
        step(t);
    }
    EXPECT_EQ(scene.shapes[tilingShapes[0]].x, -0.61f);
    EXPECT_EQ(scene.shapes[tilingShapes[0]].angle, 720.0f);
    step(10.05); // the turn is over: the next route starts, nothing moves in this frame
    EXPECT_EQ(scene.shapes[ringShapes[0]].x, 0.61f);
    step(10.10);
    for (const int index : {tilingShapes[0], ringShapes[0], curveShapes[0]}) {
        EXPECT_EQ(scene.shapes[index].x, 5.0f) << "shape " << index;
        EXPECT_EQ(scene.shapes[index].y, 5.0f) << "shape " << index;
    }
    for (double t = 10.25; t <= 31.0; t += 0.25) {
        step(t);
    }
    for (const int index : {tilingShapes[1], ringShapes[1], curveShapes[1]}) {
        EXPECT_EQ(scene.shapes[index].x, 5.0f) << "shape " << index;
    }
    EXPECT_EQ(scene.shapes[tilingShapes[2]].x, -0.61f);
    EXPECT_EQ(scene.shapes[ringShapes[2]].x, 0.61f);
    EXPECT_EQ(scene.shapes[curveShapes[2]].x, 0.5f);
    EXPECT_EQ(scene.shapes[curveShapes[2]].angle, 120.0f);
}

// The backdrop texel under a window pixel, where the pixel's centre lies well inside one. The
// picture is transposed: its 320 columns run up the 480 rows of the window and its 240 rows
// across the 640 columns.
std::optional<Rgb> texelUnder(const BackdropImage& image, int column, int row) {
    const double texelColumn = (row + 0.5) * backdropWidth / 480.0;
    const double texelRow = (column + 0.5) * backdropHeight / 640.0;
    const auto wellInside = [](double coordinate) {
        const double fraction = coordinate - static_cast<int>(coordinate);
        return fraction > 0.15 && fraction < 0.85;
    };
    if (!wellInside(texelColumn) || !wellInside(texelRow)) {
        return std::nullopt;
    }
    const std::size_t i =
        (static_cast<std::size_t>(texelRow) * backdropWidth + static_cast<int>(texelColumn)) * 4;
    return Rgb{image[i], image[i + 1], image[i + 2]};
}

// The box of non-black pixels and their number.
struct LitBox {
    int left = 640, right = -1, bottom = 480, top = -1;
    int count = 0;
};

LitBox litBox(const std::vector<std::uint8_t>& pixels) {
    LitBox box;
    for (int row = 0; row < 480; ++row) {
        for (int column = 0; column < 640; ++column) {
            if (!isBlack(pixelAt(pixels, column, row))) {
                box.left = std::min(box.left, column);
                box.right = std::max(box.right, column);
                box.bottom = std::min(box.bottom, row);
                box.top = std::max(box.top, row);
                ++box.count;
            }
        }
    }
    return box;
}

bool operator==(Rgb a, Rgb b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// The text lines take the current colour left by whatever was drawn before them; frames that
// are compared start from the same one.
void startFrame() {
    resetFrame();
    glColor3f(1.0f, 1.0f, 1.0f);
}

// Draws the Scene once more without the backdrop (same state, same time): the Shapes alone.
std::vector<std::uint8_t> shapesAlone(Scene& scene) {
    scene.active[backdropShape] = false;
    startFrame();
    scene.draw();
    scene.active[backdropShape] = true;
    return readBackBuffer();
}

// Whether two frames agree everywhere below the credit lines. The lines' raster colour is lit
// with the material state the previous draw left, which differs in the first draw of a process.
bool sameBelowTheCredits(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    constexpr int creditRows = 312; // y = 0.3, under the handles' descenders
    return std::equal(a.begin(), a.begin() + creditRows * 640 * 3, b.begin());
}

std::vector<std::uint8_t> backdropAloneAt(double seconds) {
    DemoClock::setManualTime(at(seconds));
    resetFrame();
    drawBackdrop(nullptr);
    return readBackBuffer();
}

// The backdrop's life is one per process, so it is followed in one test from its first call.
TEST_F(Scene4Backdrop, UploadsFirstThenLiesBehindEverythingThenSpinsAway) {
    std::srand(1);
    Scene scene = buildScene4();
    const BackdropImage image = backdropPixels();
    DemoClock::setManualTime(base);
    scene.start();

    {
        SCOPED_TRACE("first frame: the texture is made, nothing of it is drawn");
        startFrame();
        scene.draw();
        const std::vector<std::uint8_t> firstFrame = readBackBuffer();
        GLint unpackAlignment = 0, boundTexture = 0, width = 0, height = 0;
        GLint wrapS = 0, wrapT = 0, magFilter = 0, minFilter = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &unpackAlignment);
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundTexture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        EXPECT_EQ(unpackAlignment, 1);
        EXPECT_NE(boundTexture, 0);
        EXPECT_EQ(width, backdropWidth);
        EXPECT_EQ(height, backdropHeight);
        EXPECT_EQ(wrapS, GL_REPEAT);
        EXPECT_EQ(wrapT, GL_REPEAT);
        EXPECT_EQ(magFilter, GL_NEAREST);
        EXPECT_EQ(minFilter, GL_NEAREST);
        BackdropImage uploaded(image.size());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, uploaded.data());
        EXPECT_TRUE(uploaded == image);
        EXPECT_TRUE(sameBelowTheCredits(firstFrame, shapesAlone(scene)));
        EXPECT_GT(litBox(firstFrame).count, 1000); // the tiling, the ring and the dragon
    }
    scene.update();
    scene.activateShapes();

    {
        SCOPED_TRACE("second frame: the backdrop fills every pixel no Shape covers");
        startFrame();
        scene.draw();
        const std::vector<std::uint8_t> secondFrame = readBackBuffer();
        const std::vector<std::uint8_t> shapes = shapesAlone(scene);
        int shapePixels = 0, backdropPixelsChecked = 0, mismatches = 0;
        for (int row = 0; row < 480; ++row) {
            for (int column = 0; column < 640; ++column) {
                const Rgb shown = pixelAt(secondFrame, column, row);
                const Rgb shape = pixelAt(shapes, column, row);
                if (!isBlack(shape)) {
                    // Drawn before the backdrop, yet in front of it: the depth test keeps it.
                    ++shapePixels;
                    mismatches += !(shown == shape);
                } else if (const std::optional<Rgb> texel = texelUnder(image, column, row)) {
                    ++backdropPixelsChecked;
                    mismatches += !(shown == *texel);
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_GT(shapePixels, 1000);
        EXPECT_GT(backdropPixelsChecked, 100000);
    }

    {
        SCOPED_TRACE("a Shape at z = 0 drawn after the backdrop shows in front as well");
        DemoClock::setManualTime(at(20.0));
        resetFrame();
        glEnable(GL_DEPTH_TEST);
        drawBackdrop(nullptr);
        glColor3f(1.0f, 1.0f, 1.0f);
        glBegin(GL_QUADS);
        glVertex2f(-0.5f, -0.5f);
        glVertex2f(0.5f, -0.5f);
        glVertex2f(0.5f, 0.5f);
        glVertex2f(-0.5f, 0.5f);
        glEnd();
        const std::vector<std::uint8_t> pixels = readBackBuffer();
        EXPECT_TRUE(pixelAt(pixels, 320, 240) == (Rgb{255, 255, 255}));
        EXPECT_FALSE(pixelAt(pixels, 20, 20) == (Rgb{255, 255, 255}));
        EXPECT_FALSE(isBlack(pixelAt(pixels, 20, 20)));
    }

    // From 25 s: one frame at scale 0, then full size, turning and shrinking.
    const LitBox fullSize = litBox(backdropAloneAt(24.9));
    EXPECT_EQ(fullSize.left, 0);
    EXPECT_EQ(fullSize.right, 639);
    EXPECT_EQ(fullSize.bottom, 0);
    EXPECT_EQ(fullSize.top, 479);
    EXPECT_EQ(litBox(backdropAloneAt(25.0)).right, 639);   // not past 25 s yet
    EXPECT_EQ(litBox(backdropAloneAt(25.001)).right, 639); // routes start; drawn before
    EXPECT_EQ(litBox(backdropAloneAt(25.002)).count, 0);   // the routes' initial zero scale
    EXPECT_EQ(litBox(backdropAloneAt(25.003)).right, 639); // back at full size

    // Half-way through the 6.05 s, two calls later: half size and half a turn.
    const double halfWay = 25.001 + 6.05 / 2;
    backdropAloneAt(halfWay);
    backdropAloneAt(halfWay);
    const LitBox halfSize = litBox(backdropAloneAt(halfWay));
    EXPECT_NEAR(halfSize.left, 160, 1);
    EXPECT_NEAR(halfSize.right, 479, 1);
    EXPECT_NEAR(halfSize.bottom, 120, 1);
    EXPECT_NEAR(halfSize.top, 359, 1);

    // Past the end the scale route runs below 0 and the clamp keeps the quad invisible.
    const double pastEnd = 25.001 + 6.05 + 0.5;
    backdropAloneAt(pastEnd);
    backdropAloneAt(pastEnd);
    EXPECT_EQ(litBox(backdropAloneAt(pastEnd)).count, 0);
    EXPECT_EQ(litBox(backdropAloneAt(pastEnd + 1.0)).count, 0);
}

} // namespace
