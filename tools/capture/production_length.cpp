// Working out the production's phases frame by frame, reading the clock as the frame loop does.
#include "tools/capture/production_length.h"

#include <iterator>

#include "app/frame_time.h"
#include "scenes/scene_builders.h"
#include "transitions/outros.h"

namespace {

static_assert(std::size(scenePlayTimes) == std::size(outroRunTimes));

// The first frame from `frame` on whose clock, started in frame `clockStart`, reads `seconds`.
std::uint64_t firstFrameReaching(float seconds, std::uint64_t clockStart, std::uint64_t frame,
                                 int framesPerSecond) {
    const DemoClock::Ticks start = frameTicks(clockStart, framesPerSecond);
    while (DemoClock::secondsBetween(start, frameTicks(frame, framesPerSecond)) < seconds) {
        ++frame;
    }
    return frame;
}

} // namespace

std::vector<ProductionPhase> productionPhases(int framesPerSecond) {
    std::vector<ProductionPhase> phases;
    const int scenes = static_cast<int>(std::size(scenePlayTimes));
    std::uint64_t clockStart = 0; // the frame in which the Scene's clock starts
    std::uint64_t frame = 0;
    for (int scene = 1; scene <= scenes; ++scene) {
        const std::uint64_t outroStart =
            firstFrameReaching(scenePlayTimes[scene - 1], clockStart, frame, framesPerSecond);
        phases.push_back({scene, false, frame, outroStart - frame});
        const std::uint64_t finishing =
            firstFrameReaching(outroRunTimes[scene - 1], outroStart, outroStart, framesPerSecond);
        const bool finishingShown = scene < scenes;
        frame = finishing + (finishingShown ? 1 : 0);
        phases.push_back({scene, true, outroStart, frame - outroStart});
        clockStart = finishing;
    }
    return phases;
}

std::uint64_t productionFrames(int framesPerSecond) {
    const ProductionPhase last = productionPhases(framesPerSecond).back();
    return last.firstFrame + last.frames;
}
