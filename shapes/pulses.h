// The two music-synchronised pulses: windows on the music position in thousands of bytes.
#pragma once

#include <cstdint>

struct PulseWindow {
    std::uint64_t low;  // excluded
    std::uint64_t high; // excluded
    float value;
};

// Scale pulse: the whole picture grows around the screen centre for 99 units.
constexpr PulseWindow scalePulseWindows[] = {
    {15734, 15834, 1.1f}, {16336, 16436, 1.2f}, {16910, 17010, 1.05f}, {17543, 17643, 1.1f},
    {18148, 18248, 1.2f}, {18747, 18847, 1.1f}, {19051, 19151, 1.1f},  {19452, 19552, 1.1f},
};

// Pull pulse: Shape positions move a fraction of the way to the centre for 49 units.
constexpr PulseWindow pullPulseWindows[] = {
    {9611, 9661, 0.07f},   {10219, 10269, 0.08f}, {10824, 10874, 0.05f}, {11439, 11489, 0.03f},
    {12035, 12085, 0.05f}, {12653, 12703, 0.05f}, {13240, 13290, 0.05f},
};

template <std::size_t N>
constexpr float pulseAt(const PulseWindow (&windows)[N], std::uint64_t position, float outside) {
    for (const PulseWindow& window : windows) {
        if (position > window.low && position < window.high) {
            return window.value;
        }
    }
    return outside;
}

constexpr float scalePulse(std::uint64_t position) {
    return pulseAt(scalePulseWindows, position, 1.0f);
}
constexpr float pullPulse(std::uint64_t position) {
    return pulseAt(pullPulseWindows, position, 0.0f);
}
