// Estimating the time left from the costs seen and the phases' known shares of the work.
#include "tools/capture/time_left.h"

#include <algorithm>

namespace {

// Milliseconds a frame of each phase took on the development machine in whole-production
// renders at 640x480 and 60 fps: drawing alone, and drawing with every frame written as video.
// Only the ratios matter, and they hold at other sizes and rates: a dissolve's noise is as hard
// to encode as its particles are to draw. Where the Scenes change, these want measuring again.
constexpr std::array<double, phaseCount> drawingWork = {0.85, 4.81, 0.71, 3.93, 0.84, 3.05,
                                                        2.09, 3.26, 2.38, 6.79, 5.30, 3.44};
constexpr std::array<double, phaseCount> writingWork = {5.03, 12.57, 3.77, 7.45, 3.49, 5.53,
                                                        5.85, 5.68,  5.07, 9.05, 8.13, 5.10};
// Half a second of frames at 60 fps: a phase's first frames may cost far more than the rest.
constexpr std::uint64_t framesToTrust = 30;

} // namespace

TimeLeft::TimeLeft(const std::vector<ProductionPhase>& planned, FrameUse use)
    : work(use == FrameUse::Written ? writingWork : drawingWork) {
    for (const ProductionPhase& phase : planned) {
        phases[phaseIndex(phase.scene, phase.outro)].planned += phase.frames;
    }
}

void TimeLeft::add(std::size_t phase, double seconds) {
    Phase& seen = phases.at(phase);
    ++seen.done;
    seen.seconds += seconds;
}

std::uint64_t TimeLeft::framesLeft() const {
    std::uint64_t left = 0;
    for (const Phase& phase : phases) {
        left += phase.planned - std::min(phase.done, phase.planned);
    }
    return left;
}

double TimeLeft::secondsLeft() const {
    double seenSeconds = 0, seenWork = 0;
    for (std::size_t i = 0; i < phaseCount; ++i) {
        seenSeconds += phases[i].seconds;
        seenWork += work[i] * static_cast<double>(phases[i].done);
    }
    if (seenWork == 0) {
        return 0;
    }
    const double secondsPerWork = seenSeconds / seenWork;
    double left = 0;
    for (std::size_t i = 0; i < phaseCount; ++i) {
        const Phase& phase = phases[i];
        if (phase.done >= phase.planned) {
            continue;
        }
        const double frameSeconds = phase.done >= framesToTrust
                                        ? phase.seconds / static_cast<double>(phase.done)
                                        : work[i] * secondsPerWork;
        left += frameSeconds * static_cast<double>(phase.planned - phase.done);
    }
    return left;
}
