// When each frame of a simulated run (the offline renderer, the browser page's frame-exact mode)
// happens on the simulated clock.
#pragma once

#include <cstdint>

#include "clock/demo_clock.h"

// Any fixed start makes runs repeat; 100 s keeps every tick difference far from zero.
constexpr DemoClock::Ticks renderClockBase = 1'000'000'000;

// Frame n is shown at round(n * 10^7 / fps) ticks after the base, halves rounding up, so that a
// frame's time is exact to the tick at any rate.
DemoClock::Ticks frameTicks(std::uint64_t frame, int framesPerSecond);
