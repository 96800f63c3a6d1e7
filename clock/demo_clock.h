// The DemoClock: 64-bit counts of 100-nanosecond ticks that drive every motion of the production.
#pragma once

#include <cstdint>

namespace DemoClock {

using Ticks = std::uint64_t;
using Source = Ticks (*)();

constexpr Ticks ticksPerSecond = 10'000'000;

// The present tick count: the monotonic clock unless another source was installed.
Ticks now();

// Installs another tick source (a test's fixed time, the offline renderer's simulated clock);
// nullptr restores the monotonic clock.
void setSource(Source source);

// Installs a source that answers `ticks` until the next call; tests and the offline renderer use
// it.
void setManualTime(Ticks ticks);

// Seconds from `start` to `end`: the signed 64-bit tick difference converted to double, then to
// float, then divided by 1e7 in single precision.
float secondsBetween(Ticks start, Ticks end);

// Seconds from `start` to a fresh read of now().
float secondsSince(Ticks start);

} // namespace DemoClock
