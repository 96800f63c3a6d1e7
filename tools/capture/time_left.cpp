// Estimating the time left from the costs seen and the phases' known shares of drawing work.
#include "tools/capture/time_left.h"

#include <algorithm>

namespace {

// Processor milliseconds that drawing a frame of each phase takes with Mesa's software renderer
// on the development machine (frames.csv and the process's CPU clock, 60 fps). Only the ratios
// matter; where the Scenes change, the estimate learns each phase's real cost once it is
// reached, and these figures want measuring again.
constexpr std::array<double, phaseCount> drawingWork = {1.0, 5.9, 1.0, 5.6, 1.0,  3.7,
                                                        3.4, 3.4, 3.3, 7.3, 38.3, 36.8};
// Drawing stretches beyond its processor time on a machine that is busy, with ffmpeg above all,
// but ffmpeg eases where drawing is the slow part: measured whole-production renders came out
// best with the stretch capped here.
constexpr double largestStretch = 1.3;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

TimeLeft::TimeLeft(const std::vector<ProductionPhase>& planned) {
    for (const ProductionPhase& phase : planned) {
        phases[phaseIndex(phase.scene, phase.outro)].planned += phase.frames;
    }
}

void TimeLeft::add(std::size_t phase, const FrameCost& cost) {
    Phase& seen = phases.at(phase);
    ++seen.done;
    seen.seconds += cost.seconds;
    seen.renderSeconds += cost.renderSeconds;
    seen.renderCpuSeconds += cost.renderCpuSeconds;
}

std::uint64_t TimeLeft::framesLeft() const {
    std::uint64_t left = 0;
    for (const Phase& phase : phases) {
        left += phase.planned - std::min(phase.done, phase.planned);
    }
    return left;
}

double TimeLeft::secondsLeft() const {
    double cpu = 0, work = 0, render = 0;
    std::vector<double> beyondDrawing;
    for (std::size_t i = 0; i < phaseCount; ++i) {
        const Phase& phase = phases[i];
        if (phase.done > 0) {
            cpu += phase.renderCpuSeconds;
            work += drawingWork[i] / 1000 * static_cast<double>(phase.done);
            render += phase.renderSeconds;
            beyondDrawing.push_back((phase.seconds - phase.renderCpuSeconds) /
                                    static_cast<double>(phase.done));
        }
    }
    if (beyondDrawing.empty()) {
        return 0;
    }
    const double speed = cpu / work;
    const double stretch = cpu > 0 ? std::min(render / cpu, largestStretch) : 1.0;
    const double typicalBeyond = median(beyondDrawing);

    double left = 0;
    for (std::size_t i = 0; i < phaseCount; ++i) {
        const Phase& phase = phases[i];
        if (phase.done >= phase.planned) {
            continue;
        }
        const double frameSeconds = phase.done > 0
                                        ? phase.seconds / static_cast<double>(phase.done)
                                        : typicalBeyond + drawingWork[i] / 1000 * speed * stretch;
        left += frameSeconds * static_cast<double>(phase.planned - phase.done);
    }
    return std::max(0.0, left);
}
