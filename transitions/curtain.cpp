// The closing curtain, lowered at a constant height / 5.5 rows per second.
#include "transitions/curtain.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

Curtain::Curtain(int width, int height)
    : startTicks(DemoClock::now()), pixels(static_cast<std::size_t>(width) * height * 3, 0) {}

bool playCurtain(Curtain& curtain, int width, int height) {
    const float seconds = DemoClock::secondsSince(curtain.startTicks);
    const bool first = curtain.calls == 0;
    ++curtain.calls;
    if (first) {
        readWindowPixels(curtain.pixels, width, height);
        return true; // this frame still shows the Scene's last picture
    }
    // The top rows are the last ones of the bottom-up picture; rows once black stay black.
    const std::size_t covered = static_cast<std::size_t>(curtainRows(seconds, height)) * width * 3;
    std::fill(curtain.pixels.end() - static_cast<std::ptrdiff_t>(covered), curtain.pixels.end(),
              std::uint8_t{0});
    drawWindowPixels(curtain.pixels, width, height);
    return seconds < curtainTime;
}

int curtainRows(float seconds, int height) {
    const float rows = std::trunc(seconds / curtainTime * static_cast<float>(height));
    if (!(rows > 0.0f)) {
        return 0;
    }
    return rows > static_cast<float>(height) ? height : static_cast<int>(rows);
}
