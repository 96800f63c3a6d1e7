// The built-in soundtrack made sample by sample: any stretch of it, 44.1 kHz 16-bit stereo,
// computed alone and always to the same bits, whatever stretches were asked for before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "music/note.h"

namespace Music {

class Synthesiser {
  public:
    static constexpr std::uint32_t channels = 2;

    Synthesiser(); // lays out the score's notes: well under a millisecond

    // The track's length in sample frames.
    std::uint32_t frames() const;

    // Writes the frames from `first` on, `count` of them (fewer past the end), as interleaved
    // left and right 16-bit samples into `out`; returns how many frames it wrote.
    std::size_t render(std::uint32_t first, std::size_t count, std::int16_t* out) const;

  private:
    std::vector<Note> notes_;       // by start
    std::uint32_t longestNote_ = 0; // the most frames any note sounds
};

} // namespace Music
