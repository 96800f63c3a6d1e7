// The outros on real OpenGL: capturing the back buffer as particles, composing and drawing their
// flight, finishing on black, and the closing curtain.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "app/demo_clock.h"
#include "gl_support.h"
#include "shapes/route.h"
#include "transitions/outro_rules.h"
#include "transitions/outros.h"
#include "transitions/particle_outro.h"

namespace {

constexpr int width = 640;
constexpr int height = 480;
constexpr DemoClock::Ticks base = 1'000'000'000;
constexpr DemoClock::Ticks frame = DemoClock::ticksPerSecond / 60;

DemoClock::Ticks at(double seconds) {
    return base + static_cast<DemoClock::Ticks>(std::llround(seconds * 1e7));
}

// Puts exact bytes at pixel (x, y), y counted down from the top row, into the back buffer.
void paint(int x, int y, Rgb colour) {
    const std::uint8_t bytes[3] = {colour.r, colour.g, colour.b};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glWindowPos2i(x, height - 1 - y);
    glDrawPixels(1, 1, GL_RGB, GL_UNSIGNED_BYTE, bytes);
}

// The window pixel at (x, y), y counted down from the top row.
Rgb shownAt(const std::vector<std::uint8_t>& pixels, int x, int y) {
    return pixelAt(pixels, x, height - 1 - y);
}

int litPixels(const std::vector<std::uint8_t>& pixels) {
    int lit = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            lit += isBlack(pixelAt(pixels, x, y)) ? 0 : 1;
        }
    }
    return lit;
}

// Whether the window pixel at (x, y), y down from the top, has exactly the given colour.
testing::AssertionResult shows(const std::vector<std::uint8_t>& pixels, int x, int y, Rgb want) {
    const Rgb got = shownAt(pixels, x, y);
    if (got.r == want.r && got.g == want.g && got.b == want.b) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << "pixel (" << x << ", " << y << ") shows " << int(got.r)
                                       << " " << int(got.g) << " " << int(got.b);
}

// Test rules: particles that stay where they are, or fly to the left edge, for fixed times.
Vec2 stayPut(int x, int y, int, int) {
    return {static_cast<float>(x), static_cast<float>(y)};
}
float wholeTime(float time) {
    return time;
}
float oneSecond(float) {
    return 1.0f;
}
float noTime(float) {
    return 0.0f;
}
float tenSeconds(float) {
    return 10.0f;
}

// One frame as the timeline runs it: a cleared window, the outro's frame, and what it shows.
template <typename Outro> std::vector<std::uint8_t> showFrame(DemoClock::Ticks when, Outro outro) {
    DemoClock::setManualTime(when);
    resetFrame();
    outro();
    return readBackBuffer();
}

class ParticleMachinery : public testing::Test {
  protected:
    void SetUp() override {
        DemoClock::setManualTime(base);
        resetFrame();
    }
    void TearDown() override { DemoClock::setSource(nullptr); }

    // Captures the back buffer with the given rules and returns the outro's state.
    std::unique_ptr<ParticleOutro> capture(const ParticleDissolve& dissolve) {
        auto outro = std::make_unique<ParticleOutro>(width, height);
        captureParticles(*outro, dissolve, width, height);
        return outro;
    }
};

TEST_F(ParticleMachinery, CaptureMakesOneStartedParticlePerNonBlackPixelColumnByColumn) {
    paint(5, 7, {0, 0, 1});
    paint(5, 3, {200, 100, 50});
    paint(2, 470, {255, 255, 255});
    paint(600, 0, {0, 0, 0}); // black on black: no particle
    const std::vector<std::uint8_t> picture = readBackBuffer();

    const ParticleDissolve dissolve{leftEdgeTarget, wholeTime, nullptr, 2.0f};
    const auto outro = capture(dissolve);

    EXPECT_EQ(outro->pixels, picture);
    ASSERT_EQ(outro->routes.size(), 3u);
    ASSERT_EQ(outro->colours.size(), 3u);
    const Vec2 starts[3] = {{2, 470}, {5, 3}, {5, 7}};
    const ParticleColour colours[3] = {{255, 255, 255}, {200, 100, 50}, {0, 0, 1}};
    for (int i = 0; i < 3; ++i) {
        const BaseRoute& route = *outro->routes[i];
        EXPECT_NE(dynamic_cast<const Route*>(&route), nullptr);
        EXPECT_EQ(route.startX, starts[i].x);
        EXPECT_EQ(route.startY, starts[i].y);
        EXPECT_EQ(route.endX, 0.0f);
        EXPECT_EQ(route.endY, starts[i].y);
        EXPECT_EQ(route.duration, 2.0f);
        EXPECT_EQ(route.startTicks, base);
        EXPECT_EQ(outro->colours[i].r, colours[i].r);
        EXPECT_EQ(outro->colours[i].g, colours[i].g);
        EXPECT_EQ(outro->colours[i].b, colours[i].b);
    }
}

