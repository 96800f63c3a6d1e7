// Shape drawing on real OpenGL: where the music's scale and pull pulses put a square.
#include <tuple>

#include "audio/music_channel.h"
#include "audio/soundtrack.h"
#include "gl_support.h"
#include "shapes/builders.h"
#include "shapes/shape_draw.h"

namespace {

// The pixels whose centres lie in [low, high) of the drawing space, on an axis of `size` pixels.
std::array<int, 2> pixelSpan(double low, double high, int size) {
    const auto first = [size](double v) { return int(std::ceil((v + 1) * size / 2 - 0.5)); };
    return {first(low), first(high) - 1};
}

using ShapeDrawing = ClockedTest;

TEST_F(ShapeDrawing, PulsesScaleEverythingOrPullPositionsOnEitherAxis) {
    // A square of half-size 0.3 at (0.3, -0.5): a pulse puts corner c at S ((1 - K) (x, y) + c) on
    // either axis. Windows exclude their bounds: 16336 and 16436 scale by 1, 16337 and 16435
    // by 1.2.
    const float x = 0.3f, y = -0.5f, half = 0.3f;
    const std::tuple<double, double, double> pulses[] = {{14000.5, 1, 0},   {10849.5, 1, 0.05},
                                                         {16336.5, 1, 0},   {16436.5, 1, 0},
                                                         {16435.5, 1.2, 0}, {16337.5, 1.2, 0}};
    for (const auto& [thousands, scale, pull] : pulses) {
        Soundtrack::release(); // a missing one, played silently as 44.1 kHz stereo from `base`
        Soundtrack::forceSilent(176'400);
        DemoClock::setManualTime(base);
        Soundtrack::play(musicChannel = Soundtrack::openStream("no-such-file.mp3"));
        DemoClock::setManualTime(at(thousands / 176.4));
        resetFrame();
        Shape square = makeSquareShape({1, 1, 1}, {x, y}, {x, y}, 0, 0, 1, half);
        std::tie(square.x, square.y) = std::tuple(x, y);
        drawShape(square);
        const auto [left, right] =
            pixelSpan(scale * ((1 - pull) * x - half), scale * ((1 - pull) * x + half), 640);
        const auto [bottom, top] =
            pixelSpan(scale * ((1 - pull) * y - half), scale * ((1 - pull) * y + half), 480);
        EXPECT_EQ(litArea(readBackBuffer()),
                  (std::array{left, right, bottom, top, (right - left + 1) * (top - bottom + 1)}))
            << "at " << thousands << " thousand bytes";
    }
    musicChannel = 0;
    Soundtrack::release();
}

} // namespace
