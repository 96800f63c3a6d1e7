// The simulated clock's tick for each frame.
#include "app/frame_time.h"

DemoClock::Ticks frameTicks(std::uint64_t frame, int framesPerSecond) {
    const auto fps = static_cast<std::uint64_t>(framesPerSecond);
    return renderClockBase + (2 * frame * DemoClock::ticksPerSecond + fps) / (2 * fps);
}
