// Motion made for 60 frames a second, stepped by the DemoClock instead of by drawn frames: at
// any frame rate a hook turns as far as the 60 fps production has turned by that moment.
#pragma once

#include <cstdint>

#include "clock/demo_clock.h"

class StepClock {
  public:
    static constexpr std::uint64_t stepsPerSecond = 60;

    // Calls step(t) once for every 1/60 s step that has come due since the first call, in order;
    // t is the step's seconds since the first call. Step 0 is due at once; step k is due once
    // the clock is within half a step of k / 60 s, so that 60 frames a second take one step each
    // even where their times are rounded to the tick. Steps caught up from a late frame take
    // their own moments; the last step due takes the frame's own reading of the clock, which a
    // 60 fps frame at that step has, so a 60 fps run turns exactly as it did frame by frame.
    template <class Step> void advance(DemoClock::Ticks now, Step&& step) {
        if (!started_) {
            started_ = true;
            start_ = now;
        }
        const std::uint64_t due = stepsDue(now - start_);
        for (; taken_ < due; ++taken_) {
            step(taken_ + 1 == due ? DemoClock::secondsBetween(start_, now)
                                   : DemoClock::secondsBetween(0, stepTicks(taken_)));
        }
    }

    // The clock's reading at the first call.
    DemoClock::Ticks startTicks() const { return start_; }

    // Forgets the first call: the next one starts counting again.
    void restart() { *this = StepClock(); }

    // The number of steps due `elapsed` ticks after the first call.
    static std::uint64_t stepsDue(DemoClock::Ticks elapsed) {
        return (2 * elapsed * stepsPerSecond + DemoClock::ticksPerSecond) /
                   (2 * DemoClock::ticksPerSecond) +
               1;
    }
    // Step k's moment after the first call, rounded to the nearest tick.
    static DemoClock::Ticks stepTicks(std::uint64_t k) {
        return (2 * k * DemoClock::ticksPerSecond + stepsPerSecond) / (2 * stepsPerSecond);
    }

  private:
    bool started_ = false;
    DemoClock::Ticks start_ = 0;
    std::uint64_t taken_ = 0;
};
