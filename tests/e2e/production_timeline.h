// The frame loop's schedule worked out from the rules alone: which Scene and phase each frame of
// an offline rendering shows, and the clock the log reports for it.
#pragma once

#include <cstdint>
#include <vector>

enum class Phase { Play, Outro };

// How long each Scene plays, and how long its outro runs by its own clock, in playing order.
constexpr float scenePlayTimes[] = {5.815f, 11.0f, 21.25f, 31.05f, 31.65f, 10.55f};
constexpr float outroRunTimes[] = {5.51f, 5.0f, 3.0f, 2.91f, 3.91f, 5.5f};

// A moment of the production: Scene 1 to 6, its phase, and the Scene's clock while it plays or
// the outro's own clock after.
struct Moment {
    int scene;
    Phase phase;
    double seconds;
};

// Every frame shown at `fps` frames a second. Frame n happens at n / fps seconds, rounded to a
// 100-nanosecond tick; a clock reads the tick difference as double, then float, over 1e7f. A
// Scene plays while its clock is below its play time, and its outro's clock starts in the next
// frame; the frame in which that clock reaches the run time starts the next Scene's clock, and
// is not shown when it ends the last outro.
inline std::vector<Moment> scheduleProduction(int fps) {
    const auto seconds = [fps](std::int64_t startFrame, std::int64_t frame) {
        const auto ticks = [fps](std::int64_t n) { return (2 * n * 10'000'000 + fps) / (2 * fps); };
        return static_cast<float>(static_cast<double>(ticks(frame) - ticks(startFrame))) / 1e7f;
    };
    std::vector<Moment> schedule;
    std::int64_t frame = 0;
    std::int64_t clockStart = 0; // the frame in which the Scene's clock starts
    for (int scene = 1; scene <= 6; ++scene) {
        for (; seconds(clockStart, frame) < scenePlayTimes[scene - 1]; ++frame) {
            schedule.push_back({scene, Phase::Play, seconds(clockStart, frame)});
        }
        const std::int64_t outroStart = frame;
        for (; seconds(outroStart, frame) < outroRunTimes[scene - 1]; ++frame) {
            schedule.push_back({scene, Phase::Outro, seconds(outroStart, frame)});
        }
        if (scene < 6) { // the finishing frame, in which the next Scene's clock starts
            schedule.push_back({scene, Phase::Outro, seconds(outroStart, frame)});
        }
        clockStart = frame++;
    }
    return schedule;
}

// The first frame of the moment's Scene and phase whose clock reads at least its seconds; past
// the end of the phase, its last frame; -1 when they never show.
inline std::int64_t frameOf(const std::vector<Moment>& schedule, const Moment& moment) {
    std::int64_t last = -1;
    for (std::int64_t frame = 0; frame < std::int64_t(schedule.size()); ++frame) {
        if (schedule[frame].scene == moment.scene && schedule[frame].phase == moment.phase) {
            last = frame;
            if (schedule[frame].seconds >= moment.seconds) {
                break;
            }
        }
    }
    return last;
}
