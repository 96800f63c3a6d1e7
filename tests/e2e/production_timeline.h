// The frame loop's schedule worked out from the rules alone: which Scene and phase each frame of
// an offline rendering shows, and the clock the log reports for it.
#pragma once

#include <cstdint>
#include <vector>

enum class Phase { Play, Outro };

constexpr int productionSceneCount = 6;

// How long each Scene plays, and how long its outro runs by its own clock, in playing order.
constexpr float scenePlayTimes[productionSceneCount] = {5.815f, 11.0f,  21.25f,
                                                        31.05f, 31.65f, 10.55f};
constexpr float outroRunTimes[productionSceneCount] = {5.51f, 5.0f, 3.0f, 2.91f, 3.91f, 5.5f};

struct ScheduledFrame {
    int scene = 0; // 1 to 6
    Phase phase = Phase::Play;
    float sceneTime = 0.0f; // the Scene's clock while it plays, the outro's own clock after
};

// Every frame that reaches the screen at `fps` frames a second, from frame 0 to the frame before
// the one in which the last outro finishes (that one ends the run and is never shown).
//
// Frame n happens at n / fps seconds on a clock of 100-nanosecond ticks (n * 10^7 / fps, halves
// rounded up), and a clock reading is the tick difference as double, then float, divided by 1e7
// in single precision. A Scene plays while its clock is below its play time; the first frame
// past it is the outro's first frame, where the outro's clock reads 0; the outro finishes in the
// first frame in which its clock has reached its run time, and the next Scene's clock starts in
// that same frame, so that Scene's first frame is the one after.
std::vector<ScheduledFrame> scheduleProduction(int fps);

// A moment of the production: the first frame of `scene` in `phase` whose clock reads at least
// `seconds`. A moment past the end of the phase means the phase's last frame.
struct Moment {
    int scene;
    Phase phase;
    double seconds;
};

// The frame a moment falls on, in `schedule`; -1 when that Scene and phase never show.
std::int64_t frameOf(const std::vector<ScheduledFrame>& schedule, const Moment& moment);
