// Estimating the production's length in frames from the Scenes' play times and the outros'.
#include "tools/capture/production_length.h"

#include <cmath>

#include "app/timeline.h"

namespace {

// Seconds each Scene's outro runs, in playing order: they end by their own clocks, which the
// SceneTable does not record.
constexpr double outroSeconds[sceneCount] = {5.51, 5.0, 3.0, 2.91, 3.91, 5.5};

std::uint64_t framesFor(double seconds, int framesPerSecond) {
    return static_cast<std::uint64_t>(std::ceil(seconds * framesPerSecond));
}

} // namespace

std::uint64_t estimatedProductionFrames(int framesPerSecond) {
    // A Scene and its outro each take about their seconds' worth of frames: the outro adds the
    // frame that captures the picture before its clock runs, and the next Scene starts a frame
    // early, in the outro's last frame. Only Scene 1 also shows the time 0.
    std::uint64_t frames = 1;
    for (int scene = 0; scene < sceneCount; ++scene) {
        frames += framesFor(sceneTable[scene].duration, framesPerSecond) +
                  framesFor(outroSeconds[scene], framesPerSecond);
    }
    return frames;
}
