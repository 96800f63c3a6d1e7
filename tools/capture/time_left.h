// How long the rest of a render will take, learnt phase by phase as it goes: Scene 6 costs many
// times what Scene 1 does, so a flat rate of frames a second says far too little until the end.
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

// What one rendered frame cost.
struct FrameCost {
    double seconds = 0;          // all of it, rendering and writing, from the previous frame on
    double renderSeconds = 0;    // drawing it, up to glFinish
    double renderCpuSeconds = 0; // the processor time the drawing took, all threads together
};

class TimeLeft {
  public:
    // The render will take `phases`' frames.
    explicit TimeLeft(const std::vector<ProductionPhase>& phases);

    void add(std::size_t phase, const FrameCost& cost);

    std::uint64_t framesLeft() const;

    // A phase seen is expected to go on as it went. One not seen yet costs its known share of
    // drawing work, scaled by how the phases seen compared with theirs and stretched by how long
    // drawing has taken per processor second (at most 1.3 times: beyond that the stretch is
    // ffmpeg's, and it eases where drawing is the slow part), plus the time the phases seen took
    // beyond their drawing work (writing, waiting for ffmpeg), as typical of them. 0 before the
    // first frame.
    double secondsLeft() const;

  private:
    struct Phase {
        std::uint64_t planned = 0, done = 0;
        double seconds = 0, renderSeconds = 0, renderCpuSeconds = 0;
    };
    std::array<Phase, phaseCount> phases{};
};
