// Shape drawing on real OpenGL: placement, pulses, primitives, colours and callback Shapes.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include <GL/glew.h>

#include "app/demo_clock.h"
#include "app/music_channel.h"
#include "app/soundtrack.h"
#include "gl_support.h"
#include "shapes/builders.h"
#include "shapes/pulses.h"
#include "shapes/shape_draw.h"

namespace {

struct Window {
    std::uint64_t low, high;
    float value;
};

// The beats of the soundtrack, in thousands of bytes, as the production's music puts them.
constexpr Window expectedScaleWindows[] = {
    {15734, 15834, 1.1f}, {16336, 16436, 1.2f}, {16910, 17010, 1.05f}, {17543, 17643, 1.1f},
    {18148, 18248, 1.2f}, {18747, 18847, 1.1f}, {19051, 19151, 1.1f},  {19452, 19552, 1.1f},
};
constexpr Window expectedPullWindows[] = {
    {9611, 9661, 0.07f},   {10219, 10269, 0.08f}, {10824, 10874, 0.05f}, {11439, 11489, 0.03f},
    {12035, 12085, 0.05f}, {12653, 12703, 0.05f}, {13240, 13290, 0.05f},
};

TEST(PulseTables, ScaleWindowsExcludeBothBounds) {
    for (const Window& window : expectedScaleWindows) {
        SCOPED_TRACE(window.low);
        EXPECT_EQ(scalePulse(window.low - 1), 1.0f);
        EXPECT_EQ(scalePulse(window.low), 1.0f);
        EXPECT_EQ(scalePulse(window.low + 1), window.value);
        EXPECT_EQ(scalePulse((window.low + window.high) / 2), window.value);
        EXPECT_EQ(scalePulse(window.high - 1), window.value);
        EXPECT_EQ(scalePulse(window.high), 1.0f);
        EXPECT_EQ(pullPulse(window.low + 1), 0.0f);
    }
    EXPECT_EQ(scalePulse(0), 1.0f);
    EXPECT_EQ(scalePulse(UINT64_MAX), 1.0f);
}

TEST(PulseTables, PullWindowsExcludeBothBounds) {
    for (const Window& window : expectedPullWindows) {
        SCOPED_TRACE(window.low);
        EXPECT_EQ(pullPulse(window.low - 1), 0.0f);
        EXPECT_EQ(pullPulse(window.low), 0.0f);
        EXPECT_EQ(pullPulse(window.low + 1), window.value);
        EXPECT_EQ(pullPulse(window.high - 1), window.value);
        EXPECT_EQ(pullPulse(window.high), 0.0f);
        EXPECT_EQ(scalePulse(window.low + 1), 1.0f);
    }
    EXPECT_EQ(pullPulse(0), 0.0f);
}

TEST(PulseTables, EachPulseLastsItsLengthAndTheyNeverOverlap) {
    int scaleUnits = 0;
    int pullUnits = 0;
    for (std::uint64_t position = 0; position < 25000; ++position) {
        const bool scaling = scalePulse(position) != 1.0f;
        const bool pulling = pullPulse(position) != 0.0f;
        EXPECT_FALSE(scaling && pulling) << position;
        scaleUnits += scaling;
        pullUnits += pulling;
    }
    EXPECT_EQ(scaleUnits, 8 * 99);
    EXPECT_EQ(pullUnits, 7 * 49);
}

constexpr std::uint32_t cdByteRate = 176'400; // 44.1 kHz, 16-bit stereo
constexpr DemoClock::Ticks playStart = 5'000'000'000;

class ShapeDrawing : public testing::Test {
  protected:
    void SetUp() override { resetFrame(); }
    void TearDown() override {
        musicChannel = 0;
        DemoClock::setSource(nullptr);
    }

    // Lets the soundtrack report the middle of unit `thousands`: a silent stream that follows
    // the DemoClock stands in for the music file.
    static void playMusicUpTo(std::uint64_t thousands) {
        Soundtrack::forceSilent(cdByteRate);
        DemoClock::setManualTime(playStart);
        musicChannel = Soundtrack::openStream("no-such-file.mp3");
        Soundtrack::play(musicChannel);
        const double seconds = (static_cast<double>(thousands) * 1000.0 + 500.0) / cdByteRate;
        DemoClock::setManualTime(playStart + static_cast<DemoClock::Ticks>(seconds * 1e7));
        ASSERT_NE(musicChannel, 0u) << "no silent stream for a missing file";
        ASSERT_EQ(musicPositionThousands(), thousands);
    }

