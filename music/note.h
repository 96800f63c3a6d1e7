// One note of the built-in soundtrack: which instrument plays what, when, how loud and where.
#pragma once

#include <cstdint>

namespace Music {

enum class Instrument : std::uint8_t { Kick, Snare, Hat, Crash, Bass, Pad, Arp, Stab };
constexpr int instrumentCount = 8;

struct Note {
    std::uint32_t start = 0;  // the sample frame it begins at
    std::uint32_t length = 0; // frames it is held; it sounds on while its envelope releases
    Instrument instrument = Instrument::Kick;
    std::uint8_t pitch = 0; // MIDI number: 69 is A at 440 Hz
    float level = 1.0f;     // -1 to 1: below 0 the note sounds upside down
    float pan = 0.0f;       // -1 left to 1 right
};

struct Stereo {
    float left = 0.0f;
    float right = 0.0f;
};

} // namespace Music
