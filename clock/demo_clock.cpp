// The DemoClock: the monotonic clock in 100-ns ticks, with a replaceable source.
#include "clock/demo_clock.h"

#include <chrono>

namespace DemoClock {
namespace {

Ticks monotonicTicks() {
    using Tick = std::chrono::duration<std::int64_t, std::ratio<1, ticksPerSecond>>;
    const auto sinceEpoch = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<Ticks>(std::chrono::duration_cast<Tick>(sinceEpoch).count());
}

Ticks manualTicks = 0;
Ticks readManualTicks() {
    return manualTicks;
}

Source currentSource = nullptr;

} // namespace

Ticks now() {
    return currentSource ? currentSource() : monotonicTicks();
}

void setSource(Source source) {
    currentSource = source;
}

void setManualTime(Ticks ticks) {
    manualTicks = ticks;
    currentSource = readManualTicks;
}

float secondsBetween(Ticks start, Ticks end) {
    const auto difference = static_cast<std::int64_t>(end - start);
    return static_cast<float>(static_cast<double>(difference)) / 1e7f;
}

float secondsSince(Ticks start) {
    return secondsBetween(start, now());
}

} // namespace DemoClock