    static Shape squareAt(float x, float y, float halfSize, Colour colour) {
        Shape square = makeSquareShape(colour, {x, y}, {x, y}, 0.0f, 0.0f, 1.0f, halfSize);
        square.x = x;
        square.y = y;
        return square;
    }
};

TEST_F(ShapeDrawing, OutsideThePulsesASquareCoversItsOwnExtent) {
    ASSERT_EQ(musicChannel, 0u);
    Shape square = squareAt(0.3f, 0.3f, 0.3f, {1.0f, 0.5f, 0.25f});
    drawShape(square);
    const auto pixels = readBackBuffer();
    const LitArea area = litArea(pixels);
    // [0, 0.6] on both axes
    EXPECT_EQ(area.left, 320);
    EXPECT_EQ(area.right, 511);
    EXPECT_EQ(area.bottom, 240);
    EXPECT_EQ(area.top, 383);
    EXPECT_EQ(area.count, 192 * 144);
    EXPECT_EQ(levelDistance(pixelAt(pixels, 400, 300), 1.0f, 0.5f, 0.25f), 0);
}

TEST_F(ShapeDrawing, ScalePulseEnlargesPositionAndSizeAroundTheCentre) {
    ASSERT_NO_FATAL_FAILURE(playMusicUpTo(16386)); // S = 1.2
    Shape square = squareAt(0.3f, 0.3f, 0.3f, {1.0f, 1.0f, 1.0f});
    drawShape(square);
    const LitArea area = litArea(readBackBuffer());
    // [0, 0.72] on both axes
    EXPECT_EQ(area.left, 320);
    EXPECT_EQ(area.right, 549);
    EXPECT_EQ(area.bottom, 240);
    EXPECT_EQ(area.top, 412);
    EXPECT_EQ(area.count, 230 * 173);
}

TEST_F(ShapeDrawing, PullPulseMovesThePositionTowardsTheCentreButKeepsTheSize) {
    ASSERT_NO_FATAL_FAILURE(playMusicUpTo(10849)); // K = 0.05
    Shape square = squareAt(0.3f, 0.3f, 0.3f, {1.0f, 1.0f, 1.0f});
    drawShape(square);
    const LitArea area = litArea(readBackBuffer());
    // [-0.015, 0.585] on both axes
    EXPECT_EQ(area.left, 315);
    EXPECT_EQ(area.right, 506);
    EXPECT_EQ(area.bottom, 236);
    EXPECT_EQ(area.top, 379);
    EXPECT_EQ(area.count, 192 * 144);
}

TEST_F(ShapeDrawing, DrawingLeavesTheModelviewMatrixAsFoundEvenDuringAPulse) {
    ASSERT_NO_FATAL_FAILURE(playMusicUpTo(18200)); // S = 1.2
    glTranslatef(0.25f, -0.5f, 0.0f);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    Shape square = squareAt(0.1f, 0.1f, 0.1f, {1.0f, 1.0f, 1.0f});
    square.angle = 30.0f;
    drawShape(square);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]) << i;
    }
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
}

TEST_F(ShapeDrawing, EachKindDrawsWithItsOwnPrimitive) {
    // A square with a gable on its right side, counter-clockwise from its top right corner, so
    // that its first four vertices are the square and its first three half of it.
    Shape house;
    house.vertices = {{0.5f, 0.5f}, {-0.5f, 0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}, {0.75f, 0.0f}};
    house.colours = {{1.0f, 1.0f, 1.0f}};

    house.kind = ShapeKind::Polygon; // all five vertices
    resetFrame();
    drawShape(house);
    auto pixels = readBackBuffer();
    EXPECT_FALSE(isBlack(pixelAtPoint(pixels, 0.6f, 0.0f)));
    EXPECT_FALSE(isBlack(pixelAtPoint(pixels, 0.4f, -0.4f)));
    EXPECT_EQ(litArea(pixels).right, 559);

    house.kind = ShapeKind::Quads; // the first four only
    resetFrame();
    drawShape(house);
    pixels = readBackBuffer();
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, 0.6f, 0.0f)));
    EXPECT_EQ(litArea(pixels).count, 320 * 240);

    house.kind = ShapeKind::Triangles; // the first three only: the upper left half
    resetFrame();
    drawShape(house);
    pixels = readBackBuffer();
    EXPECT_FALSE(isBlack(pixelAtPoint(pixels, -0.4f, 0.4f)));
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, 0.4f, -0.4f)));
    EXPECT_NEAR(litArea(pixels).count, 320 * 240 / 2, 320);

    house.kind = ShapeKind::Lines; // the top and bottom edges; the fifth vertex has no partner
    resetFrame();
    drawShape(house);
    pixels = readBackBuffer();
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, 0.0f, 0.0f)));
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, -0.5f, 0.0f))); // no side edges
    const LitArea lines = litArea(pixels);
    EXPECT_NEAR(lines.count, 2 * 320, 4);
    EXPECT_NEAR(lines.left, 160, 1);
    EXPECT_NEAR(lines.right, 479, 1);
    EXPECT_NEAR(lines.bottom, 120, 1);
    EXPECT_NEAR(lines.top, 359, 1);
}