TEST_F(ParticleMachinery, CaptureDrawsDestinationThenFlightTimeThenBendForEachParticle) {
    paint(10, 20, {9, 9, 9});
    paint(10, 21, {9, 9, 9});
    paint(300, 5, {9, 9, 9});
    const ParticleDissolve dissolve{edgeTarget, coarseDuration, bendControlPoint, 3.91f};
    std::srand(99);
    const auto outro = capture(dissolve);
    ASSERT_EQ(outro->routes.size(), 3u);

    std::srand(99);
    for (const auto& route : outro->routes) {
        const auto* bent = dynamic_cast<const QuadraticBezierRoute*>(route.get());
        ASSERT_NE(bent, nullptr);
        const Vec2 start{bent->startX, bent->startY};
        const Vec2 end =
            edgeTarget(static_cast<int>(start.x), static_cast<int>(start.y), width, height);
        const float duration = coarseDuration(3.91f);
        const Vec2 control = bendControlPoint(start, end);
        EXPECT_EQ(bent->endX, end.x);
        EXPECT_EQ(bent->endY, end.y);
        EXPECT_EQ(bent->duration, duration);
        EXPECT_EQ(bent->controlX, control.x);
        EXPECT_EQ(bent->controlY, control.y);
    }
}

TEST_F(ParticleMachinery, FirstFrameShowsOnePixelAtTheTopLeftThenEachParticleInItsPlace) {
    paint(100, 50, {255, 0, 0});
    paint(400, 300, {0, 255, 0});
    paint(639, 479, {0, 0, 255});
    const auto outro = capture({stayPut, wholeTime, nullptr, 1.0f});
    const auto draw = [&] { return drawParticles(*outro, width, height, 1.0f); };

    // Nothing has been updated yet: every particle sits at (0, 0) and the last one made wins.
    const auto first = showFrame(at(1.0 / 60), draw);
    EXPECT_EQ(litPixels(first), 1);
    EXPECT_TRUE(shows(first, 0, 0, Rgb{0, 0, 255}));

    const auto second = showFrame(at(2.0 / 60), draw);
    EXPECT_EQ(litPixels(second), 3);
    EXPECT_TRUE(shows(second, 100, 50, Rgb{255, 0, 0}));
    EXPECT_TRUE(shows(second, 400, 300, Rgb{0, 255, 0}));
    EXPECT_TRUE(shows(second, 639, 479, Rgb{0, 0, 255}));
}

TEST_F(ParticleMachinery, ParticlesFlyAlongTheirRoutesAndVanishAfterTheirFlightTime) {
    paint(400, 100, {70, 80, 90});
    const auto outro = capture({leftEdgeTarget, oneSecond, nullptr, 2.0f});
    const auto draw = [&] { return drawParticles(*outro, width, height, 2.0f); };

    showFrame(at(0.1), draw); // updated at 0.1 s: a tenth of the way
    const auto second = showFrame(at(0.25), draw);
    EXPECT_EQ(litPixels(second), 1);
    EXPECT_TRUE(shows(second, 360, 100, Rgb{70, 80, 90}));

    // At exactly its flight time it still shows, where the update at 0.25 s left it.
    const auto atEnd = showFrame(at(1.0), draw);
    EXPECT_EQ(litPixels(atEnd), 1);
    EXPECT_TRUE(shows(atEnd, 300, 100, Rgb{70, 80, 90}));
    const auto arrived = showFrame(at(1.0 + 1e-7), draw);
    EXPECT_EQ(litPixels(arrived), 0);
    EXPECT_EQ(outro->routes.size(), 1u); // gone from the picture, not yet released
}

TEST_F(ParticleMachinery, ZeroFlightTimeIsNeverDrawn) {
    paint(30, 40, {255, 255, 255});
    const auto outro = capture({stayPut, noTime, nullptr, 1.0f});
    ASSERT_EQ(outro->routes.size(), 1u);
    const auto draw = [&] { return drawParticles(*outro, width, height, 1.0f); };
    EXPECT_EQ(litPixels(showFrame(base + 1, draw)), 0);
    EXPECT_EQ(litPixels(showFrame(base + frame, draw)), 0);
}

