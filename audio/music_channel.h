// The production's soundtrack stream, opened on the first frame.
#pragma once

#include <cstdint>

#include "audio/soundtrack.h"

// 0 until the first frame opens the soundtrack.
extern Soundtrack::Stream musicChannel;

// The music position in thousands of bytes of decoded audio, the unit of the beat windows.
inline std::uint64_t musicPositionThousands() {
    return Soundtrack::position(musicChannel) / 1000;
}