TEST_F(ShapeDrawing, AngleTurnsTheShapeCounterClockwiseAboutItsPosition) {
    Shape wedge;
    wedge.kind = ShapeKind::Triangles;
    wedge.vertices = {{0.0f, 0.0f}, {0.5f, 0.0f}, {0.0f, 0.25f}};
    wedge.colours = {{1.0f, 1.0f, 1.0f}};
    wedge.x = 0.5f;
    wedge.angle = 90.0f; // now (0.5, 0), (0.5, 0.5), (0.25, 0)
    drawShape(wedge);
    const auto pixels = readBackBuffer();
    EXPECT_FALSE(isBlack(pixelAtPoint(pixels, 0.45f, 0.1f)));
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, 0.55f, 0.1f)));
    EXPECT_TRUE(isBlack(pixelAtPoint(pixels, 0.45f, -0.1f)));
    const LitArea area = litArea(pixels);
    EXPECT_NEAR(area.left, 400, 1);
    EXPECT_NEAR(area.right, 479, 1);
    EXPECT_NEAR(area.top, 359, 1);
}

TEST_F(ShapeDrawing, ColourlessShapeTakesTheCurrentColour) {
    glColor3f(0.0f, 1.0f, 0.0f);
    Shape colourless = squareAt(-0.5f, 0.0f, 0.2f, {});
    colourless.colours.clear();
    drawShape(colourless);
    auto pixels = readBackBuffer();
    EXPECT_EQ(levelDistance(pixelAtPoint(pixels, -0.5f, 0.0f), 0.0f, 1.0f, 0.0f), 0);

    // After a Shape of one colour, the next colourless Shape shows that colour.
    Shape square = squareAt(0.5f, 0.0f, 0.2f, {1.0f, 0.0f, 0.5f});
    drawShape(square);
    colourless.x = 0.0f;
    colourless.y = 0.6f;
    drawShape(colourless);
    pixels = readBackBuffer();
    EXPECT_EQ(levelDistance(pixelAtPoint(pixels, 0.5f, 0.0f), 1.0f, 0.0f, 0.5f), 0);
    EXPECT_EQ(levelDistance(pixelAtPoint(pixels, 0.0f, 0.6f), 1.0f, 0.0f, 0.5f), 0);
}

TEST_F(ShapeDrawing, PerVertexColoursGoToTheirOwnVertices) {
    Shape square = squareAt(0.0f, 0.0f, 0.5f, {});
    square.colours = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 1}};
    drawShape(square);
    const auto pixels = readBackBuffer();
    // A pixel just inside each corner is within a few levels of that corner's colour.
    EXPECT_LE(levelDistance(pixelAtPoint(pixels, -0.495f, -0.495f), 1, 0, 0), 4);
    EXPECT_LE(levelDistance(pixelAtPoint(pixels, 0.495f, -0.495f), 0, 1, 0), 4);
    EXPECT_LE(levelDistance(pixelAtPoint(pixels, 0.495f, 0.495f), 0, 0, 1), 4);
    EXPECT_LE(levelDistance(pixelAtPoint(pixels, -0.495f, 0.495f), 1, 1, 1), 4);
}

struct CallbackRecord {
    int calls = 0;
    Shape* shape = nullptr;
    GLint stackDepth = 0;
    GLfloat modelview[16] = {};
    GLfloat colour[4] = {};
};
CallbackRecord callbackRecord;

void recordDrawCall(Shape* shape) {
    ++callbackRecord.calls;
    callbackRecord.shape = shape;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &callbackRecord.stackDepth);
    glGetFloatv(GL_MODELVIEW_MATRIX, callbackRecord.modelview);
    glGetFloatv(GL_CURRENT_COLOR, callbackRecord.colour);
}

void failIfUpdated(Shape*) {
    ADD_FAILURE() << "drawing ran the update callback";
}

TEST_F(ShapeDrawing, CallbackShapeOnlyRunsItsDrawCallbackAndNeverPulses) {
    ASSERT_NO_FATAL_FAILURE(playMusicUpTo(16386)); // S = 1.2 for any other Shape
    callbackRecord = {};
    Shape callback;
    callback.kind = ShapeKind::Callback;
    callback.drawCallback = recordDrawCall;
    callback.updateCallback = failIfUpdated;
    callback.x = 0.5f; // never used to place anything
    callback.y = 0.5f;
    callback.angle = 45.0f;
    callback.colours = {{1.0f, 0.0f, 0.0f}};
    callback.vertices = {{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}};
    glColor3f(0.0f, 0.25f, 1.0f);

    drawShape(callback);

    EXPECT_EQ(callbackRecord.calls, 1);
    EXPECT_EQ(callbackRecord.shape, &callback);
    EXPECT_EQ(callbackRecord.stackDepth, 1);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(callbackRecord.modelview[i], (i % 5 == 0) ? 1.0f : 0.0f) << i;
    }
    EXPECT_EQ(callbackRecord.colour[0], 0.0f);
    EXPECT_EQ(callbackRecord.colour[1], 0.25f);
    EXPECT_EQ(callbackRecord.colour[2], 1.0f);
    EXPECT_EQ(litArea(readBackBuffer()).count, 0); // its vertices are not drawn
}

} // namespace
