// The frame loop's schedule, replayed frame by frame on the renderer's simulated clock.
#include "production_timeline.h"

namespace {

using Ticks = std::int64_t;

constexpr Ticks ticksPerSecond = 10'000'000;

Ticks frameTicks(std::int64_t frame, int fps) {
    return (2 * frame * ticksPerSecond + fps) / (2 * static_cast<Ticks>(fps));
}

float secondsBetween(Ticks start, Ticks end) {
    return static_cast<float>(static_cast<double>(end - start)) / 1e7f;
}

} // namespace

std::vector<ScheduledFrame> scheduleProduction(int fps) {
    std::vector<ScheduledFrame> schedule;
    int scene = 0;
    Ticks sceneStart = frameTicks(0, fps);
    bool inOutro = false;
    Ticks outroStart = 0;
    for (std::int64_t frame = 0;; ++frame) {
        const Ticks now = frameTicks(frame, fps);
        const float played = secondsBetween(sceneStart, now);
        if (!inOutro && played < scenePlayTimes[scene]) {
            schedule.push_back({scene + 1, Phase::Play, played});
            continue;
        }
        if (!inOutro) {
            inOutro = true;
            outroStart = now;
        }
        const float outroTime = secondsBetween(outroStart, now);
        const bool finished = outroTime >= outroRunTimes[scene];
        if (finished && scene + 1 == productionSceneCount) {
            return schedule;
        }
        schedule.push_back({scene + 1, Phase::Outro, outroTime});
        if (finished) {
            ++scene;
            sceneStart = now;
            inOutro = false;
        }
    }
}

std::int64_t frameOf(const std::vector<ScheduledFrame>& schedule, const Moment& moment) {
    std::int64_t last = -1;
    for (std::size_t frame = 0; frame < schedule.size(); ++frame) {
        const ScheduledFrame& shown = schedule[frame];
        if (shown.scene != moment.scene || shown.phase != moment.phase) {
            continue;
        }
        if (shown.sceneTime >= moment.seconds) {
            return static_cast<std::int64_t>(frame);
        }
        last = static_cast<std::int64_t>(frame);
    }
    return last;
}
