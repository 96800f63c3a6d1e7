// Motion made for 60 frames a second, stepped by the DemoClock instead of by drawn frames: at
// any frame rate a hook turns as far as the 60 fps production has turned by that moment.
#pragma once

#include <cstdint>

#include "clock/demo_clock.h"

class StepClock {
  public:
    static constexpr std::uint64_t stepsPerSecond = 60;

    // Calls step(t) once for every 1/60 s step that has come due, in order, t being the step's
    // seconds from the clock's start. `expectedStart` is where a 60 fps run makes its first call,
    // one frame after its Scene's start: a first call within half a step of it starts the clock
    // itself, so that such a run turns exactly as it did frame by frame; any other first call
    // counts from `expectedStart`. Step k is due once the clock is within half a step of k / 60 s,
    // so 60 frames a second take one step each even where their times are rounded to the tick.
    // What a call turns is shown at the next frame: where frames come further apart than a 60 fps
    // run's, the steps that run takes before that frame are taken now too, the next frame being
    // expected as far off as this one was from the last. Steps taken ahead or caught up take their
    // own moments; otherwise the last one takes the call's own reading of the clock.
    template <class Step>
    void advance(DemoClock::Ticks now, DemoClock::Ticks expectedStart, Step&& step) {
        const DemoClock::Ticks frame =
            stepTicks(1); // not constexpr: clang wants the class complete
        if (!started_) {
            started_ = true;
            start_ = offsetBetween(expectedStart, now) < halfStep ? now : expectedStart;
            previous_ = expectedStart - frame;
        }
        const DemoClock::Ticks lead = now - previous_ > frame ? now - previous_ - frame : 0;
        previous_ = now;
        const std::int64_t elapsed = static_cast<std::int64_t>(now + lead - start_);
        if (elapsed < -halfStep) {
            return;
        }
        const std::uint64_t due = stepsDue(elapsed);
        for (; taken_ < due; ++taken_) {
            step(taken_ + 1 == due && lead == 0 ? DemoClock::secondsBetween(start_, now)
                                                : DemoClock::secondsBetween(0, stepTicks(taken_)));
        }
    }

    // Where the clock started.
    DemoClock::Ticks startTicks() const { return start_; }

    // Forgets the first call: the next one starts counting again.
    void restart() { *this = StepClock(); }

    // The number of steps due `elapsed` ticks after the clock's start, half a step before at
    // least.
    static std::uint64_t stepsDue(std::int64_t elapsed) {
        return static_cast<std::uint64_t>(2 * elapsed * std::int64_t{stepsPerSecond} +
                                          std::int64_t{DemoClock::ticksPerSecond}) /
                   (2 * DemoClock::ticksPerSecond) +
               1;
    }
    // Step k's moment after the clock's start, rounded to the nearest tick.
    static constexpr DemoClock::Ticks stepTicks(std::uint64_t k) {
        return (2 * k * DemoClock::ticksPerSecond + stepsPerSecond) / (2 * stepsPerSecond);
    }

  private:
    static constexpr std::int64_t halfStep = DemoClock::ticksPerSecond / stepsPerSecond / 2;

    static std::int64_t offsetBetween(DemoClock::Ticks a, DemoClock::Ticks b) {
        return a > b ? static_cast<std::int64_t>(a - b) : static_cast<std::int64_t>(b - a);
    }

    bool started_ = false;
    DemoClock::Ticks start_ = 0;
    DemoClock::Ticks previous_ = 0; // the last call, or the Scene's start before the first
    std::uint64_t taken_ = 0;
};
