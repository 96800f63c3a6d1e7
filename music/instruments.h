// The built-in soundtrack's instruments: each a pure function of a note and the samples since it
// began, with an envelope that starts and ends at silence.
#pragma once

#include <cstdint>

#include "music/note.h"

namespace Music {

// The frequency of a MIDI note in equal temperament, A 440 Hz.
double pitchHertz(int pitch);

// How many frames the note sounds, its release included; nothing of it is heard after.
std::uint32_t soundingFrames(const Note& note);

// The note's sample `n` frames after its start, before its level and pan are applied.
Stereo sound(const Note& note, std::uint32_t n);

} // namespace Music
