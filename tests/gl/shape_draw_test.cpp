// Shape drawing on real OpenGL: the pulse windows, placement under the pulses on soundtracks of
// different formats, and callback Shapes.

#include <filesystem>
#include <string>
#include <tuple>

#include <unistd.h>

#include "audio/music_channel.h"
#include "audio/soundtrack.h"
#include "gl_support.h"
#include "shapes/builders.h"
#include "shapes/pulses.h"
#include "shapes/shape_draw.h"

namespace {

// Each window excludes both bounds: 15734 and 15834 scale by 1, 15735 and 15833 by 1.1.
TEST(PulseTables, WindowsExcludeBothBounds) {
    const auto expectWindows = [](const auto& windows, float (*pulse)(std::uint64_t), float none) {
        for (const PulseWindow& window : windows) {
            EXPECT_EQ(pulse(window.low), none) << window.low;
            EXPECT_EQ(pulse(window.low + 1), window.value) << window.low;
            EXPECT_EQ(pulse(window.high - 1), window.value) << window.low;
            EXPECT_EQ(pulse(window.high), none) << window.low;
        }
    };
    expectWindows(scalePulseWindows, scalePulse, 1.0f);
    expectWindows(pullPulseWindows, pullPulse, 0.0f);
    EXPECT_EQ(scalePulse(15735), 1.1f);
    EXPECT_EQ(pullPulse(9612), 0.07f);
}

Shape squareAt(float x, float y, float halfSize, Colour colour = {1.0f, 1.0f, 1.0f}) {
    Shape square = makeSquareShape(colour, {x, y}, {x, y}, 0.0f, 0.0f, 1.0f, halfSize);
    square.x = x;
    square.y = y;
    return square;
}

// What a square of half-size 0.3 at (0.3, 0.3) lights: left, right, bottom, top, pixel count.
std::array<int, 5> drawnSquare() {
    resetFrame();
    Shape square = squareAt(0.3f, 0.3f, 0.3f);
    drawShape(square);
    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1); // the pulses' matrix is popped
    const LitArea area = litArea(readBackBuffer());
    return {area.left, area.right, area.bottom, area.top, area.count};
}

// Plays `path` silently from the start, then sets the clock `seconds` later. A missing file
// plays as 44.1 kHz stereo.
void playFor(const std::string& path, double seconds) {
    constexpr DemoClock::Ticks playStart = 5'000'000'000;
    Soundtrack::release();
    Soundtrack::forceSilent(176'400);
    DemoClock::setManualTime(playStart);
    musicChannel = Soundtrack::openStream(path.c_str());
    ASSERT_NE(musicChannel, 0u);
    Soundtrack::play(musicChannel);
    DemoClock::setManualTime(playStart + static_cast<DemoClock::Ticks>(seconds * 1e7));
}

class ShapeDrawing : public testing::Test {
  protected:
    void SetUp() override { resetFrame(); }
    void TearDown() override {
        musicChannel = 0;
        Soundtrack::release();
        DemoClock::setSource(nullptr);
    }
};

TEST_F(ShapeDrawing, PulsesScaleOrPullTheSquareAndLeaveTheMatrixAsFound) {
    const std::tuple<std::uint64_t, std::array<int, 5>> cases[] = {
        {14000, {320, 511, 240, 383, 192 * 144}}, // no pulse: [0, 0.6] on both axes
        {16386, {320, 549, 240, 412, 230 * 173}}, // S = 1.2: all grows to [0, 0.72]
        {10849, {315, 506, 236, 379, 192 * 144}}, // K = 0.05: pulled to [-0.015, 0.585]
    };
    for (const auto& [thousands, lit] : cases) {
        ASSERT_NO_FATAL_FAILURE(playFor("no-such-file.mp3", (thousands + 0.5) / 176.4));
        EXPECT_EQ(drawnSquare(), lit) << thousands;
    }
}

// A sine tone of `seconds` in a sox `format`, encoded by lame once for all test programs.
std::string toneFile(const std::string& format, int seconds) {
    const std::string path =
        std::string(OMBRA_TEST_DATA) + "/pulse-tone-" + std::to_string(seconds) + "s.mp3";
    const std::string part = path + ".part" + std::to_string(getpid());
    const std::string command = "sox -n " + format + " -t wav - synth " + std::to_string(seconds) +
                                " sine 440 2>/dev/null | lame --quiet - " + part + " && mv " +
                                part + " " + path;
    if (!std::filesystem::exists(path)) {
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    return path;
}

TEST_F(ShapeDrawing, PullPulseFallsWhereEachFormatsByteCountReachesIt) {
    // The middle of the first pull window, 9,636,000 bytes in, is reached after 100.375 s of
    // 48 kHz mono (96,000 bytes a second) but after 54.625 s of 44.1 kHz stereo (176,400).
    const std::string mono = toneFile("-r 48000 -c 1", 102);
    const std::string stereo = toneFile("-r 44100 -c 2", 56);
    const std::tuple<std::string, double, int> moments[] = {
        {mono, 100.375, 313}, // K = 0.07: [-0.021, 0.579]
        {mono, 54.625, 320},
        {stereo, 54.625, 313},
        {stereo, 100.375, 320},
    };
    for (const auto& [path, seconds, left] : moments) {
        ASSERT_NO_FATAL_FAILURE(playFor(path, seconds));
        EXPECT_EQ(drawnSquare()[0], left) << path << " at " << seconds << " s";
    }
}

TEST_F(ShapeDrawing, CallbackShapeOnlyRunsItsDrawCallback) {
    ASSERT_NO_FATAL_FAILURE(playFor("no-such-file.mp3", 16386.5 / 176.4)); // S = 1.2 elsewhere
    Shape callback = squareAt(0.5f, 0.5f, 0.3f, {1.0f, 0.0f, 0.0f});
    callback.kind = ShapeKind::Callback;
    callback.angle = 45.0f;
    callback.drawCallback = [](Shape*) { glRectf(-0.1f, -0.1f, 0.1f, 0.1f); };
    callback.updateCallback = [](Shape*) { ADD_FAILURE() << "drawing ran the update callback"; };
    glColor3f(0.0f, 0.25f, 1.0f);
    drawShape(callback);
    // Its rectangle alone, neither pulsed, placed, turned nor coloured by the Shape.
    const auto pixels = readBackBuffer();
    const LitArea area = litArea(pixels);
    EXPECT_EQ((std::array{area.left, area.right, area.bottom, area.top, area.count}),
              (std::array{288, 351, 216, 263, 64 * 48}));
    EXPECT_EQ(levelDistance(pixelAt(pixels, 320, 240), 0.0f, 0.25f, 1.0f), 0);
}

} // namespace
