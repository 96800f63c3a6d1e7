// The built-in soundtrack's score: at 140 beats a minute, an accent opening each of the fifteen
// pulse windows, and sections that follow the Scenes, expanded from a pattern table into notes.
#pragma once

#include <cstdint>
#include <vector>

#include "music/note.h"

namespace Music {

// Where the pull windows and then the scale windows open, in thousands of bytes of 44.1 kHz
// 16-bit stereo: the music positions the Shapes throb at.
inline constexpr std::uint32_t accentPositions[] = {9611,  10219, 10824, 11439, 12035,
                                                    12653, 13240, 15734, 16336, 16910,
                                                    17543, 18148, 18747, 19051, 19452};

// The first sample frame whose position lies inside the window that opens at `position` (a
// window excludes its start), where its accent sounds.
constexpr std::uint32_t accentFrame(std::uint32_t position) {
    return (position + 1) * 250;
}

// 137.2 s: the production's length, with its last chord faded out before its end.
constexpr std::uint32_t trackFrames = 6'050'520;

// The sample frame at which a sixteenth note of the score begins (four to a beat): 140 beats a
// minute, the tempo eased between accents so that each falls on the first beat of a bar.
std::uint32_t stepFrame(std::uint32_t step);

// Every note of the track, in order of start.
std::vector<Note> score();

} // namespace Music
