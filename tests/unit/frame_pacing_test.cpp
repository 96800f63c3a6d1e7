// Keeping time at any frame rate: the 1/60 s steps of the Scenes' hooks; the --stats figures.
#include <gtest/gtest.h>

#include "app/extension_names.h"
#include "app/frame_pacer.h"
#include "app/frame_stats.h"
#include "clock/step_clock.h"

namespace {

// 60 fps frames rounded to the tick as the renderer's are take one step each at their own time.
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
    // A step is due from half a step before its moment, also after a call too early to count.
    for (const DemoClock::Ticks early : {frameTicks(1) / 2, frameTicks(1) / 2 + 1}) {
        StepClock clock;
        int steps = 0;
        clock.advance(frameTicks(100) - 2 * early, frameTicks(100), [&](float) { ++steps; });
        clock.advance(frameTicks(100) - early, frameTicks(100), [&](float) { ++steps; });
        EXPECT_EQ(steps, early == frameTicks(1) / 2 ? 1 : 0) << early;
    }
}

// A frame starts a refresh period after the previous one began, or at once when that has passed
// (no burst after a late wake); vsync is found by the extension's whole name in the driver's list.
TEST(FramePacer, StartsAPeriodAfterThePreviousStartOrAtOnceAndFindsVsyncByItsWholeName) {
    using namespace std::chrono_literals;
    FramePacer pacer(50.0);
    const FramePacer::Clock::time_point zero;
    EXPECT_EQ(pacer.nextFrameAt(zero + 3ms), zero + 3ms);
    EXPECT_EQ(pacer.nextFrameAt(zero + 10ms), zero + 23ms);
    EXPECT_EQ(pacer.nextFrameAt(zero + 70ms), zero + 70ms) << "late";
    EXPECT_EQ(pacer.nextFrameAt(zero + 75ms), zero + 90ms);
    const std::string name = "GLX_EXT_swap_control";
    for (const std::string& list : {name, "A " + name, name + " B", name + "_tear " + name})
        EXPECT_TRUE(listsExtension(list, name)) << list;
    for (const std::string& list : {std::string(), name + "_tear", "X" + name, name.substr(1)})
        EXPECT_FALSE(listsExtension(list, name)) << list;
}

// --stats tells how evenly frames came and how far the music drifted.
TEST(FrameStats, SummarisesTheIntervalsTheLateFramesAndTheMusicsDrift) {
    FrameStats stats; // 40 frames 1/60 s apart but one 3/60 s after the one before, at 60 Hz
    for (int frame = 1; frame <= 40; ++frame) {
        stats.frameShown(frame / 60.0 + (frame >= 10) * 2 / 60.0);
    }
    EXPECT_EQ(stats.summary(60),
              "ombra: 40 frames in 0.70 s, 57.14 a second; frame interval median 16.7 ms, 95th "
              "percentile 16.7 ms, worst 50.0 ms; 1 later than 25.0 ms (1.5 refresh periods at 60 "
              "Hz); no sound\n");
    (stats.musicDrift(0.031), stats.musicDrift(-0.045), stats.musicDrift(-0.012));
    EXPECT_NE(stats.summary(60).find("music drift -12 ms at the end, -45 ms at most\n"),
              std::string::npos);
}

} // namespace
