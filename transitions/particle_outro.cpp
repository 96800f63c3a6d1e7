// Capturing the finished picture as particles and composing the frames of their flight.
#include "transitions/particle_outro.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "random/random.h"
#include "transitions/memory_return.h"

namespace {

std::size_t pixelOffset(int column, int row, int width) {
    return (static_cast<std::size_t>(row) * width + column) * 3;
}

bool isBlack(const std::uint8_t* pixel) {
    return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0;
}

std::size_t countLitPixels(const PixelBuffer& pixels) {
    std::size_t lit = 0;
    for (std::size_t i = 0; i + 2 < pixels.size(); i += 3) {
        lit += isBlack(&pixels[i]) ? 0 : 1;
    }
    return lit;
}

std::unique_ptr<BaseRoute> makeFlight(int x, int y, const ParticleDissolve& dissolve, int width,
                                      int height) {
    const Vec2 start{static_cast<float>(x), static_cast<float>(y)};
    const Vec2 end = dissolve.destination(x, y, width, height);
    const float duration = dissolve.flightTime(dissolve.time);
    if (dissolve.bend) {
        const Vec2 control = dissolve.bend(start, end);
        return std::make_unique<QuadraticBezierRoute>(start, end, control, duration);
    }
    return std::make_unique<Route>(start, end, 0.0f, 0.0f, duration);
}

// The pixel a coordinate falls on: truncated towards zero, then held inside the window, so a
// particle outside it shows on the nearest edge.
int clampToPixel(float coordinate, int last) {
    const float whole = std::trunc(coordinate);
    if (!(whole > 0.0f)) {
        return 0; // a NaN lands here too
    }
    return whole > static_cast<float>(last) ? last : static_cast<int>(whole);
}

void plot(PixelBuffer& pixels, int width, int height, const BaseRoute& route,
          ParticleColour colour) {
    const int column = clampToPixel(route.currentX, width - 1);
    const int row = height - 1 - clampToPixel(route.currentY, height - 1);
    std::uint8_t* pixel = &pixels[pixelOffset(column, row, width)];
    pixel[0] = static_cast<std::uint8_t>(colour.r);
    pixel[1] = static_cast<std::uint8_t>(colour.g);
    pixel[2] = static_cast<std::uint8_t>(colour.b);
}

void releaseParticles(ParticleOutro& outro) {
    std::vector<std::unique_ptr<BaseRoute>>().swap(outro.routes);
    std::vector<ParticleColour>().swap(outro.colours);
    returnFreedMemory();
}

} // namespace

ParticleOutro::ParticleOutro(int width, int height)
    : startTicks(DemoClock::now()), pixels(static_cast<std::size_t>(width) * height * 3, 0) {}

bool playParticleOutro(ParticleOutro& outro, const ParticleDissolve& dissolve, int width,
                       int height, SeedSource seed) {
    const bool first = outro.calls == 0;
    ++outro.calls;
    if (first) {
        Random::seed(seed());
        captureParticles(outro, dissolve, width, height);
        return true; // this frame still shows the Scene's last picture
    }
    return drawParticles(outro, width, height, dissolve.time);
}

void captureParticles(ParticleOutro& outro, const ParticleDissolve& dissolve, int width,
                      int height) {
    readWindowPixels(outro.pixels, width, height);
    makeParticles(outro, dissolve, width, height);
}

void makeParticles(ParticleOutro& outro, const ParticleDissolve& dissolve, int width, int height) {
    const std::size_t lit = countLitPixels(outro.pixels);
    outro.colours.reserve(outro.colours.size() + lit);
    outro.routes.reserve(outro.routes.size() + lit);
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* pixel = &outro.pixels[pixelOffset(x, height - 1 - y, width)];
            if (isBlack(pixel)) {
                continue;
            }
            outro.routes.push_back(makeFlight(x, y, dissolve, width, height));
            outro.colours.push_back({static_cast<float>(pixel[0]), static_cast<float>(pixel[1]),
                                     static_cast<float>(pixel[2])});
            outro.routes.back()->start();
        }
    }
}

bool drawParticles(ParticleOutro& outro, int width, int height, float time) {
    const bool running = composeParticles(outro, width, height, time);
    drawWindowPixels(outro.pixels, width, height);
    return running;
}

bool composeParticles(ParticleOutro& outro, int width, int height, float time) {
    std::fill(outro.pixels.begin(), outro.pixels.end(), std::uint8_t{0});
    // One clock read serves the whole frame.
    const DemoClock::Ticks now = DemoClock::now();
    if (DemoClock::secondsBetween(outro.startTicks, now) >= time) {
        releaseParticles(outro); // the last frame is black
        return false;
    }
    const std::size_t count = outro.routes.size();
    for (std::size_t i = 0; i < count; ++i) {
        BaseRoute& route = *outro.routes[i];
        if (DemoClock::secondsBetween(route.startTicks, now) > route.duration) {
            continue; // arrived: no longer shown
        }
        // Plotted where the last update left it, so a fresh particle shows at (0, 0) once.
        plot(outro.pixels, width, height, route, outro.colours[i]);
        route.updateAt(now);
    }
    return true;
}
