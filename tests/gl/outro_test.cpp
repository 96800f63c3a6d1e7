// The outros on real OpenGL: particles captured and drawn in flight, the black end, the curtain.
#include <memory>

#include "gl_support.h"
#include "transitions/outros.h"
#include "transitions/particle_outro.h"

namespace {

// Puts exact bytes at pixel (x, y), y counted down from the top row as the outros count it.
void paint(int x, int y, std::array<unsigned char, 3> colour) {
    glEnable(GL_SCISSOR_TEST); // a clear of that pixel alone
    glScissor(x, 479 - y, 1, 1);
    glClearColor(colour[0] / 255.0f, colour[1] / 255.0f, colour[2] / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glDisable(GL_SCISSOR_TEST);
}

using OutroTest = ClockedTest;

TEST_F(OutroTest, ParticlesShowWhereTheirLastUpdateLeftThemUntilTheirFlightEndsThenBlack) {
    paint(100, 50, {255, 0, 0});
    paint(639, 479, {0, 0, 255});
    ParticleOutro outro(640, 480);
    const auto stayPut = [](int x, int y, int, int) { return Vec2{float(x), float(y)}; };
    captureParticles(outro, {stayPut, [](float) { return 1.0f; }, nullptr, 1.5f}, 640, 480);
    for (const Vec2 place : {Vec2{-30, 900}, Vec2{700, -5}, Vec2{-0.5f, 240.7f}, Vec2{NAN, 1}}) {
        outro.routes.push_back(std::make_unique<Route>(place, place, 0.0f, 0.0f, 1.0f));
        outro.routes.back()->start();
        outro.colours.push_back({255, 255, 255});
    }
    bool running = false;
    const auto frameAt = [&](double seconds) { // as the timeline runs it, on a cleared window
        DemoClock::setManualTime(at(seconds));
        resetFrame();
        running = drawParticles(outro, 640, 480, 1.5f);
        return readBackBuffer();
    };
    const auto shown = [](const Picture& p, int x, int y) { return pixelAt(p, x, 479 - y); };
    // Nothing has been updated yet: every particle sits at (0, 0) and the last one made wins.
    const Picture first = frameAt(1 / 60.0);
    EXPECT_EQ(litArea(first)[4], 1);
    EXPECT_EQ(shown(first, 0, 0), (Rgb{255, 255, 255}));
    const Picture second = frameAt(2 / 60.0);
    EXPECT_EQ(litArea(second)[4], 6);
    EXPECT_EQ(shown(second, 100, 50), (Rgb{255, 0, 0}));
    EXPECT_EQ(shown(second, 639, 479), (Rgb{0, 0, 255}));
    EXPECT_EQ(shown(second, 0, 479), (Rgb{255, 255, 255})); // outside: on the nearest edge
    EXPECT_EQ(shown(second, 0, 240), (Rgb{255, 255, 255})); // truncated, then held inside
    EXPECT_EQ(litArea(frameAt(1.0))[4], 6) << "at the end of their flight";
    EXPECT_EQ(litArea(frameAt(1.0000001))[4], 0);
    frameAt(1.4999999);
    EXPECT_TRUE(running);
    glClearColor(1, 1, 1, 1); // the last frame covers the whole window
    DemoClock::setManualTime(at(1.5));
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_FALSE(drawParticles(outro, 640, 480, 1.5f));
    EXPECT_EQ(litArea(readBackBuffer())[4], 0);
}

// The curtain plays once per process, so one test follows it.
TEST_F(OutroTest, CurtainBlackensTheTopRowsAtHeightOver55RowsASecondAndEndsAt55Seconds) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(scene6Outro(640, 480)); // captures the white picture
    for (const double seconds : {2.0, 2.75, 5.4}) {
        DemoClock::setManualTime(at(seconds));
        EXPECT_TRUE(scene6Outro(640, 480));
        const int black = static_cast<int>(seconds / 5.5 * 480);
        EXPECT_EQ(litArea(readBackBuffer()),
                  (std::array{0, 639, 0, 479 - black, 640 * (480 - black)}))
            << seconds << " s";
    }
    DemoClock::setManualTime(at(5.5));
    EXPECT_FALSE(scene6Outro(640, 480));
    EXPECT_EQ(curtainRows(9.0f, 480), 480) << "a frame that comes late covers the picture, no more";
}

} // namespace
