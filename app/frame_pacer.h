// Keeps the demo from drawing more frames than the display shows where the buffer swap does not
// wait for the refresh (no vsync: a virtual display, some drivers).
#pragma once

#include <chrono>
#include <optional>

class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // The display's refresh rate in Hz; 60 where it is not known (0).
    explicit FramePacer(double refreshRate);

    // Given the moment a buffer swap returned, the moment to start the next frame: one refresh
    // period after the previous frame's start, or at once when that has passed. A swap that waits
    // for the refresh itself lands a period on, so it is never held up further.
    Clock::time_point nextFrameAt(Clock::time_point swapped);

    Clock::duration period() const { return period_; }

  private:
    Clock::duration period_;
    std::optional<Clock::time_point> previous_;
};
