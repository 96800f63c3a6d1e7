// Keeping time at any frame rate: the 1/60 s steps of the Scenes' hooks, the wait for the next
// refresh, and the --stats figures.
#include <gtest/gtest.h>

#include "app/frame_pacer.h"
#include "app/frame_stats.h"
#include "clock/step_clock.h"

namespace {

using namespace std::chrono_literals;

// Frames at 60 a second whose times are rounded to the tick, as the renderer's are, from any
// first frame: each takes exactly one step, with its own clock reading.
TEST(StepClock, SixtyFramesASecondTakeOneStepEachAtTheirOwnTimeWhateverTheirRounding) {
    const auto frameTicks = [](std::uint64_t n) { return (2 * n * 10'000'000 + 60) / 120; };
    for (const std::uint64_t first : {1, 2, 3, 7261}) {
        StepClock clock;
        const DemoClock::Ticks expected = frameTicks(first - 1) + StepClock::stepTicks(1);
        for (std::uint64_t n = first; n < first + 2000; ++n) {
            std::vector<float> steps;
            clock.advance(frameTicks(n), expected, [&](float t) { steps.push_back(t); });
            ASSERT_EQ(steps, std::vector<float>{DemoClock::secondsBetween(frameTicks(first),
                                                                          frameTicks(n))})
                << "frame " << n << " from " << first;
        }
    }
    // A first frame at 30 a second counts from where one at 60 would have been, and takes the
    // steps a 60 fps run takes before the next frame, which it expects as far off as itself; so
    // does a frame that comes late. All of them at their own moments.
    StepClock slow;
    std::vector<float> steps, moments;
    slow.advance(333'333, 166'667, [&](float t) { steps.push_back(t); });
    EXPECT_EQ(steps.size(), 3u);
    slow.advance(166'667 + 600'000, 166'667, [&](float t) { steps.push_back(t); });
    for (int k = 0; k < 6; ++k) { // 0.06 s on, and as long again less a frame: 5.2 steps
        moments.push_back(DemoClock::secondsBetween(0, StepClock::stepTicks(k)));
    }
    EXPECT_EQ(steps, moments);
}

// At 60 Hz where the rate is unknown, a frame starts a period after the one before unless it
// took longer, and a late wake does not push the frames after it; --stats tells of them.
TEST(FramePacer, WaitsOutTheRefreshPeriodAndTheStatsTellHowEvenlyFramesCame) {
    const FramePacer::Clock::time_point zero{};
    FramePacer pacer(0);
    const auto period = pacer.period();
    EXPECT_EQ(pacer.nextFrameAt(zero + 1ms), zero + 1ms);
    EXPECT_EQ(pacer.nextFrameAt(zero + 4ms), zero + 1ms + period);
    EXPECT_EQ(pacer.nextFrameAt(zero + 19ms), zero + 1ms + 2 * period);
    EXPECT_EQ(pacer.nextFrameAt(zero + 60ms), zero + 60ms);

    FrameStats stats; // 40 frames 1/60 s apart but one 3/60 s after the one before, at 60 Hz
    for (int frame = 1; frame <= 40; ++frame) {
        stats.frameShown(frame / 60.0 + (frame >= 10) * 2 / 60.0);
    }
    EXPECT_EQ(stats.summary(1 / std::chrono::duration<double>(period).count()),
              "ombra: 40 frames in 0.70 s, 57.14 a second; frame interval median 16.7 ms, 95th "
              "percentile 16.7 ms, worst 50.0 ms; 1 later than 25.0 ms (1.5 refresh periods at 60 "
              "Hz); no sound\n");
    for (const double drift : {-0.020, 0.031, -0.012}) {
        stats.musicDrift(drift);
    }
    EXPECT_NE(stats.summary(60).find("; music drift -12 ms at the end, +31 ms at most\n"),
              std::string::npos);
}

} // namespace
