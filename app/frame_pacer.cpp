// Frame pacing by the refresh period.
#include "app/frame_pacer.h"

namespace {

constexpr double assumedRefreshRate = 60.0;

} // namespace

FramePacer::FramePacer(double refreshRate)
    : period_(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
          1.0 / (refreshRate > 0.0 ? refreshRate : assumedRefreshRate)))) {}

FramePacer::Clock::time_point FramePacer::nextFrameAt(Clock::time_point swapped) {
    // The next start counts from the previous planned one, not from when a sleep happened to end,
    // so that waking late does not slow the rate down.
    const Clock::time_point due = previous_ ? *previous_ + period_ : swapped;
    previous_ = due > swapped ? due : swapped;
    return *previous_;
}
