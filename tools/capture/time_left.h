// How long the rest of a render will take, learnt phase by phase as it goes: the phases' frames
// cost very different times (a dissolve's particles several times a still Scene's), so a flat
// rate of frames a second says too little until the end.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tools/capture/production_length.h"

// The twelve phases, Scene 1 to 6 each playing then in its outro: (scene - 1) * 2 + outro.
constexpr std::size_t phaseCount = 12;
constexpr std::size_t phaseIndex(int scene, bool outro) {
    return static_cast<std::size_t>(scene - 1) * 2 + (outro ? 1 : 0);
}

// What the render does with its frames, which decides how their costs compare.
enum class FrameUse {
    Drawn,   // drawn, and only a few written
    Written, // every one written, as video or PNG: writing takes most of the time
};

class TimeLeft {
  public:
    // The render will take `phases`' frames.
    TimeLeft(const std::vector<ProductionPhase>& phases, FrameUse use);

    // A frame of `phase` is done, `seconds` after the one before it.
    void add(std::size_t phase, double seconds);

    std::uint64_t framesLeft() const;

    // A phase seen for long enough is expected to go on as it went. One not seen yet, or only
    // for its first frames (which may prepare shaders or capture a picture), costs its known
    // share of the work, scaled by how long the phases seen took against their shares. 0 before
    // the first frame.
    double secondsLeft() const;

  private:
    struct Phase {
        std::uint64_t planned = 0, done = 0;
        double seconds = 0;
    };
    const std::array<double, phaseCount>& work;
    std::array<Phase, phaseCount> phases{};
};
