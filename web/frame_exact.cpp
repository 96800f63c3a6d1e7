// The frame-exact mode: the simulated run of the offline renderer, its pictures read as RGBA (all
// WebGL 2 reads of 8-bit colours) and handed to the page with the top row first.
#include "web/frame_exact.h"

#include <GL/glew.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "app/picture.h"
#include "app/simulated_run.h"
#include "web/page_calls.h"

namespace {

constexpr int framesPerSecond = 60;
// Frames are played in runs of about this long, so that the page stays responsive meanwhile.
constexpr auto runLength = std::chrono::milliseconds(50);

static struct { std::uint64_t next = 0; } state;

// The picture as RGBA, top row first.
std::vector<std::uint8_t> readPicture() {
    const int width = pictureSize.width, height = pictureSize.height;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * 4;
    std::vector<std::uint8_t> bottomUp(rowBytes * height);
    usePicture();
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint8_t> topDown(bottomUp.size());
    for (int y = 0; y < height; ++y) {
        const auto row = bottomUp.begin() + static_cast<std::ptrdiff_t>(rowBytes * y);
        std::copy(row, row + static_cast<std::ptrdiff_t>(rowBytes),
                  topDown.begin() + static_cast<std::ptrdiff_t>(rowBytes * (height - 1 - y)));
    }
    return topDown;
}

} // namespace

void prepareFrameExactRun(std::optional<unsigned> seed) {
    prepareSimulatedRun(framesPerSecond, seed, {MusicChoice::Kind::Silent, {}, {}});
}

bool continueFrameExactRun(const FrameList& frames) {
    const FrameList::Frame last = frames.last().value_or(0);
    const auto stopAt = std::chrono::steady_clock::now() + runLength;
    while (state.next <= last) {
        const std::uint64_t frame = state.next++;
        if (!runSimulatedFrame(frame, framesPerSecond)) {
            tellPageFailure("the production ended at frame " + std::to_string(frame) +
                            ", before the last frame asked for");
            return false;
        }
        if (frames.contains(frame)) {
            const std::vector<std::uint8_t> picture = readPicture();
            givePageFrame(frame, picture.data(), picture.size());
        }
        if (std::chrono::steady_clock::now() >= stopAt) {
            return true;
        }
    }
    tellPageFramesDone();
    return false;
}
