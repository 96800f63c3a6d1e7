// The production's frames at a given rate, worked out before it plays: which frames each Scene
// and each outro take.
#pragma once

#include <cstdint>
#include <vector>

// A run of frames in which one Scene plays, or its outro runs.
struct ProductionPhase {
    int scene = 0;      // 1 to 6
    bool outro = false; // the outro rather than the Scene itself
    std::uint64_t firstFrame = 0;
    std::uint64_t frames = 0;
};

// The twelve phases in playing order, from the Scenes' play times, the outros' running times and
// the frame loop's rules: a Scene plays while its clock reads less than its play time; its outro
// starts its own clock in the first frame past it and runs while that clock reads less than its
// running time; the frame in which it reaches it still shows the outro and starts the next
// Scene's clock, and after the last outro it ends the production unshown.
std::vector<ProductionPhase> productionPhases(int framesPerSecond);

// How many frames the production shows: its last frame is one less.
std::uint64_t productionFrames(int framesPerSecond);