TEST_F(ParticleMachinery, ParticlesOutsideTheWindowShowOnTheNearestEdge) {
    ParticleOutro outro(width, height);
    const auto add = [&](Vec2 at, ParticleColour colour) {
        outro.routes.push_back(std::make_unique<Route>(at, at, 0.0f, 0.0f, 1.0f));
        outro.routes.back()->start();
        outro.colours.push_back(colour);
    };
    add({-30, 900}, {255, 0, 0});
    add({700, -5}, {0, 255, 0});
    add({-0.5f, 240.7f}, {0, 0, 255});
    add({639.9f, 479.9f}, {255, 255, 0});
    const auto draw = [&] { return drawParticles(outro, width, height, 1.0f); };

    showFrame(base + frame, draw);
    const auto shown = showFrame(base + 2 * frame, draw);
    EXPECT_EQ(litPixels(shown), 4);
    EXPECT_TRUE(shows(shown, 0, 479, Rgb{255, 0, 0}));
    EXPECT_TRUE(shows(shown, 639, 0, Rgb{0, 255, 0}));
    EXPECT_TRUE(shows(shown, 0, 240, Rgb{0, 0, 255}));
    EXPECT_TRUE(shows(shown, 639, 479, Rgb{255, 255, 0}));
}

TEST_F(ParticleMachinery, FinishesOnTheFirstCallAtOrAfterTOnABlackFrame) {
    paint(320, 240, {255, 255, 255});
    const auto outro = capture({stayPut, tenSeconds, nullptr, 1.5f});
    bool running = false;
    const auto draw = [&] { running = drawParticles(*outro, width, height, 1.5f); };

    showFrame(at(0.5), draw);
    EXPECT_TRUE(running);
    const auto before = showFrame(at(1.5) - 1, draw);
    EXPECT_TRUE(running);
    EXPECT_TRUE(shows(before, 320, 240, Rgb{255, 255, 255}));

    const auto last = showFrame(at(1.5), draw);
    EXPECT_FALSE(running);
    EXPECT_EQ(litPixels(last), 0);
    EXPECT_TRUE(outro->routes.empty());
    EXPECT_TRUE(outro->colours.empty());
}

class OutroFunctions : public ParticleMachinery {
  protected:
    void TearDown() override {
        setOutroSeed(std::nullopt);
        ParticleMachinery::TearDown();
    }
};

// Each outro plays once per process, so each is exercised by one test only.

TEST_F(OutroFunctions, Scene4OutroFliesAPixelStraightToItsGridCellCentreWithinT) {
    constexpr unsigned seed = 2024;
    setOutroSeed(seed);
    std::srand(seed);
    const float flight = randomDuration(2.91f);
    ASSERT_GT(flight, 1.0f); // the seed gives a flight long enough to watch

    paint(127, 95, {10, 200, 30});
    const auto picture = readBackBuffer();
    bool running = false;
    const auto outro = [&] { running = scene4Outro(width, height); };

    // The first call captures and draws nothing: the Scene's picture stays.
    DemoClock::setManualTime(base);
    outro();
    EXPECT_TRUE(running);
    EXPECT_EQ(readBackBuffer(), picture);

    double previous = 0.0;
    for (int k = 1; k <= 29; ++k) {
        const double now = 0.1 * k;
        const auto shown = showFrame(at(now), outro);
        ASSERT_TRUE(running) << now;
        if (previous > flight || now > flight) {
            EXPECT_EQ(litPixels(shown), 0) << now;
        } else if (k > 1) {
            // Where the update of the frame before left it, on the line to (64, 48).
            const double u = previous / flight;
            const int x = static_cast<int>(127.0 - 63.0 * u);
            const int y = static_cast<int>(95.0 - 47.0 * u);
            EXPECT_EQ(litPixels(shown), 1) << now;
            const bool near =
                !isBlack(shownAt(shown, x, y)) || !isBlack(shownAt(shown, x + 1, y)) ||
                !isBlack(shownAt(shown, x, y + 1)) || !isBlack(shownAt(shown, x + 1, y + 1));
            EXPECT_TRUE(near) << now << " expected near " << x << ", " << y;
        }
        previous = now;
    }
    const auto last = showFrame(at(2.91), outro);
    EXPECT_FALSE(running);
    EXPECT_EQ(litPixels(last), 0);
}

TEST_F(OutroFunctions, Scene6CurtainCoversTheTopHalfAtTwoPointSevenFiveSeconds) {
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    bool running = false;
    const auto outro = [&] { running = scene6Outro(width, height); };

    DemoClock::setManualTime(base);
    outro();
    EXPECT_TRUE(running);

    const auto half = showFrame(at(2.75), outro);
    EXPECT_TRUE(running);
    int blackRows = 0;
    for (int y = 0; y < height; ++y) {
        const bool black = isBlack(shownAt(half, 0, y)) && isBlack(shownAt(half, 320, y)) &&
                           isBlack(shownAt(half, 639, y));
        blackRows += black ? 1 : 0;
        EXPECT_EQ(black, y < 240) << "row " << y << " from the top";
    }
    EXPECT_EQ(blackRows, 240);

    const auto done = showFrame(at(5.5), outro);
    EXPECT_FALSE(running);
    EXPECT_EQ(litPixels(done), 0);
}

} // namespace
