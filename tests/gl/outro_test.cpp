// The outros on real OpenGL: capturing the back buffer as particles, drawing their flight,
// finishing on black, and the closing curtain.

#include <memory>

#include "gl_support.h"
#include "shapes/route.h"
#include "transitions/outro_rules.h"
#include "transitions/outros.h"
#include "transitions/particle_outro.h"

namespace {

// Puts exact bytes at pixel (x, y), y counted down from the top row as the outros count it.
void paint(int x, int y, Rgb colour) {
    const std::uint8_t bytes[3] = {colour.r, colour.g, colour.b};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glWindowPos2i(x, 479 - y);
    glDrawPixels(1, 1, GL_RGB, GL_UNSIGNED_BYTE, bytes);
}

// The colour at pixel (x, y), y down from the top, as 0xRRGGBB.
int shownAt(const std::vector<std::uint8_t>& pixels, int x, int y) {
    const Rgb p = pixelAt(pixels, x, 479 - y);
    return p.r << 16 | p.g << 8 | p.b;
}

// A test rule: particles that stay where they are.
Vec2 stayPut(int x, int y, int, int) {
    return {static_cast<float>(x), static_cast<float>(y)};
}

// One frame as the timeline runs it: a cleared window, the outro's frame, and what it shows.
template <typename Outro> std::vector<std::uint8_t> showFrame(DemoClock::Ticks when, Outro outro) {
    DemoClock::setManualTime(when);
    resetFrame();
    outro();
    return readBackBuffer();
}

class OutroTest : public ClockedTest {
  protected:
    std::unique_ptr<ParticleOutro> capture(const ParticleDissolve& dissolve) {
        auto outro = std::make_unique<ParticleOutro>(640, 480);
        captureParticles(*outro, dissolve, 640, 480);
        return outro;
    }
};

TEST_F(OutroTest, CaptureMakesParticlesColumnByColumnDrawingDestinationThenFlightTimeThenBend) {
    paint(5, 7, {0, 0, 1}); // the faintest colour counts; the black rest of the window does not
    paint(5, 3, {200, 100, 50});
    paint(2, 470, {255, 255, 255});
    std::srand(99);
    const auto outro = capture({edgeTarget, coarseDuration, bendControlPoint, 3.91f});
    ASSERT_EQ(outro->routes.size(), 3u);

    const Vec2 starts[] = {{2, 470}, {5, 3}, {5, 7}};
    const int colours[] = {0xffffff, 0xc86432, 0x000001};
    std::srand(99);
    for (int i = 0; i < 3; ++i) {
        const auto* route = dynamic_cast<const QuadraticBezierRoute*>(outro->routes[i].get());
        ASSERT_NE(route, nullptr);
        const Vec2 end = edgeTarget(starts[i].x, starts[i].y, 640, 480);
        EXPECT_EQ((Vec2{route->endX, route->endY}), end) << i;
        EXPECT_EQ(route->duration, coarseDuration(3.91f)) << i;
        EXPECT_EQ((Vec2{route->controlX, route->controlY}), bendControlPoint(starts[i], end)) << i;
        const ParticleColour& c = outro->colours[i];
        EXPECT_EQ(int(c.r) << 16 | int(c.g) << 8 | int(c.b), colours[i]);
    }
}

TEST_F(OutroTest, FirstFrameShowsOnePixelAtTheTopLeftThenEachParticleInItsPlace) {
    paint(100, 50, {255, 0, 0});
    paint(400, 300, {0, 255, 0});
    paint(639, 479, {0, 0, 255});
    const auto outro = capture({stayPut, [](float time) { return time; }, nullptr, 1.0f});
    const auto draw = [&] { drawParticles(*outro, 640, 480, 1.0f); };

    // Nothing has been updated yet: every particle sits at (0, 0) and the last one made wins.
    const auto first = showFrame(at(1.0 / 60), draw);
    EXPECT_EQ(litArea(first).count, 1);
    EXPECT_EQ(shownAt(first, 0, 0), 0x0000ff);

    const auto second = showFrame(at(2.0 / 60), draw);
    EXPECT_EQ(litArea(second).count, 3);
    EXPECT_EQ(shownAt(second, 100, 50), 0xff0000);
    EXPECT_EQ(shownAt(second, 400, 300), 0x00ff00);
}

TEST_F(OutroTest, ParticlesOutsideTheWindowShowOnTheNearestEdge) {
    ParticleOutro outro(640, 480);
    for (const Vec2 place : {Vec2{-30, 900}, Vec2{700, -5}, Vec2{-0.5f, 240.7f}}) {
        outro.routes.push_back(std::make_unique<Route>(place, place, 0.0f, 0.0f, 1.0f));
        outro.routes.back()->start();
        outro.colours.push_back({255, 255, 255});
    }
    const auto draw = [&] { drawParticles(outro, 640, 480, 1.0f); };
    showFrame(at(0.1), draw);
    const auto shown = showFrame(at(0.2), draw);
    EXPECT_EQ(litArea(shown).count, 3);
    EXPECT_EQ(shownAt(shown, 0, 479), 0xffffff);
    EXPECT_EQ(shownAt(shown, 639, 0), 0xffffff);
    EXPECT_EQ(shownAt(shown, 0, 240), 0xffffff); // truncated towards zero, then held inside
}

TEST_F(OutroTest, ParticlesVanishAfterTheirFlightAndTheLastCallAtOrAfterTShowsBlack) {
    paint(320, 240, {255, 255, 255});
    const auto outro = capture({stayPut, [](float) { return 1.0f; }, nullptr, 1.5f});
    bool running = false;
    const auto draw = [&] { running = drawParticles(*outro, 640, 480, 1.5f); };
    showFrame(at(0.5), draw);
    EXPECT_EQ(shownAt(showFrame(at(1.0), draw), 320, 240), 0xffffff); // at its flight time
    EXPECT_EQ(litArea(showFrame(at(1.0) + 1, draw)).count, 0);
    showFrame(at(1.5) - 1, draw);
    EXPECT_TRUE(running);

    DemoClock::setManualTime(at(1.5));
    glClearColor(1, 1, 1, 1); // the last frame covers the whole window
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    EXPECT_FALSE(running);
    EXPECT_EQ(litArea(readBackBuffer()).count, 0);
    EXPECT_TRUE(outro->routes.empty());
}

// The outro plays once per process, so one test follows it.
TEST_F(OutroTest, Scene6CurtainHasExactly240BlackRowsAtTwoPointSevenFiveSeconds) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(scene6Outro(640, 480)); // captures the white picture

    DemoClock::setManualTime(at(2.75));
    EXPECT_TRUE(scene6Outro(640, 480));
    const auto half = readBackBuffer();
    int blackRows = 0, blackTopRows = 0;
    for (int y = 0; y < 480; ++y) {
        const auto row = half.begin() + y * 640 * 3;
        const bool black = std::all_of(row, row + 640 * 3, [](std::uint8_t b) { return b == 0; });
        blackRows += black;
        blackTopRows += black && y >= 240;
    }
    EXPECT_EQ(blackRows, 240);
    EXPECT_EQ(blackTopRows, 240); // the top half

    DemoClock::setManualTime(at(5.5));
    EXPECT_FALSE(scene6Outro(640, 480));
}

} // namespace
